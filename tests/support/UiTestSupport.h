#pragma once
// Helpers for the window tests: real widgets under the offscreen platform, real clicks, the real
// modal dialogs and message boxes found with QApplication::activeModalWidget().
#include <QAbstractItemModel>
#include <QFileDialog>
#include <QLineEdit>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "enet/SocketPlatform.h"
#include "tests/support/PdfText.h"
#include "ui/TarveloApplication.h"
#include "ui/VisualStyle.h"
#include "ui/uMain.h"

// Runs action on the next modal widget for which `wanted` holds, as soon as one is shown (polled
// from the event loop, so it also fires inside the nested loop of a dialog's exec()). After
// timeoutMs without one, action is not run. CancelModalWatchers() ends every watch still waiting.
inline void WhenModal(std::function<void(QWidget*)> action, int timeoutMs = 10000,
                      std::function<bool(QWidget*)> wanted = [](QWidget*) { return true; }) {
  auto* timer = new QTimer(qApp);
  timer->setObjectName(QStringLiteral("WhenModal"));
  timer->setInterval(5);
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QObject::connect(timer, &QTimer::timeout, [timer, action, clock, timeoutMs, wanted] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && !wanted(modal)) modal = nullptr;
    if (!modal && !clock->hasExpired(timeoutMs)) return;
    timer->stop();
    timer->deleteLater();
    if (!modal) return;
    QPointer<QWidget> shown(modal);
    action(modal);
    // A check that failed inside action returned early: what it left open is closed, so that the
    // test ends with its failure instead of waiting for ever.
    if (shown && shown->isVisible()) {
      if (auto* dialog = qobject_cast<QDialog*>(shown.data())) {
        dialog->reject();
      } else {
        shown->close();
      }
    }
  });
  timer->start();
}

// Ends the watches of WhenModal that are still waiting, so that none reaches into the next test.
inline void CancelModalWatchers() {
  for (QTimer* timer : qApp->findChildren<QTimer*>(QStringLiteral("WhenModal"), Qt::FindDirectChildrenOnly)) {
    timer->stop();
    delete timer;
  }
}

// Accepts the next message box with its only button, after handing it to inspect.
inline void WhenMessageBox(std::function<void(QMessageBox*)> inspect, int timeoutMs = 10000) {
  WhenModal(
      [inspect](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        inspect(box);
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
          QTest::mouseClick(ok, Qt::LeftButton);
        } else {
          box->close();
        }
      },
      timeoutMs, [](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; });
}

// The texts of every row of a model, cell by cell.
inline QList<QStringList> ModelTexts(const QAbstractItemModel* model) {
  QList<QStringList> rows;
  for (int r = 0; r < model->rowCount(); ++r) {
    QStringList cells;
    for (int c = 0; c < model->columnCount(); ++c) cells << model->index(r, c).data().toString();
    rows << cells;
  }
  return rows;
}

inline QStringList HeaderTexts(const QAbstractItemModel* model) {
  QStringList captions;
  for (int c = 0; c < model->columnCount(); ++c) captions << model->headerData(c, Qt::Horizontal).toString();
  return captions;
}

// A real click in the middle of a section of the main window's header bar.
inline void ClickHeaderSection(TFMain& main, THeaderSection section) {
  auto* bar = main.findChild<QHeaderView*>(QStringLiteral("hdrcntrl1"));
  const int i = static_cast<int>(section);
  const QPoint at(bar->sectionViewportPosition(i) + bar->sectionSize(i) / 2, bar->height() / 2);
  QTest::mouseClick(bar->viewport(), Qt::LeftButton, {}, at);
}

// Types path into a file dialog's name field and accepts it, as a user would.
inline void AcceptFileDialog(QFileDialog* dialog, const QString& path) {
  if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
    edit->setText(path);
  } else {
    dialog->selectFile(path);
  }
  static_cast<QDialog*>(dialog)->accept();
}

// A user's double-click on a row: press and release, then the double-click.
inline void DoubleClickRow(QAbstractItemView* view, int row) {
  const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

// The point in the middle of a row of a list view's viewport.
inline QPoint RowCenter(QAbstractItemView* view, int row) {
  return view->visualRect(view->model()->index(row, 0)).center();
}

// Under the offscreen platform, a screen as big as a usual desktop's (1920 x 1080), so that the
// windows lie on it as they do for a user. Call before the application object exists.
inline void UseDesktopSizedOffscreenScreen() {
  if (qgetenv("QT_QPA_PLATFORM") != "offscreen") return;
  // A file of this process's own (tests run side by side), kept until the process ends. Qt splits
  // the platform's arguments at ':', which a Windows path has after its drive letter: there the
  // file lies in the current folder and is named relative to it.
#ifdef _WIN32
  static QTemporaryFile config(QStringLiteral("tarvelo-offscreen-XXXXXX.json"));
#else
  static QTemporaryFile config(QDir::temp().absoluteFilePath(QStringLiteral("tarvelo-offscreen-XXXXXX.json")));
#endif
  if (!config.open()) return;
  config.write(R"({"screens": [{"name": "Desktop", "x": 0, "y": 0, "width": 1920, "height": 1080,
                   "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
  config.flush();
#ifdef _WIN32
  const QString name = QDir::current().relativeFilePath(config.fileName());
#else
  const QString name = config.fileName();
#endif
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + name.toLocal8Bit());
}

// main() for a Qt Test class: the socket library started (Winsock), the application object with
// the error report, named and styled as the program is.
#define TARVELO_QT_TEST_MAIN(TestClass)                          \
  int main(int argc, char** argv) {                              \
    StartSocketLibrary();                                        \
    UseDesktopSizedOffscreenScreen();                            \
    TTarveloApplication app(argc, argv);                         \
    TestClass test;                                              \
    return QTest::qExec(&test, argc, argv);                      \
  }
