// The service entry editor as a real widget, opened from the main window's popup commands, with
// the real message boxes.
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QValidator>

#include "HistoryFile.h"
#include "TempDir.h"
#include "TestEntries.h"
#include "UiTestSupport.h"
#include "uEditor.h"

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

class TestEditor : public QObject {
  Q_OBJECT

  void SelectRow(int row) {
    QTest::mouseClick(FMain->lv1->viewport(), Qt::LeftButton, {}, RowCenter(FMain->lv1, row));
  }

  // "Edit" of the entry at row, through the popup command.
  void EditRow(int row) {
    SelectRow(row);
    FMain->Edit1->trigger();
  }

  void ChooseProcedure(int typePosition, int statusPosition) {
    FEditor->cbbProcTYP->setCurrentIndex(typePosition);
    FEditor->cbbPROCStatus->setCurrentIndex(statusPosition);
    QTest::mouseClick(FEditor->btnProcADD, Qt::LeftButton);
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

  // "OK", answering the message box that it may show.
  Shown PressOK() {
    auto shown = std::make_shared<Shown>();
    WhenModal(
        [shown](QWidget* w) {
          if (auto* box = qobject_cast<QMessageBox*>(w)) {
            *shown = {box->text(), box->icon(), static_cast<int>(box->buttons().size())};
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
          }
        },
        500);
    QTest::mouseClick(FEditor->btnSAVE, Qt::LeftButton);
    QTest::qWait(600);  // past the wait for a message box, so that none is left over
    return *shown;
  }

  QString ClickOK() { return PressOK().text; }

  void LoadList(const THistoryList& list) {
    FMain->SHRecord = list;
    FMain->RefreshList();
  }

 private slots:
  void init() {
    CreateWindows();
    FMain->show();
    QVERIFY(QTest::qWaitForWindowExposed(FMain));
  }

  void cleanup() {
    CancelModalWatchers();
    DestroyWindows();
  }

  void looksAsDescribedAtFirstUse() {
    FMain->Add1->trigger();
    QVERIFY(FEditor->isVisible());
    QCOMPARE(FEditor->windowTitle(), QStringLiteral("Service Entry Editor"));
    QVERIFY(FEditor->windowFlags() & Qt::Tool);
    QCOMPARE(FEditor->size(), QSize(465, 470));
    QVERIFY(FEditor->minimumSize() != FEditor->maximumSize());  // a sizable border
    QCOMPARE(FEditor->grpMain->title(), QStringLiteral("General Information"));
    QCOMPARE(FEditor->grpAdd->title(), QStringLiteral("Add"));

    QCOMPARE(FEditor->dtp1->date(), QDate(2019, 12, 15));
    QCOMPARE(FEditor->dtp1->displayFormat(), QStringLiteral("dd.MM.yyyy"));
    QCOMPARE(FEditor->dtp1->text(), QStringLiteral("15.12.2019"));
    QCOMPARE(FEditor->cbbSVCStatus->currentText(), QStringLiteral("ON TIME"));
    QCOMPARE(FEditor->cbbWorkshopTYP->currentText(), QStringLiteral("INDEPENDENT"));
    QCOMPARE(FEditor->edtKMStand->text(), QString());
    QCOMPARE(FEditor->edtWorkshopID->text(), QString());
    QCOMPARE(FEditor->edtSVCCount->text(), QStringLiteral("0"));
    QVERIFY(FEditor->edtSVCCount->isReadOnly());
    QCOMPARE(FEditor->cbbProcTYP->currentIndex(), -1);
    QCOMPARE(FEditor->cbbPROCStatus->currentText(), QStringLiteral("ON TIME"));

    QCOMPARE(FEditor->edtKMStand->placeholderText(), QStringLiteral("Car milage in km"));
    QCOMPARE(FEditor->edtWorkshopID->placeholderText(), QStringLiteral("WORKSHOP ID"));
    QCOMPARE(FEditor->cbbSVCStatus->placeholderText(), QStringLiteral("STATUS"));
    QCOMPARE(FEditor->cbbWorkshopTYP->placeholderText(), QStringLiteral("WORKSHOP TYPE"));
    QCOMPARE(FEditor->cbbProcTYP->placeholderText(), QStringLiteral("Procedure TYPE"));
    QCOMPARE(FEditor->cbbPROCStatus->placeholderText(), QStringLiteral("Procedure STATUS\r\n"));

    QStringList types;
    for (int i = 0; i < FEditor->cbbProcTYP->count(); ++i) types << FEditor->cbbProcTYP->itemText(i);
    QCOMPARE(types.size(), 14);
    QCOMPARE(types.first(), QStringLiteral("Engine oil"));
    QCOMPARE(types.last(), QStringLiteral("Vehicle check"));
    QCOMPARE(FEditor->cbbSVCStatus->count(), 3);
    QCOMPARE(FEditor->cbbSVCStatus->itemText(2), QStringLiteral("INCOMPLETE"));
    QCOMPARE(FEditor->cbbWorkshopTYP->itemText(1), QStringLiteral("BMW DEALER"));
    QCOMPARE(FEditor->cbbPROCStatus->itemText(2), QStringLiteral("OVERDUE"));

    QCOMPARE(HeaderTexts(FEditor->lvProcedures->model()), (QStringList{"#", "ID", "Procedure", "Status"}));
    const int widths[] = {30, 35, 250, 150};
    for (int c = 0; c < 4; ++c) QCOMPARE(FEditor->lvProcedures->columnWidth(c), widths[c]);
    QCOMPARE(FEditor->Delete1->text(), QStringLiteral("Delete"));
    QCOMPARE(FEditor->Delete1->icon().pixmap(24).toImage(), FMain->Delete2->icon().pixmap(24).toImage());
    QCOMPARE(FEditor->btnSAVE->text(), QStringLiteral("OK"));
    QCOMPARE(FEditor->btnCancel->text(), QStringLiteral("Cancel"));

    // Keyboard focus order.
    const QList<QWidget*> order = {FEditor->dtp1,          FEditor->cbbSVCStatus, FEditor->cbbWorkshopTYP,
                                   FEditor->edtKMStand,    FEditor->edtWorkshopID, FEditor->edtSVCCount,
                                   FEditor->cbbPROCStatus, FEditor->cbbProcTYP,   FEditor->btnProcADD,
                                   FEditor->lvProcedures,  FEditor->btnSAVE,      FEditor->btnCancel};
    for (int i = 0; i + 1 < order.size(); ++i) {
      QWidget* next = order[i]->nextInFocusChain();
      while (next && (next->focusPolicy() == Qt::NoFocus || order[i]->isAncestorOf(next))) next = next->nextInFocusChain();
      QCOMPARE(next, order[i + 1]);
    }
  }

  void kmTakesDigitsOnlyAndBothEditsAtMostSevenCharacters() {
    FMain->Add1->trigger();
    QTest::keyClicks(FEditor->edtKMStand, QStringLiteral("12a3.4-5678901"));
    QCOMPARE(FEditor->edtKMStand->text(), QStringLiteral("1234567"));
    QTest::keyClicks(FEditor->edtWorkshopID, QStringLiteral("ABCDEFGHIJ"));
    QCOMPARE(FEditor->edtWorkshopID->text(), QStringLiteral("ABCDEFG"));
  }

  void addingBuildsTheExampleEntry() {
    LoadList({EntryWithProcedures(1, 7)});
    FMain->Add1->trigger();
    FEditor->dtp1->setDate(QDate(2020, 2, 1));
    TypeInto(FEditor->edtKMStand, QStringLiteral("1000"));
    FEditor->cbbWorkshopTYP->setCurrentIndex(1);
    TypeInto(FEditor->edtWorkshopID, QStringLiteral("A1"));
    FEditor->cbbSVCStatus->setCurrentIndex(1);
    ChooseProcedure(0, 0);   // Engine oil, ON TIME
    ChooseProcedure(13, 2);  // Vehicle check, OVERDUE
    QCOMPARE(RowTexts(FEditor->lvProcedures),
             (QStringList{"1|1|Engine oil|1 ON TIME", "2|100|Vehicle check|3 OVERDUE"}));
    QCOMPARE(FEditor->edtSVCCount->text(), QStringLiteral("2"));

    QCOMPARE(ClickOK(), QString());
    QVERIFY(!FEditor->isVisible());
    QCOMPARE(FMain->SHRecord.size(), std::size_t{2});
    QCOMPARE(FMain->SHRecord[0], ExampleEntryBytes());
    QCOMPARE(FMain->_temprec, ExampleEntryBytes());
    QCOMPARE(ModelTexts(FMain->lv1->model()).first(),
             (QStringList{"2", "1.2.2020", "1000", "BMW Service", "A1", "LATE", "2"}));

    // The next "Add" keeps date, service status and workshop type, and starts empty otherwise.
    FMain->Add1->trigger();
    QCOMPARE(FEditor->dtp1->date(), QDate(2020, 2, 1));
    QCOMPARE(FEditor->cbbSVCStatus->currentText(), QStringLiteral("LATE"));
    QCOMPARE(FEditor->cbbWorkshopTYP->currentText(), QStringLiteral("BMW DEALER"));
    QCOMPARE(FEditor->edtKMStand->text(), QString());
    QCOMPARE(FEditor->edtWorkshopID->text(), QString());
    QCOMPARE(FEditor->lvProcedures->topLevelItemCount(), 0);
    QCOMPARE(FEditor->edtSVCCount->text(), QStringLiteral("0"));
    QCOMPARE(FEditor->cbbProcTYP->currentText(), QStringLiteral("Vehicle check"));
  }

  void editingCodesOutsideTheTables() {
    TBuffer odd = EntryWithProcedures(2, 123456);
    odd[9] = 5;    // workshop type outside the list
    odd[17] = 7;   // service status outside the list
    odd[19] = 9;   // procedure type outside the table
    odd[20] = 9;   // procedure status outside the table
    LoadList({EntryWithProcedures(1), odd});
    EditRow(1);
    QVERIFY(FEditor->isVisible());
    QCOMPARE(FEditor->CreateNew, false);
    QCOMPARE(FEditor->EntryID, 1);
    QCOMPARE(FEditor->cbbWorkshopTYP->currentIndex(), -1);
    QCOMPARE(FEditor->cbbSVCStatus->currentIndex(), -1);
    QCOMPARE(FEditor->edtKMStand->text(), QStringLiteral("123456"));
    QCOMPARE(FEditor->edtWorkshopID->text(), QStringLiteral("A1"));
    QCOMPARE(FEditor->dtp1->date(), QDate(2020, 2, 1));
    QCOMPARE(FEditor->edtSVCCount->text(), QStringLiteral("2"));
    QCOMPARE(RowTexts(FEditor->lvProcedures),
             (QStringList{"1|9|UNKNOWN|0 UNKNOWN(9)", "2|1|Engine oil|1 ON TIME"}));

    QCOMPARE(ClickOK(), QString());
    const TBuffer stored = FMain->SHRecord[1];
    QCOMPARE(FMain->SHRecord.size(), std::size_t{2});
    QCOMPARE(WorkshopTYP(stored), uint8_t{255});
    QCOMPARE(SVCStatus(stored), uint8_t{0});
    QCOMPARE(ProcTYP(stored, 0), uint8_t{9});
    QCOMPARE(ProcStatus(stored, 0), uint8_t{0});
    QCOMPARE(KMStand(stored), 123456u);
    QCOMPARE(FMain->SHRecord[0], EntryWithProcedures(1));

    // Service status 0 shows no selection either.
    TBuffer zero = EntryWithProcedures(1);
    zero[17] = 0;
    LoadList({zero});
    EditRow(0);
    QCOMPARE(FEditor->cbbSVCStatus->currentIndex(), -1);
    QCOMPARE(ClickOK(), QString());
    QCOMPARE(SVCStatus(FMain->SHRecord[0]), uint8_t{0});
  }

  void anEntryWithoutProceduresLoadsNothing() {
    FMain->Add1->trigger();
    TypeInto(FEditor->edtKMStand, QStringLiteral("555"));
    TypeInto(FEditor->edtWorkshopID, QStringLiteral("KEEP"));
    ChooseProcedure(1, 1);
    FEditor->close();  // the close box hides and clears nothing

    LoadList({EntryWithProcedures(0, 999)});
    EditRow(0);
    QVERIFY(FEditor->isVisible());
    QCOMPARE(FEditor->edtKMStand->text(), QStringLiteral("555"));
    QCOMPARE(FEditor->edtWorkshopID->text(), QStringLiteral("KEEP"));
    QCOMPARE(FEditor->lvProcedures->topLevelItemCount(), 0);
    QCOMPARE(FEditor->edtSVCCount->text(), QStringLiteral("0"));
  }

  void deletingTheMiddleRowKeepsTheNumbers() {
    FMain->Add1->trigger();
    ChooseProcedure(0, 0);
    ChooseProcedure(1, 1);
    ChooseProcedure(2, 2);
    FEditor->lvProcedures->setCurrentItem(FEditor->lvProcedures->topLevelItem(1));
    FEditor->Delete1->trigger();
    QCOMPARE(RowTexts(FEditor->lvProcedures),
             (QStringList{"1|1|Engine oil|1 ON TIME", "3|3|Brake fluid|3 OVERDUE"}));
    QCOMPARE(FEditor->edtSVCCount->text(), QStringLiteral("2"));
    ChooseProcedure(3, 0);
    QCOMPARE(FEditor->lvProcedures->topLevelItem(2)->text(0), QStringLiteral("3"));
    QCOMPARE(FEditor->edtSVCCount->text(), QStringLiteral("3"));

    // Without a selected row, "Delete" does nothing.
    FEditor->lvProcedures->clearSelection();
    FEditor->lvProcedures->setCurrentItem(nullptr);
    FEditor->Delete1->trigger();
    QCOMPARE(FEditor->lvProcedures->topLevelItemCount(), 3);
  }

  void addWithoutAProcedureTypeDoesNothing() {
    FMain->Add1->trigger();
    FEditor->cbbProcTYP->setCurrentIndex(-1);
    QTest::mouseClick(FEditor->btnProcADD, Qt::LeftButton);
    QCOMPARE(FEditor->lvProcedures->topLevelItemCount(), 0);
    QCOMPARE(FEditor->edtSVCCount->text(), QStringLiteral("0"));
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
    FMain->Add1->trigger();
    TypeInto(FEditor->edtKMStand, km);
    TypeInto(FEditor->edtWorkshopID, workshop);
    if (procedure) ChooseProcedure(0, 0);
    const Shown shown = PressOK();
    QCOMPARE(shown.text, QStringLiteral("INVALID DATA\r\nPlease check input parameters:\r\n> KM Stand\r\n> WorkshopID\r\n> Procedures done"));
    QCOMPARE(shown.icon, QMessageBox::NoIcon);
    QCOMPARE(shown.buttons, 1);
    QVERIFY(FEditor->isVisible());
    QVERIFY(FMain->SHRecord.empty());
    QCOMPARE(FEditor->edtKMStand->text(), km);
  }

  void kmZeroIsAccepted() {
    FMain->Add1->trigger();
    TypeInto(FEditor->edtKMStand, QStringLiteral("0"));
    TypeInto(FEditor->edtWorkshopID, QStringLiteral("W"));
    ChooseProcedure(0, 0);
    QCOMPARE(ClickOK(), QString());
    QCOMPARE(FMain->SHRecord.size(), std::size_t{1});
    QCOMPARE(KMStand(FMain->SHRecord[0]), 0u);
  }

  void kmThatIsNoIntegerGoesToTheErrorReport() {
    LoadList({EntryWithProcedures(1)});
    FMain->Add1->trigger();
    FEditor->edtKMStand->setText(QStringLiteral("12a"));  // a paste past the digits-only typing
    TypeInto(FEditor->edtWorkshopID, QStringLiteral("W"));
    ChooseProcedure(0, 0);
    FMain->_temprec = {1, 2, 3};
    const Shown shown = PressOK();
    QCOMPARE(shown.text, QStringLiteral("'12a' is not a valid integer value."));
    QCOMPARE(shown.icon, QMessageBox::Critical);
    QVERIFY(FEditor->isVisible());
    QCOMPARE(FMain->_temprec, (TBuffer{1, 2, 3}));
    QCOMPARE(FMain->SHRecord, THistoryList{EntryWithProcedures(1)});
    QCOMPARE(FEditor->lvProcedures->topLevelItemCount(), 1);
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

  void anInvalidStoredDateIsReportedAndLoadsNothing() {
    QFETCH(int, day);
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(QString, shown);
    FMain->Add1->trigger();
    TypeInto(FEditor->edtKMStand, QStringLiteral("777"));
    FEditor->close();

    TBuffer bad = EntryWithProcedures(2, 5000);
    bad[0] = static_cast<uint8_t>(day);
    bad[1] = static_cast<uint8_t>(month);
    StoreBigEndian16(&bad[2], static_cast<uint16_t>(year));
    LoadList({bad});
    QString seen;
    WhenMessageBox([&](QMessageBox* box) { seen = box->text(); });
    EditRow(0);
    QCOMPARE(seen, shown);
    QVERIFY(FEditor->isVisible());
    QCOMPARE(FEditor->lvProcedures->topLevelItemCount(), 0);
    QCOMPARE(FEditor->edtSVCCount->text(), QStringLiteral("0"));
    QCOMPARE(FEditor->edtKMStand->text(), QStringLiteral("777"));
    QCOMPARE(FEditor->dtp1->date(), QDate(2019, 12, 15));
  }

  void addOrEditWhileOpenOnlyBringsTheEditorToTheFront() {
    LoadList({EntryWithProcedures(1, 1111), EntryWithProcedures(2, 2222)});
    EditRow(0);
    QCOMPARE(FEditor->edtKMStand->text(), QStringLiteral("1111"));
    EditRow(1);
    QCOMPARE(FEditor->edtKMStand->text(), QStringLiteral("1111"));  // not loaded again
    QCOMPARE(FEditor->EntryID, 1);
    QCOMPARE(FMain->_temprec, EntryWithProcedures(2, 2222));
    FMain->Add1->trigger();
    QCOMPARE(FEditor->edtKMStand->text(), QStringLiteral("1111"));
    QCOMPARE(FEditor->CreateNew, true);
    QCOMPARE(FEditor->lvProcedures->topLevelItemCount(), 1);
    // "OK" now stores what the fields show, as a new entry.
    QCOMPARE(ClickOK(), QString());
    QCOMPARE(FMain->SHRecord.size(), std::size_t{3});
    QCOMPARE(KMStand(FMain->SHRecord[0]), 1111u);
  }

  void cancelClearsAndStoresNothing() {
    LoadList({EntryWithProcedures(1, 1111)});
    EditRow(0);
    QTest::mouseClick(FEditor->btnCancel, Qt::LeftButton);
    QVERIFY(!FEditor->isVisible());
    QCOMPARE(FEditor->edtKMStand->text(), QString());
    QCOMPARE(FEditor->edtWorkshopID->text(), QString());
    QCOMPARE(FEditor->lvProcedures->topLevelItemCount(), 0);
    QCOMPARE(FEditor->edtSVCCount->text(), QStringLiteral("0"));
    QCOMPARE(FMain->SHRecord, THistoryList{EntryWithProcedures(1, 1111)});
  }

  void theTwoHundredFiftySixthProcedureIsRefused() {
    FMain->Add1->trigger();
    FEditor->cbbProcTYP->setCurrentIndex(0);
    for (int i = 0; i < 255; ++i) QTest::mouseClick(FEditor->btnProcADD, Qt::LeftButton);
    QCOMPARE(FEditor->edtSVCCount->text(), QStringLiteral("255"));
    QString shown;
    QMessageBox::Icon icon = QMessageBox::Critical;
    WhenMessageBox([&](QMessageBox* box) {
      shown = box->text();
      icon = box->icon();
    });
    QTest::mouseClick(FEditor->btnProcADD, Qt::LeftButton);
    QVERIFY(shown.contains(QStringLiteral("255")));
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(FEditor->lvProcedures->topLevelItemCount(), 255);
    QCOMPARE(FEditor->edtSVCCount->text(), QStringLiteral("255"));

    TypeInto(FEditor->edtKMStand, QStringLiteral("1"));
    TypeInto(FEditor->edtWorkshopID, QStringLiteral("W"));
    QCOMPARE(ClickOK(), QString());
    QCOMPARE(FMain->SHRecord[0].size(), 19u + 8u * 255u);
  }

  // An edit never replaces the wrong entry, whatever happens to the list while the editor is open.
  void anEditKeepsItsEntryWhileTheListChanges() {
    LoadList(FourEntries());
    EditRow(2);  // km 2000
    TypeInto(FEditor->edtKMStand, QStringLiteral("2500"));
    SelectRow(0);
    FMain->Delete2->trigger();  // an entry above the edited one goes
    QCOMPARE(FEditor->EntryID, 1);
    QCOMPARE(ClickOK(), QString());
    QCOMPARE(FMain->SHRecord.size(), std::size_t{3});
    QCOMPARE(KMStand(FMain->SHRecord[0]), 3000u);
    QCOMPARE(KMStand(FMain->SHRecord[1]), 2500u);
    QCOMPARE(KMStand(FMain->SHRecord[2]), 1000u);
  }

  void anEditOfADeletedEntryIsAddedAtTheEnd() {
    LoadList(FourEntries());
    EditRow(1);  // km 3000
    TypeInto(FEditor->edtKMStand, QStringLiteral("3500"));
    SelectRow(1);
    FMain->Delete2->trigger();  // the edited entry itself goes
    QCOMPARE(FEditor->EntryID, kEntryGone);
    SelectRow(2);
    FMain->Delete2->trigger();  // and one below it
    QCOMPARE(ClickOK(), QString());
    QCOMPARE(FMain->SHRecord.size(), std::size_t{3});
    QCOMPARE(KMStand(FMain->SHRecord[0]), 4000u);
    QCOMPARE(KMStand(FMain->SHRecord[1]), 2000u);
    QCOMPARE(KMStand(FMain->SHRecord[2]), 3500u);
  }

  void anEditKeepsItsEntryWhenOneBelowItGoesAndIsAddedAfterAnOpen() {
    LoadList(FourEntries());
    EditRow(1);
    SelectRow(3);
    FMain->Delete2->trigger();
    QCOMPARE(FEditor->EntryID, 1);

    TempDir dir;
    const std::string other = dir.File("other.kelta");
    WriteBytes(other, JoinHistory({EntryWithProcedures(1, 9000)}));
    WhenModal([other](QWidget* w) { AcceptFileDialog(qobject_cast<QFileDialog*>(w), QString::fromStdString(other)); });
    ClickHeaderSection(THeaderSection::Open);
    QCOMPARE(FEditor->EntryID, kEntryGone);
    QCOMPARE(ClickOK(), QString());
    QCOMPARE(FMain->SHRecord.size(), std::size_t{2});
    QCOMPARE(KMStand(FMain->SHRecord[0]), 9000u);
    QCOMPARE(KMStand(FMain->SHRecord[1]), 3000u);
  }

  void screenshot() {
    const QByteArray folder = qgetenv("TARVELO_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("set TARVELO_SCREENSHOT_DIR to a folder to take the README's screenshots");
    const std::optional<THistoryList> sample = SplitHistory(ReadBytes(TARVELO_SOURCE_DIR "/examples/sample.kelta"));
    QVERIFY(sample);
    LoadList(*sample);
    EditRow(2);
    FEditor->cbbProcTYP->setCurrentIndex(13);
    FEditor->lvProcedures->setCurrentItem(FEditor->lvProcedures->topLevelItem(1));
    QVERIFY(FEditor->grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/editor.png")));

    FMain->Add1->trigger();  // the editor is open: its fields stay, an empty km shows the message
    FEditor->edtKMStand->clear();
    bool saved = false;
    WhenMessageBox([&](QMessageBox* box) {
      saved = box->grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/invalid-data.png"));
    });
    QTest::mouseClick(FEditor->btnSAVE, Qt::LeftButton);
    QVERIFY(saved);
  }
};

TARVELO_QT_TEST_MAIN(TestEditor)
#include "ui_editor_test.moc"
