// The service entry editor as a real widget, opened from the main window's popup commands, with
// the real message boxes.
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QScrollBar>
#include <QValidator>

#include "history/HistoryFile.h"
#include "tests/TestEntries.h"
#include "tests/support/ProgramWindowsTest.h"
#include "tests/support/TempDir.h"
#include "tests/support/UiTestSupport.h"
#include "ui/DateField.h"
#include "ui/uEditor.h"
#include "ui/uMain.h"

namespace {

QStringList RowTexts(const QTreeWidget* list) {
  QStringList rows;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = list->topLevelItem(i);
    rows << QStringList{item->text(0), item->text(1), item->text(2), item->text(3)}.join(QLatin1Char('|'));
  }
  return rows;
}

THistoryList FourEntries() {
  return {EntryWithProcedures(1, 4000), EntryWithProcedures(2, 3000), EntryWithProcedures(3, 2000),
          EntryWithProcedures(1, 1000)};
}

}  // namespace

class TestEditor : public TProgramWindowsTest {
  Q_OBJECT

  // The editor's controls, by name.
  TDateField* Date() { return Find<TDateField>(Editor(), "dtp1"); }
  QLineEdit* DateText() { return Find<QLineEdit>(Editor(), "dateText"); }
  QComboBox* ServiceStatus() { return Find<QComboBox>(Editor(), "cbbSVCStatus"); }
  QLineEdit* Km() { return Find<QLineEdit>(Editor(), "edtKMStand"); }
  QComboBox* WorkshopType() { return Find<QComboBox>(Editor(), "cbbWorkshopTYP"); }
  QLineEdit* WorkshopID() { return Find<QLineEdit>(Editor(), "edtWorkshopID"); }
  QLineEdit* Count() { return Find<QLineEdit>(Editor(), "edtSVCCount"); }
  QComboBox* TypeList() { return Find<QComboBox>(Editor(), "cbbProcTYP"); }
  QComboBox* StatusList() { return Find<QComboBox>(Editor(), "cbbPROCStatus"); }
  QPushButton* AddProcedure() { return Find<QPushButton>(Editor(), "btnProcADD"); }
  QTreeWidget* Procedures() { return Find<QTreeWidget>(Editor(), "lvProcedures"); }
  QAction* DeleteProcedure() { return Find<QAction>(Editor(), "Delete1"); }
  QPushButton* Ok() { return Find<QPushButton>(Editor(), "btnSAVE"); }
  QPushButton* Cancel() { return Find<QPushButton>(Editor(), "btnCancel"); }

  QAction* MainCommand(const char* name) { return Find<QAction>(Main(), name); }

  void SelectRow(int row) { QTest::mouseClick(Lv1()->viewport(), Qt::LeftButton, {}, RowCenter(Lv1(), row)); }

  // "Edit" of the entry at row, through the popup command.
  void EditRow(int row) {
    SelectRow(row);
    MainCommand("Edit1")->trigger();
  }

  void ChooseProcedure(int typePosition, int statusPosition) {
    TypeList()->setCurrentIndex(typePosition);
    StatusList()->setCurrentIndex(statusPosition);
    QTest::mouseClick(AddProcedure(), Qt::LeftButton);
  }

  void TypeInto(QLineEdit* edit, const QString& text) {
    edit->clear();
    QTest::keyClicks(edit, text);
  }

  struct Shown {
    QString text;  // empty: no message box
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
  };

  // Runs action, answering the message box it may show (within it: the box is modal) with button.
  Shown Answering(QMessageBox::StandardButton button, const std::function<void()>& action) {
    auto shown = std::make_shared<Shown>();
    WhenModal([shown, button](QWidget* w) {
      if (auto* box = qobject_cast<QMessageBox*>(w)) {
        *shown = {box->text(), box->icon(), static_cast<int>(box->buttons().size())};
        QTest::mouseClick(box->button(button), Qt::LeftButton);
      }
    });
    action();
    CancelModalWatchers();
    return *shown;
  }

  // "OK", answering the message box that it may show.
  Shown PressOK() { return Answering(QMessageBox::Ok, [this] { QTest::mouseClick(Ok(), Qt::LeftButton); }); }
  QString ClickOK() { return PressOK().text; }

  void LoadList(const THistoryList& list) { History().ReplaceAll(list); }

