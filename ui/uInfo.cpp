#include "ui/uInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QKeySequence>
#include <QShortcut>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "ui/AnimatedLogo.h"
#include "ui/Command.h"
#include "ui/Language.h"
#include "ui/TarveloApplication.h"
#include "ui/VisualStyle.h"
#include "ui/WindowPlacement.h"

namespace {
constexpr int kClientWidth = 527;
constexpr int kClientHeight = 194;
constexpr int kLogoWidth = 200;
constexpr int kTitlePixels = 16;
}  // namespace

TFInfo::TFInfo(QWidget* owner, TOpenWithDesktop openWithDesktop)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint), openWithDesktop_(std::move(openWithDesktop)) {
  setObjectName(QStringLiteral("TFInfo"));
  setWindowTitle(tr(" [i]  Info/About"));
  setFixedSize(kClientWidth, kClientHeight);

  grpMAIN1 = new QGroupBox(this);
  grpMAIN1->setObjectName(QStringLiteral("grpMAIN1"));
  grpMAIN1->setFlat(true);
  grpMAIN1->setGeometry(0, 0, kLogoWidth, kClientHeight);
  imgLOGO1 = new TAnimatedLogo(grpMAIN1);
  imgLOGO1->setObjectName(QStringLiteral("imgLOGO1"));
  imgLOGO1->move(0, 1);

  grp2 = new QGroupBox(this);
  grp2->setObjectName(QStringLiteral("grp2"));
  grp2->setGeometry(kLogoWidth, 0, kClientWidth - kLogoWidth, kClientHeight);
  txtCAP1 = new QLabel(QStringLiteral("BMW HU Tarvelo"), grp2);
  txtCAP1->setObjectName(QStringLiteral("txtCAP1"));
  txtCAP1->setFont(WindowFont(kTitlePixels, true));
  txtCAP1->setGeometry(22, 16, 277, 23);
  txtVer1 = new QLabel(tr("Version: %1").arg(QStringLiteral(TARVELO_VERSION_TEXT)), grp2);
  txtVer1->setObjectName(QStringLiteral("txtVer1"));
  txtVer1->setGeometry(22, 45, 90, 17);
  txtWWW = new QLabel(QString::fromLatin1(kWebAddressText), grp2);
  txtWWW->setObjectName(QStringLiteral("txtWWW"));
  QFont link = WindowFont(kWindowFontPixels, true);
  link.setUnderline(true);
  txtWWW->setFont(link);
  txtWWW->setCursor(Qt::PointingHandCursor);
  txtWWW->setGeometry(22, 143, 146, 17);
  txtWWW->installEventFilter(this);
  txtWWW->setFocusPolicy(Qt::TabFocus);  // the link is reached by Tab and opened by Enter or Space
  btnHELP = new QPushButton(tr("HELP"), grp2);
  btnHELP->setObjectName(QStringLiteral("btnHELP"));
  btnHELP->setGeometry(220, 112, 75, 25);
  setTabOrder(btnHELP, txtWWW);
  ConnectCommand(btnHELP, &QPushButton::clicked, this, &TFInfo::btnHELPClick);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setObjectName(QStringLiteral("CloseShortcut"));
  connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void TFInfo::showEvent(QShowEvent* event) {
  CenterOver(this, parentWidget());
  QWidget::showEvent(event);
  FormShow();
}

void TFInfo::hideEvent(QHideEvent* event) {
  imgLOGO1->Stop();  // no drawing for nobody; the next show starts it again
  QWidget::hideEvent(event);
}

void TFInfo::FormShow() { imgLOGO1->Start(); }

void TFInfo::btnHELPClick() {
  // The document is looked up in the current directory, where the program was started. A program
  // that a file's association started (a double-click on a history file) runs in that file's folder
  // instead: then the guide installed beside the program is taken. The guide is the one of the
  // program's language. When it cannot be shown, the user is told where it is, so it can be opened
  // by hand.
  const QString name = HelpDocumentName(CurrentLanguage());
  QString guide = QDir::toNativeSeparators(QDir::current().absoluteFilePath(name));
  const QString besideTheProgram = QDir::toNativeSeparators(QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(name));
  if (!QFileInfo::exists(guide) && QFileInfo::exists(besideTheProgram)) guide = besideTheProgram;
  if (!QFileInfo::exists(guide)) {
    ShowMessage(tr("The user guide is not in the folder Tarvelo was started from: %1 does not exist.")
                    .arg(guide));
    return;
  }
  if (!openWithDesktop_(QUrl::fromLocalFile(guide))) {
    ShowMessage(tr("No program for PDF files was found, so the user guide could not be opened. "
                               "You can open it by hand: %1")
                    .arg(guide));
  }
}

void TFInfo::txtWWWClick() {
  if (!openWithDesktop_(QUrl(QString::fromLatin1(kWebAddress)))) {
    ShowMessage(tr("No web browser was found, so the project's page could not be opened. Its address is %1")
                    .arg(QString::fromLatin1(kWebAddress)));
  }
}

bool TFInfo::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtWWW && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    RunCommand([this] { txtWWWClick(); });
    return true;
  }
  if (watched == txtWWW && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
      RunCommand([this] { txtWWWClick(); });
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}
