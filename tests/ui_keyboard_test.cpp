// The four windows by keyboard alone: Tab follows the layout of each window (a table), the header
// bar's commands are reached by Tab and run with Enter, Enter on an entry edits it, Enter in the
// address starts the write, and the info window's link opens with Enter.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeView>

#include "tests/TestEntries.h"
#include "tests/support/ProgramWindowsTest.h"
#include "tests/support/UiTestSupport.h"
#include "ui/HeaderBar.h"
#include "ui/uEditor.h"
#include "ui/uInfo.h"
#include "ui/uMain.h"

namespace {

// The named control of window that holds the keyboard: its focus widget, or the control that one
// is part of (the date field's text). (A tool window counts as active with its owner, so the
// window's own focus widget is asked, not the application's.)
QString FocusedControl(QWidget* window, const QStringList& names) {
  for (QWidget* w = window->focusWidget(); w; w = w->parentWidget()) {
    if (names.contains(w->objectName())) return w->objectName();
  }
  QWidget* focus = window->focusWidget();
  return focus ? QStringLiteral("<%1 %2>").arg(QString::fromLatin1(focus->metaObject()->className()), focus->objectName())
               : QStringLiteral("<none>");
}

}  // namespace

class TestKeyboard : public TProgramWindowsTest {
  Q_OBJECT

  QLabel* Status() { return Find<QLabel>(Main(), "stat1"); }

  QWidget* Window(const QString& name) {
    if (name == QStringLiteral("main")) return &Main();
    if (name == QStringLiteral("editor")) {
      Find<QAction>(Main(), "Add1")->trigger();
      return &Editor();
    }
    if (name == QStringLiteral("connect")) {
      ClickHeaderSection(Main(), THeaderSection::WriteToCar);
      return &Connect();
    }
    ClickHeaderSection(Main(), THeaderSection::InfoHelp);
    return &Info();
  }

  void Activate(QWidget* window) {
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
  }

 private slots:
  // Tab from the first control goes through every control of the window in the order the window
  // reads, top to bottom and left to right as its fields are filled in, and then round again.
  void tabFollowsTheLayout_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("main") << "main" << QStringList{"hdrcntrl1", "lv1", "lv2"};
    QTest::newRow("editor") << "editor"
                            << QStringList{"dtp1",       "edtKMStand",    "cbbWorkshopTYP", "edtWorkshopID",
                                           "cbbSVCStatus", "cbbProcTYP",   "cbbPROCStatus", "btnProcADD",
                                           "lvProcedures", "btnSAVE",      "btnCancel"};
    QTest::newRow("connect") << "connect"
                             << QStringList{"edtGWIP", "btnDetect", "chkErase", "btnStart", "mmoENET", "btnClose"};
    QTest::newRow("info") << "info" << QStringList{"btnHELP", "txtWWW"};
  }
  void tabFollowsTheLayout() {
    QFETCH(QString, window);
    QFETCH(QStringList, order);
    History().ReplaceAll({ExampleEntryBytes()});
    QWidget* shown = Window(window);
    Activate(shown);
    shown->findChild<QWidget*>(order.first())->setFocus(Qt::TabFocusReason);
    QStringList seen{FocusedControl(shown, order)};
    for (int i = 0; i < order.size(); ++i) {
      QTest::keyClick(shown->focusWidget(), Qt::Key_Tab);
      seen << FocusedControl(shown, order);
    }
    QCOMPARE(seen, order + QStringList{order.first()});
  }

  // The header bar's commands by keyboard: Left, Right, Home and End choose, Enter and Space run.
  void theHeaderBarsCommandsRunFromTheKeyboard() {
    Activate(&Main());
    auto* bar = Find<THeaderBar>(Main(), "hdrcntrl1");
    Lv1()->setFocus();
    QTest::keyClick(Lv1(), Qt::Key_Backtab);
    QVERIFY(bar->hasFocus());
    QCOMPARE(bar->FocusedSection(), 0);
    for (int i = 0; i < 3; ++i) QTest::keyClick(bar, Qt::Key_Right);
    QCOMPARE(bar->FocusedSection(), int(THeaderSection::ReadFromCar));
    QTest::keyClick(bar, Qt::Key_Return);
    QCOMPARE(Status()->text(), QStringLiteral("Status: Reading the service history back from a car is not supported"));
    QTest::keyClick(bar, Qt::Key_Left);
    QTest::keyClick(bar, Qt::Key_Left);
    QTest::keyClick(bar, Qt::Key_Space);  // "Save As" of an empty list
    QCOMPARE(Status()->text(), QStringLiteral("Status: Nothing to save: the list has no entries"));
    QTest::keyClick(bar, Qt::Key_End);
    QTest::keyClick(bar, Qt::Key_Right);  // stays on the last
    QCOMPARE(bar->FocusedSection(), int(THeaderSection::InfoHelp));
    QTest::keyClick(bar, Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(Info().isVisible());
    Activate(&Main());
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Home);
    WhenModal([](QWidget* w) {
      QVERIFY(qobject_cast<QFileDialog*>(w));
      static_cast<QDialog*>(w)->reject();
    });
    QTest::keyClick(bar, Qt::Key_Return);  // "Open"
    QCOMPARE(Status()->text(), QStringLiteral("Status: File not opened"));
  }

  // Enter on an entry of the list edits it, as a double-click does.
  void enterOnAnEntryEditsIt() {
    History().ReplaceAll({EntryWithProcedures(1, 3000), ExampleEntryBytes()});
    Activate(&Main());
    QTest::mouseClick(Lv1()->viewport(), Qt::LeftButton, {}, RowCenter(Lv1(), 1));
    QTest::keyClick(Lv1(), Qt::Key_Return);
    QVERIFY(Editor().isVisible());
    QCOMPARE(Find<QLineEdit>(Editor(), "edtKMStand")->text(), QStringLiteral("1000"));
    QCOMPARE(Find<QLineEdit>(Editor(), "edtWorkshopID")->text(), QStringLiteral("A1"));
  }

  // The info window's link is reached with Tab and opened with Enter or Space.
  void theLinkOpensFromTheKeyboard() {
    ClickHeaderSection(Main(), THeaderSection::InfoHelp);
    Activate(&Info());
    auto* link = Find<QLabel>(Info(), "txtWWW");
    Find<QPushButton>(Info(), "btnHELP")->setFocus();
    QTest::keyClick(Info().focusWidget(), Qt::Key_Tab);
    QCOMPARE(Info().focusWidget(), link);
    QTest::keyClick(link, Qt::Key_Return);
    QTest::keyClick(link, Qt::Key_Space);
    QCOMPARE(opened, (QList<QUrl>{QUrl(QStringLiteral("https://tarvelo.github.io")), QUrl(QStringLiteral("https://tarvelo.github.io"))}));
  }
};

TARVELO_QT_TEST_MAIN(TestKeyboard)
#include "ui_keyboard_test.moc"