 private slots:
  void looksAsDescribedAtFirstUse() {
    MainCommand("Add1")->trigger();
    QVERIFY(Editor().isVisible());
    QCOMPARE(Editor().windowTitle(), QStringLiteral("Service Entry Editor"));
    QVERIFY(Editor().windowFlags() & Qt::Tool);
    QCOMPARE(Editor().size(), QSize(465, 470));
    QCOMPARE(Find<QGroupBox>(Editor(), "grpMain")->title(), QStringLiteral("General Information"));
    QCOMPARE(Find<QGroupBox>(Editor(), "grpAdd")->title(), QStringLiteral("Add"));

    QCOMPARE(Date()->Date(), QDate(2019, 12, 15));
    QCOMPARE(Date()->Text(), QStringLiteral("15.12.2019"));
    QCOMPARE(ServiceStatus()->currentText(), QStringLiteral("ON TIME"));
    QCOMPARE(WorkshopType()->currentText(), QStringLiteral("INDEPENDENT"));
    QCOMPARE(Km()->text(), QString());
    QCOMPARE(WorkshopID()->text(), QString());
    QCOMPARE(Count()->text(), QStringLiteral("0"));
    QVERIFY(Count()->isReadOnly());
    QCOMPARE(TypeList()->currentIndex(), -1);
    QCOMPARE(StatusList()->currentText(), QStringLiteral("ON TIME"));

    QCOMPARE(Km()->placeholderText(), QStringLiteral("Car milage in km"));
    QCOMPARE(WorkshopID()->placeholderText(), QStringLiteral("WORKSHOP ID"));
    QCOMPARE(ServiceStatus()->placeholderText(), QStringLiteral("STATUS"));
    QCOMPARE(WorkshopType()->placeholderText(), QStringLiteral("WORKSHOP TYPE"));
    QCOMPARE(TypeList()->placeholderText(), QStringLiteral("Procedure TYPE"));
    QCOMPARE(StatusList()->placeholderText(), QStringLiteral("Procedure STATUS\r\n"));

    QStringList types;
    for (int i = 0; i < TypeList()->count(); ++i) types << TypeList()->itemText(i);
    QCOMPARE(types.size(), 14);
    QCOMPARE(types.first(), QStringLiteral("Engine oil"));
    QCOMPARE(types.last(), QStringLiteral("Vehicle check"));
    QCOMPARE(ServiceStatus()->count(), 3);
    QCOMPARE(ServiceStatus()->itemText(2), QStringLiteral("INCOMPLETE"));
    QCOMPARE(WorkshopType()->itemText(1), QStringLiteral("BMW DEALER"));
    QCOMPARE(StatusList()->itemText(2), QStringLiteral("OVERDUE"));

    QCOMPARE(HeaderTexts(Procedures()->model()), (QStringList{"#", "ID", "Procedure", "Status"}));
    QCOMPARE(Procedures()->columnWidth(0), 30);
    QCOMPARE(Procedures()->columnWidth(1), 35);
    QCOMPARE(DeleteProcedure()->text(), QStringLiteral("Delete"));
    QCOMPARE(DeleteProcedure()->icon().pixmap(24).toImage(), MainCommand("Delete2")->icon().pixmap(24).toImage());
    QCOMPARE(Ok()->text(), QStringLiteral("OK"));
    QCOMPARE(Cancel()->text(), QStringLiteral("Cancel"));

    // Keyboard focus order: as the fields are filled in; the procedure count is only shown.
    const QList<QWidget*> order = {Date(),     Km(),       WorkshopType(), WorkshopID(), ServiceStatus(), TypeList(),
                                   StatusList(), AddProcedure(), Procedures(), Ok(),         Cancel()};
    QCOMPARE(Count()->focusPolicy(), Qt::NoFocus);
    for (int i = 0; i + 1 < order.size(); ++i) {
      QWidget* next = order[i]->nextInFocusChain();
      while (next && (next->focusPolicy() == Qt::NoFocus || order[i]->isAncestorOf(next))) next = next->nextInFocusChain();
      QCOMPARE(next, order[i + 1]);
    }
  }

  // The four columns fit the list: no horizontal scroll bar, no column cut, also with the longest
  // texts; the window never gets so small that a control is lost, and more height shows more rows.
  void theColumnsFitAndNoControlIsLost() {
    TBuffer odd = EntryWithProcedures(1);
    odd[19] = 32;   // "Statutory vehicle inspection"
    odd[20] = 255;  // "0 UNKNOWN(255)"
    LoadList({odd});
    EditRow(0);
    QTreeWidget* list = Procedures();
    QCOMPARE(list->topLevelItem(0)->text(3), QStringLiteral("0 UNKNOWN(255)"));
    int total = 0;
    for (int c = 0; c < 4; ++c) total += list->columnWidth(c);
    QVERIFY2(total <= list->viewport()->width(), qPrintable(QStringLiteral("%1 > %2").arg(total).arg(list->viewport()->width())));
    QVERIFY(!list->horizontalScrollBar()->isVisible());
    const QFontMetrics metrics = list->fontMetrics();
    QVERIFY(list->columnWidth(2) > metrics.horizontalAdvance(QStringLiteral("Statutory vehicle inspection")));
    QVERIFY(list->columnWidth(3) > metrics.horizontalAdvance(QStringLiteral("0 UNKNOWN(255)")));

    Editor().resize(200, 200);
    QVERIFY(Editor().width() >= 465 && Editor().height() >= 470);
    const QRect inside = Editor().rect();
    for (QWidget* control : {static_cast<QWidget*>(Ok()), static_cast<QWidget*>(Cancel()), static_cast<QWidget*>(list)}) {
      QVERIFY(inside.contains(QRect(control->mapTo(&Editor(), QPoint(0, 0)), control->size())));
    }
    const int rowsBefore = list->viewport()->height();
    Editor().resize(900, 700);
    QCOMPARE(Editor().width(), 465);  // no empty space to the right
    QVERIFY(list->viewport()->height() > rowsBefore);
    QVERIFY(inside.height() < Editor().height() && Ok()->geometry().bottom() > inside.bottom());
  }

  void enterIsOkAndEscapeIsCancel() {
    LoadList({EntryWithProcedures(1, 7)});
    MainCommand("Add1")->trigger();
    Editor().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&Editor()));
    TypeInto(Km(), QStringLiteral("4711"));
    TypeInto(WorkshopID(), QStringLiteral("W"));
    ChooseProcedure(0, 0);
    Km()->setFocus();
    QTest::keyClick(Km(), Qt::Key_Return);  // in a field: "OK"
    QVERIFY(!Editor().isVisible());
    QCOMPARE(Entries().size(), std::size_t{2});
    QCOMPARE(KMStand(Entries()[0]), 4711u);

    // Enter is subject to the same checks as a click on "OK".
    MainCommand("Add1")->trigger();
    Editor().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&Editor()));
    const Shown missing = Answering(QMessageBox::Ok, [this] { QTest::keyClick(WorkshopID(), Qt::Key_Enter); });
    QCOMPARE(missing.text, QString::fromLatin1(kInvalidDataMessage));
    QVERIFY(Editor().isVisible());

    // On a focused button, Enter presses that button.
    TypeInto(Km(), QStringLiteral("5"));
    Cancel()->setFocus();
    QTest::keyClick(Cancel(), Qt::Key_Return);
    QVERIFY(!Editor().isVisible());
    QCOMPARE(Entries().size(), std::size_t{2});

    // Escape is "Cancel": nothing stored, the fields cleared.
    MainCommand("Add1")->trigger();
    Editor().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&Editor()));
    TypeInto(Km(), QStringLiteral("99"));
    QTest::keyClick(Km(), Qt::Key_Escape);
    QVERIFY(!Editor().isVisible());
    QCOMPARE(Km()->text(), QString());
    QCOMPARE(Entries().size(), std::size_t{2});
    QVERIFY(Ok()->isDefault());
  }

  // "ADD" is no default button: after a click on it, Enter is "OK", and the procedure is not added
  // a second time.
  void enterAfterAddIsOk() {
    LoadList({EntryWithProcedures(1, 7)});
    MainCommand("Add1")->trigger();
    Editor().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&Editor()));
    TypeInto(Km(), QStringLiteral("4711"));
    TypeInto(WorkshopID(), QStringLiteral("W"));
    ChooseProcedure(2, 1);  // a click on "ADD", which keeps the keyboard on it
    AddProcedure()->setFocus(Qt::MouseFocusReason);
    QVERIFY(!AddProcedure()->autoDefault() && !AddProcedure()->isDefault());
    QTest::keyClick(AddProcedure(), Qt::Key_Return);
    QVERIFY(!Editor().isVisible());
    QCOMPARE(Entries().size(), std::size_t{2});
    QCOMPARE(ProcCount(Entries()[0]), std::size_t{1});
    QCOMPARE(ProcTYP(Entries()[0], 0), uint8_t{3});  // Brake fluid
  }

  // A click into the date and digits typed: the section under the click takes them, as in any date
  // field. A date that is no date of the calendar is never turned into another one.
  void theDateTakesDigitsWhereItIsClickedAndAnImpossibleDateIsRefused() {
    LoadList({EntryWithProcedures(1, 7)});
    MainCommand("Add1")->trigger();
    Editor().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&Editor()));
    QLineEdit* text = DateText();
    // A click on the middle of the character at position.
    const auto clickAtCharacter = [text](int position) {
      const QString shown = text->text();
      const int left = text->fontMetrics().horizontalAdvance(shown.left(position)) +
                       text->fontMetrics().horizontalAdvance(shown.mid(position, 1)) / 2;
      QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(left + 4, text->height() / 2));
    };
    clickAtCharacter(1);  // in the day
    QTest::keyClicks(text, QStringLiteral("03"));
    QCOMPARE(Date()->Text(), QStringLiteral("03.12.2019"));
    clickAtCharacter(8);  // in the year
    QTest::keyClicks(text, QStringLiteral("2021"));
    QCOMPARE(Date()->Date(), QDate(2021, 12, 3));

    clickAtCharacter(0);
    QTest::keyClicks(text, QStringLiteral("31"));
    clickAtCharacter(4);
    QTest::keyClicks(text, QStringLiteral("02"));
    QCOMPARE(Date()->Text(), QStringLiteral("31.02.2021"));  // as typed, not 28.02
    QCOMPARE(Date()->Date(), std::nullopt);
    QVERIFY(text->property("invalid").toBool());

    TypeInto(Km(), QStringLiteral("100"));
    TypeInto(WorkshopID(), QStringLiteral("W"));
    ChooseProcedure(0, 0);
    const Shown refused = PressOK();
    QCOMPARE(refused.text, QStringLiteral("The DATE 31.02.2021 is not a date of the calendar. Please correct it."));
    QCOMPARE(refused.icon, QMessageBox::NoIcon);
    QVERIFY(Editor().isVisible());
    QCOMPARE(Entries().size(), std::size_t{1});

    clickAtCharacter(4);
    QTest::keyClicks(text, QStringLiteral("03"));
    QVERIFY(!text->property("invalid").toBool());
    QCOMPARE(ClickOK(), QString());
    QCOMPARE(Day(Entries()[0]), 31);
    QCOMPARE(Month(Entries()[0]), 3);
  }

  // A workshop ID character the 8-bit code page cannot hold is refused, not stored as "?".
  void aWorkshopIdCharacterOutsideTheCodePageIsRefused() {
    MainCommand("Add1")->trigger();
    TypeInto(Km(), QStringLiteral("100"));
    // Typed (or pasted) as the field takes text from the keyboard's input method.
    WorkshopID()->clear();
    WorkshopID()->insert(QString::fromUtf8("\xE2\x82\xAC\xD0\x96\xC3\xA9" "1234"));  // euro, Zhe, e acute
    ChooseProcedure(0, 0);
    const Shown refused = PressOK();
    QCOMPARE(refused.text, QString::fromUtf8("The workshop ID cannot hold the character \xD0\x96."));
    QVERIFY(Editor().isVisible());
    QVERIFY(Entries().empty());

    WorkshopID()->clear();
    WorkshopID()->insert(QString::fromUtf8("\xE2\x82\xAC\xC3\xA9" "1234"));
    QCOMPARE(ClickOK(), QString());
    QCOMPARE(WorkshopIDBytes(Entries()[0]), std::string("\x80\xE9" "1234"));
  }

  void kmTakesDigitsOnlyAndBothEditsAtMostSevenCharacters() {
    MainCommand("Add1")->trigger();
    QTest::keyClicks(Km(), QStringLiteral("12a3.4-5678901"));
    QCOMPARE(Km()->text(), QStringLiteral("1234567"));
    QTest::keyClicks(WorkshopID(), QStringLiteral("ABCDEFGHIJ"));
    QCOMPARE(WorkshopID()->text(), QStringLiteral("ABCDEFG"));
  }

  void addingBuildsTheExampleEntry() {
    LoadList({EntryWithProcedures(1, 7)});
    MainCommand("Add1")->trigger();
    Date()->SetDate(QDate(2020, 2, 1));
    TypeInto(Km(), QStringLiteral("1000"));
    WorkshopType()->setCurrentIndex(1);
    TypeInto(WorkshopID(), QStringLiteral("A1"));
    ServiceStatus()->setCurrentIndex(1);
    ChooseProcedure(0, 0);   // Engine oil, ON TIME
    ChooseProcedure(13, 2);  // Vehicle check, OVERDUE
    QCOMPARE(RowTexts(Procedures()),
             (QStringList{"1|1|Engine oil|1 ON TIME", "2|100|Vehicle check|3 OVERDUE"}));
    QCOMPARE(Count()->text(), QStringLiteral("2"));

    QCOMPARE(ClickOK(), QString());
    QVERIFY(!Editor().isVisible());
    QCOMPARE(Entries().size(), std::size_t{2});
    QCOMPARE(Entries()[0], ExampleEntryBytes());
    QCOMPARE(ModelTexts(Lv1()->model()).first(),
             (QStringList{"2", "1.2.2020", "1000", "BMW Service", "A1", "LATE", "2"}));

    // The next "Add" keeps date, service status and workshop type, and starts empty otherwise.
    MainCommand("Add1")->trigger();
    QCOMPARE(Date()->Date(), QDate(2020, 2, 1));
    QCOMPARE(ServiceStatus()->currentText(), QStringLiteral("LATE"));
    QCOMPARE(WorkshopType()->currentText(), QStringLiteral("BMW DEALER"));
    QCOMPARE(Km()->text(), QString());
    QCOMPARE(WorkshopID()->text(), QString());
    QCOMPARE(Procedures()->topLevelItemCount(), 0);
    QCOMPARE(Count()->text(), QStringLiteral("0"));
    QCOMPARE(TypeList()->currentText(), QStringLiteral("Vehicle check"));
  }

  void editingCodesOutsideTheTables() {
    TBuffer odd = EntryWithProcedures(2, 123456);
    odd[9] = 5;    // workshop type outside the list
    odd[17] = 7;   // service status outside the list
    odd[19] = 9;   // procedure type outside the table
    odd[20] = 9;   // procedure status outside the table
    LoadList({EntryWithProcedures(1), odd});
    EditRow(1);
    QVERIFY(Editor().isVisible());
    QCOMPARE(WorkshopType()->currentIndex(), -1);
    QCOMPARE(ServiceStatus()->currentIndex(), -1);
    QCOMPARE(Km()->text(), QStringLiteral("123456"));
    QCOMPARE(WorkshopID()->text(), QStringLiteral("A1"));
    QCOMPARE(Date()->Date(), QDate(2020, 2, 1));
    QCOMPARE(Count()->text(), QStringLiteral("2"));
    QCOMPARE(RowTexts(Procedures()),
             (QStringList{"1|9|UNKNOWN|0 UNKNOWN(9)", "2|1|Engine oil|1 ON TIME"}));

    QCOMPARE(ClickOK(), QString());
    const TBuffer stored = Entries()[1];
    QCOMPARE(Entries().size(), std::size_t{2});
    QCOMPARE(WorkshopTYP(stored), uint8_t{255});
    QCOMPARE(SVCStatus(stored), uint8_t{0});
    QCOMPARE(ProcTYP(stored, 0), uint8_t{9});
    QCOMPARE(ProcStatus(stored, 0), uint8_t{0});
    QCOMPARE(KMStand(stored), 123456u);
    QCOMPARE(Entries()[0], EntryWithProcedures(1));

    // Service status 0 shows no selection either.
    TBuffer zero = EntryWithProcedures(1);
    zero[17] = 0;
    LoadList({zero});
    EditRow(0);
    QCOMPARE(ServiceStatus()->currentIndex(), -1);
    QCOMPARE(ClickOK(), QString());
    QCOMPARE(SVCStatus(Entries()[0]), uint8_t{0});
  }

  void anEntryWithoutProceduresLoadsNothing() {
    MainCommand("Add1")->trigger();
    TypeInto(Km(), QStringLiteral("555"));
    TypeInto(WorkshopID(), QStringLiteral("KEEP"));
    ChooseProcedure(1, 1);
    Editor().close();  // the close box hides and clears nothing

    LoadList({EntryWithProcedures(0, 999)});
    EditRow(0);
    QVERIFY(Editor().isVisible());
    QCOMPARE(Km()->text(), QStringLiteral("555"));
    QCOMPARE(WorkshopID()->text(), QStringLiteral("KEEP"));
    QCOMPARE(Procedures()->topLevelItemCount(), 0);
    QCOMPARE(Count()->text(), QStringLiteral("0"));
  }

  void deletingTheMiddleRowKeepsTheNumbers() {
    MainCommand("Add1")->trigger();
    ChooseProcedure(0, 0);
    ChooseProcedure(1, 1);
    ChooseProcedure(2, 2);
    Procedures()->setCurrentItem(Procedures()->topLevelItem(1));
    DeleteProcedure()->trigger();
    QCOMPARE(RowTexts(Procedures()),
             (QStringList{"1|1|Engine oil|1 ON TIME", "3|3|Brake fluid|3 OVERDUE"}));
    QCOMPARE(Count()->text(), QStringLiteral("2"));
    ChooseProcedure(3, 0);
    QCOMPARE(Procedures()->topLevelItem(2)->text(0), QStringLiteral("3"));
    QCOMPARE(Count()->text(), QStringLiteral("3"));

    // Without a selected row, "Delete" does nothing.
    Procedures()->clearSelection();
    Procedures()->setCurrentItem(nullptr);
    DeleteProcedure()->trigger();
    QCOMPARE(Procedures()->topLevelItemCount(), 3);
  }

  void addWithoutAProcedureTypeDoesNothing() {
    MainCommand("Add1")->trigger();
    TypeList()->setCurrentIndex(-1);
    QTest::mouseClick(AddProcedure(), Qt::LeftButton);
    QCOMPARE(Procedures()->topLevelItemCount(), 0);
    QCOMPARE(Count()->text(), QStringLiteral("0"));
  }

  void okWithAFieldMissingSaysInvalidData_data() {
    QTest::addColumn<QString>("km");
    QTest::addColumn<QString>("workshop");
    QTest::addColumn<bool>("procedure");
    QTest::newRow("no km") << "" << "A1" << true;
    QTest::newRow("no workshop ID") << "100" << "" << true;
    QTest::newRow("no procedure") << "100" << "A1" << false;
    QTest::newRow("nothing") << "" << "" << false;
  }

  void okWithAFieldMissingSaysInvalidData() {
    QFETCH(QString, km);
    QFETCH(QString, workshop);
    QFETCH(bool, procedure);
    MainCommand("Add1")->trigger();
    TypeInto(Km(), km);
    TypeInto(WorkshopID(), workshop);
    if (procedure) ChooseProcedure(0, 0);
    const Shown shown = PressOK();
    QCOMPARE(shown.text, QStringLiteral("INVALID DATA\r\nPlease check input parameters:\r\n> KM Stand\r\n> WorkshopID\r\n> Procedures done"));
    QCOMPARE(shown.icon, QMessageBox::NoIcon);
    QCOMPARE(shown.buttons, 1);
    QVERIFY(Editor().isVisible());
    QVERIFY(Entries().empty());
    QCOMPARE(Km()->text(), km);
  }

  void kmZeroIsAccepted() {
    MainCommand("Add1")->trigger();
    TypeInto(Km(), QStringLiteral("0"));
    TypeInto(WorkshopID(), QStringLiteral("W"));
    ChooseProcedure(0, 0);
    QCOMPARE(ClickOK(), QString());
    QCOMPARE(Entries().size(), std::size_t{1});
    QCOMPARE(KMStand(Entries()[0]), 0u);
  }

  void kmThatIsNoIntegerGoesToTheErrorReport() {
    LoadList({EntryWithProcedures(1)});
    MainCommand("Add1")->trigger();
    Km()->setText(QStringLiteral("12a"));  // a paste past the digits-only typing
    TypeInto(WorkshopID(), QStringLiteral("W"));
    ChooseProcedure(0, 0);
    const Shown shown = PressOK();
    QCOMPARE(shown.text, QStringLiteral("'12a' is not a valid integer value."));
    QCOMPARE(shown.icon, QMessageBox::Critical);
    QVERIFY(Editor().isVisible());
    QCOMPARE(Entries(), THistoryList{EntryWithProcedures(1)});
    QCOMPARE(Procedures()->topLevelItemCount(), 1);
  }

  void anInvalidStoredDateIsReportedAndLoadsNothing_data() {
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("shown");
    QTest::newRow("31 April") << 31 << 4 << 2020 << "'31.4.2020' is not a valid date.";
    QTest::newRow("month 13") << 1 << 13 << 2020 << "'1.13.2020' is not a valid date.";
    QTest::newRow("year 0") << 1 << 1 << 0 << "'1.1.0' is not a valid date.";
    QTest::newRow("before the picker's range") << 1 << 1 << 1500
                                               << "The date 1.1.1500 is outside the range of the date picker (1.1.1601 to 31.12.9999)";
  }

  // The entry is refused before the editor takes it: the editor stays exactly as it was, closed,
  // or open on another entry with the changes it holds (which "OK" then stores there).
  void anInvalidStoredDateIsReportedAndLoadsNothing() {
    QFETCH(int, day);
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(QString, shown);
    MainCommand("Add1")->trigger();
    TypeInto(Km(), QStringLiteral("777"));
    Editor().close();

    TBuffer bad = EntryWithProcedures(2, 5000);
    bad[0] = static_cast<uint8_t>(day);
    bad[1] = static_cast<uint8_t>(month);
    StoreBigEndian16(&bad[2], static_cast<uint16_t>(year));
    const TBuffer good = EntryWithProcedures(1, 3000);
    LoadList({bad, good});
    QString seen;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    const auto editBad = [&] {
      seen.clear();
      WhenMessageBox([&](QMessageBox* box) {
        seen = box->text();
        icon = box->icon();
      });
      EditRow(0);
    };
    editBad();
    QCOMPARE(seen, shown);
    QCOMPARE(icon, QMessageBox::Critical);
    QVERIFY(!Editor().isVisible());
    QCOMPARE(Km()->text(), QStringLiteral("777"));
    QCOMPARE(Date()->Date(), QDate(2019, 12, 15));

    // Open on the good entry with a change: the bad one changes nothing of it.
    EditRow(1);
    QVERIFY(Editor().isVisible());
    TypeInto(Km(), QStringLiteral("3100"));
    const int procedures = Procedures()->topLevelItemCount();
    editBad();
    QCOMPARE(seen, shown);
    QVERIFY(Editor().isVisible());
    QCOMPARE(Km()->text(), QStringLiteral("3100"));
    QCOMPARE(Procedures()->topLevelItemCount(), procedures);
    QCOMPARE(Count()->text(), QString::number(procedures));
    QCOMPARE(ClickOK(), QString());
    QCOMPARE(KMStand(Entries()[1]), 3100u);
    QCOMPARE(Entries()[0], bad);
  }

  // "Edit" of another entry while the editor holds changes: the fault was that "OK" then wrote the
  // first entry's fields into the second. Now the user is asked; either answer leaves the other
  // entry as it was, byte for byte, unless the user edits it.
  void editWhileEditingAsksAndNoEntryGetsAnotherOnesFields() {
    const THistoryList sample = *SplitHistory(ReadBytes(TARVELO_SOURCE_DIR "/examples/sample.kelta"));
    const char* const question =
        "The entry in the editor has changes that are not stored yet. Give them up and edit the other entry?";

    // "No": the editor stays on entry A with its change; "OK" stores it into A.
    LoadList(sample);
    EditRow(1);
    TypeInto(Km(), QStringLiteral("87000"));
    SelectRow(3);
    const Shown no = Answering(QMessageBox::No, [this] { MainCommand("Edit1")->trigger(); });
    QCOMPARE(no.text, QString::fromLatin1(question));
    QCOMPARE(no.icon, QMessageBox::Question);
    QCOMPARE(no.buttons, 2);
    QVERIFY(Editor().isVisible());
    QCOMPARE(Km()->text(), QStringLiteral("87000"));
    QCOMPARE(ClickOK(), QString());
    QCOMPARE(KMStand(Entries()[1]), 87000u);
    QCOMPARE(Entries()[3], sample[3]);  // B, byte for byte

    // "Yes": the change to A is given up and B is loaded; "OK" without changes stores B as it was.
    LoadList(sample);
    EditRow(1);
    TypeInto(Km(), QStringLiteral("87000"));
    SelectRow(3);
    QCOMPARE(Answering(QMessageBox::Yes, [this] { MainCommand("Edit1")->trigger(); }).text, QString::fromLatin1(question));
    QCOMPARE(Km()->text(), QString::number(KMStand(sample[3])));
    QCOMPARE(ClickOK(), QString());
    QCOMPARE(Entries(), sample);  // A and B, and every other entry, byte for byte

    // A double-click is "Edit" too, and is asked the same way.
    EditRow(1);
    TypeInto(Km(), QStringLiteral("87000"));
    const Shown byDoubleClick = Answering(QMessageBox::No, [this] { DoubleClickRow(Lv1(), 3); });
    QCOMPARE(byDoubleClick.text, QString::fromLatin1(question));
    QCOMPARE(Km()->text(), QStringLiteral("87000"));
  }

  void editOrAddWhileEditingWithoutChangesSwitchesAtOnce() {
    LoadList({EntryWithProcedures(1, 1111), EntryWithProcedures(2, 2222)});
    EditRow(0);
    QCOMPARE(Km()->text(), QStringLiteral("1111"));
    const Shown none = Answering(QMessageBox::Yes, [this] { EditRow(1); });
    QCOMPARE(none.text, QString());
    QCOMPARE(Km()->text(), QStringLiteral("2222"));
    QCOMPARE(Procedures()->topLevelItemCount(), 2);

    // "Edit" of the entry being edited only brings the editor to the front, changes and all.
    TypeInto(Km(), QStringLiteral("2300"));
    QCOMPARE(Answering(QMessageBox::Yes, [this] { EditRow(1); }).text, QString());
    QCOMPARE(Km()->text(), QStringLiteral("2300"));

    // "Add" with changes asks the same way; "Yes" starts a new entry from empty km and workshop ID.
    const Shown add = Answering(QMessageBox::Yes, [this] { MainCommand("Add1")->trigger(); });
    QCOMPARE(add.text, QStringLiteral("The entry in the editor has changes that are not stored yet. "
                                      "Give them up and add a new entry?"));
    QCOMPARE(Km()->text(), QString());
    QCOMPARE(WorkshopID()->text(), QString());
    QCOMPARE(Procedures()->topLevelItemCount(), 0);
    QCOMPARE(Count()->text(), QStringLiteral("0"));

    // "Add" again while adding only brings the editor to the front.
    TypeInto(Km(), QStringLiteral("5"));
    QCOMPARE(Answering(QMessageBox::Yes, [this] { MainCommand("Add1")->trigger(); }).text, QString());
    QCOMPARE(Km()->text(), QStringLiteral("5"));
    TypeInto(WorkshopID(), QStringLiteral("W"));
    ChooseProcedure(0, 0);
    QCOMPARE(ClickOK(), QString());
    QCOMPARE(Entries().size(), std::size_t{3});
    QCOMPARE(KMStand(Entries()[0]), 5u);
    QCOMPARE(KMStand(Entries()[2]), 2222u);
  }

  void cancelClearsAndStoresNothing() {
    LoadList({EntryWithProcedures(1, 1111)});
    EditRow(0);
    QTest::mouseClick(Cancel(), Qt::LeftButton);
    QVERIFY(!Editor().isVisible());
    QCOMPARE(Km()->text(), QString());
    QCOMPARE(WorkshopID()->text(), QString());
    QCOMPARE(Procedures()->topLevelItemCount(), 0);
    QCOMPARE(Count()->text(), QStringLiteral("0"));
    QCOMPARE(Entries(), THistoryList{EntryWithProcedures(1, 1111)});
  }

  void theTwoHundredFiftySixthProcedureIsRefused() {
    MainCommand("Add1")->trigger();
    TypeList()->setCurrentIndex(0);
    for (int i = 0; i < 255; ++i) QTest::mouseClick(AddProcedure(), Qt::LeftButton);
    QCOMPARE(Count()->text(), QStringLiteral("255"));
    QString shown;
    QMessageBox::Icon icon = QMessageBox::Critical;
    WhenMessageBox([&](QMessageBox* box) {
      shown = box->text();
      icon = box->icon();
    });
    QTest::mouseClick(AddProcedure(), Qt::LeftButton);
    QVERIFY(shown.contains(QStringLiteral("255")));
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(Procedures()->topLevelItemCount(), 255);
    QCOMPARE(Count()->text(), QStringLiteral("255"));

    TypeInto(Km(), QStringLiteral("1"));
    TypeInto(WorkshopID(), QStringLiteral("W"));
    QCOMPARE(ClickOK(), QString());
    QCOMPARE(Entries()[0].size(), 19u + 8u * 255u);
  }

  // An edit never replaces the wrong entry, whatever happens to the list while the editor is open.
  void anEditKeepsItsEntryWhileTheListChanges() {
    LoadList(FourEntries());
    EditRow(2);  // km 2000
    TypeInto(Km(), QStringLiteral("2500"));
    SelectRow(0);
    MainCommand("Delete2")->trigger();  // an entry above the edited one goes
    QCOMPARE(ClickOK(), QString());
    QCOMPARE(Entries().size(), std::size_t{3});
    QCOMPARE(KMStand(Entries()[0]), 3000u);
    QCOMPARE(KMStand(Entries()[1]), 2500u);
    QCOMPARE(KMStand(Entries()[2]), 1000u);
  }

  void anEditOfADeletedEntryIsAddedAtTheEnd() {
    LoadList(FourEntries());
    EditRow(1);  // km 3000
    TypeInto(Km(), QStringLiteral("3500"));
    SelectRow(1);
    MainCommand("Delete2")->trigger();  // the edited entry itself goes
    SelectRow(2);
    MainCommand("Delete2")->trigger();  // and one below it
    QCOMPARE(ClickOK(), QString());
    QCOMPARE(Entries().size(), std::size_t{3});
    QCOMPARE(KMStand(Entries()[0]), 4000u);
    QCOMPARE(KMStand(Entries()[1]), 2000u);
    QCOMPARE(KMStand(Entries()[2]), 3500u);
  }

  void anEditKeepsItsEntryWhenOneBelowItGoesAndIsAddedAfterAnOpen() {
    LoadList(FourEntries());
    EditRow(1);
    SelectRow(3);
    MainCommand("Delete2")->trigger();

    TempDir dir;
    const std::string other = dir.File("other.kelta");
    WriteBytes(other, JoinHistory({EntryWithProcedures(1, 9000)}));
    WhenModal([other](QWidget* w) { AcceptFileDialog(qobject_cast<QFileDialog*>(w), QString::fromStdString(other)); });
    ClickHeaderSection(Main(), THeaderSection::Open);
    QCOMPARE(ClickOK(), QString());
    QCOMPARE(Entries().size(), std::size_t{2});
    QCOMPARE(KMStand(Entries()[0]), 9000u);
    QCOMPARE(KMStand(Entries()[1]), 3000u);
  }

  void screenshot() {
    const QByteArray folder = qgetenv("TARVELO_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("set TARVELO_SCREENSHOT_DIR to a folder to take the README's screenshots");
    const std::optional<THistoryList> sample = SplitHistory(ReadBytes(TARVELO_SOURCE_DIR "/examples/sample.kelta"));
    QVERIFY(sample);
    LoadList(*sample);
    EditRow(2);
    TypeList()->setCurrentIndex(13);
    Procedures()->setCurrentItem(Procedures()->topLevelItem(1));
    QVERIFY(Editor().grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/editor.png")));

    TypeInto(Km(), QString());  // an empty km shows the message
    bool saved = false;
    WhenMessageBox([&](QMessageBox* box) {
      saved = box->grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/invalid-data.png"));
    });
    QTest::mouseClick(Ok(), Qt::LeftButton);
    QVERIFY(saved);
  }
};

TARVELO_QT_TEST_MAIN(TestEditor)
#include "ui_editor_test.moc"
