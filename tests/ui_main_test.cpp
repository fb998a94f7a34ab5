// The main window as a real widget: real clicks on the header bar, the real file dialogs and
// message boxes, the texts the lists really show.
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTreeView>

#include "AllocationFailure.h"
#include "Connect.h"
#include "HistoryFile.h"
#include "TarveloError.h"
#include "TempDir.h"
#include "TestEntries.h"
#include "UiTestSupport.h"
#include "uEditor.h"
#include "uInfo.h"

namespace {

// Three entries with distinct km values 3000 (top), 2000, 1000.
THistoryList ThreeEntries() {
  return {EntryWithProcedures(1, 3000), ExampleEntryBytes(), EntryWithProcedures(0, 1000)};
}

// An object whose events throw, to reach the error report the way a failing handler does.
class Thrower : public QObject {
 public:
  explicit Thrower(QString text) : text_(std::move(text)) {}
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw TarveloError(text_.toStdString());
    return QObject::event(e);
  }

 private:
  QString text_;
};

}  // namespace

class TestMainWindow : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TempDir> dir_;

  QString WriteFile(const QString& name, const TBuffer& bytes) {
    const std::string path = dir_->File(name.toStdString());
    WriteBytes(path, bytes);
    return QString::fromStdString(path);
  }

  // "Open" through the real dialog, choosing path.
  void OpenThroughDialog(const QString& path) {
    WhenModal([path](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      QVERIFY(dialog);
      AcceptFileDialog(dialog, path);
    });
    ClickHeaderSection(THeaderSection::Open);
  }

  QString Status() const { return FMain->stat1->text(); }
  QStringList Column(QTreeView* view, int column) const {
    QStringList texts;
    for (const QStringList& row : ModelTexts(view->model())) texts << row[column];
    return texts;
  }

 private slots:
  void init() {
    dir_ = std::make_unique<TempDir>();
    CreateWindows();
    FMain->show();
    QVERIFY(QTest::qWaitForWindowExposed(FMain));
  }

  void cleanup() {
    CancelModalWatchers();
    DestroyWindows();
    dir_.reset();
  }

  void startsAsTheProgramDoes() {
    QCOMPARE(FMain->windowTitle(), QStringLiteral("Quenmark: BMW Tarvelo 1.00.100"));
    QCOMPARE(FMain->size(), QSize(1019, 550));
    QCOMPARE(FMain->minimumSize(), FMain->maximumSize());
    QVERIFY(!(FMain->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(Status(), QStringLiteral("Status: Hello world"));
    QCOMPARE(FMain->statusBar()->height(), 19);
    QVERIFY(FMain->stat1->width() >= 200);
    QVERIFY(FMain->SHRecord.empty());
    QVERIFY(FMain->_temprec.empty());

    // The other windows exist, hidden, created after the main window in this order.
    QVERIFY(FEditor && FConnect && FInfo);
    QVERIFY(!FEditor->isVisible() && !FConnect->isVisible() && !FInfo->isVisible());
    QList<QObject*> windows;
    for (QObject* child : FMain->children()) {
      if (qobject_cast<TFEditor*>(child) || qobject_cast<TFConnect*>(child) || qobject_cast<TFInfo*>(child)) windows << child;
    }
    QCOMPARE(windows, (QList<QObject*>{FEditor, FConnect, FInfo}));

    // The header bar: six sections with their captions, widths, icons and fixed widths.
    QHeaderView* bar = FMain->hdrcntrl1;
    QCOMPARE(bar->height(), 33);
    QCOMPARE(bar->width(), 1019);
    QCOMPARE(HeaderTexts(bar->model()),
             (QStringList{"Open", "Save As", "Clear", "Read from car", "Write to car", "Info / Help"}));
    const int widths[] = {75, 90, 90, 120, 120, 120};
    const bool fixed[] = {true, true, false, false, false, true};
    for (int i = 0; i < 6; ++i) {
      QCOMPARE(bar->sectionSize(i), widths[i]);
      QCOMPARE(bar->sectionResizeMode(i) == QHeaderView::Fixed, fixed[i]);
      QVERIFY(!bar->model()->headerData(i, Qt::Horizontal, Qt::DecorationRole).value<QIcon>().isNull());
    }

    // The lists: captions, widths, alignments, selection.
    QCOMPARE(HeaderTexts(FMain->lv1->model()),
             (QStringList{"#", "Date", "KM stand", "Workshop type", "Workshop ID", "Status", "CNT"}));
    const int entryWidths[] = {35, 120, 100, 120, 100, 120, 35};
    for (int c = 0; c < 7; ++c) QCOMPARE(FMain->lv1->columnWidth(c), entryWidths[c]);
    QCOMPARE(FMain->lv1->width(), 649);
    QCOMPARE(FMain->lv1->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(FMain->lv1->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(FMain->lv1->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(HeaderTexts(FMain->lv2->model()), (QStringList{"#", "SERVICE TYPE", "STATUS"}));
    const int procedureWidths[] = {35, 200, 120};
    for (int c = 0; c < 3; ++c) QCOMPARE(FMain->lv2->columnWidth(c), procedureWidths[c]);
    QCOMPARE(FMain->lv2->contextMenuPolicy(), Qt::DefaultContextMenu);

    // The popup menu: Add, separator, Edit, separator, Delete, each command with its icon.
    const QList<QAction*> items = FMain->pmMain->actions();
    QCOMPARE(items.size(), 5);
    QCOMPARE(items[0]->text(), QStringLiteral("Add"));
    QVERIFY(items[1]->isSeparator());
    QCOMPARE(items[2]->text(), QStringLiteral("Edit"));
    QVERIFY(items[3]->isSeparator());
    QCOMPARE(items[4]->text(), QStringLiteral("Delete"));
    for (int i : {0, 2, 4}) QVERIFY(!items[i]->icon().isNull());
  }

  void opensAFileThroughTheDialogAndListsItsEntries() {
    TBuffer unknown = EntryWithProcedures(2, 4294967295u);
    unknown[9] = 2;     // workshop type outside the table
    unknown[17] = 0;    // service status outside the table
    unknown[19] = 7;    // procedure code outside the table
    unknown[20] = 255;  // procedure status outside the table
    const QString path = WriteFile("three.kelta", JoinHistory({ExampleEntryBytes(), unknown, EntryWithProcedures(0)}));

    WhenModal([](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      QVERIFY(dialog);
      QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
      QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
      QCOMPARE(dialog->nameFilters(), QStringList{"BMW SERVICE HISTORY FILES (*.kelta)"});
      QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir::current().canonicalPath());
      QCOMPARE(dialog->defaultSuffix(), QString());
      dialog->reject();
    });
    ClickHeaderSection(THeaderSection::Open);
    QCOMPARE(Status(), QStringLiteral("Status: File not opened"));

    OpenThroughDialog(path);
    QCOMPARE(Status(), QStringLiteral("Status: File: ") + path);
    QCOMPARE(FMain->_lastfn, path);
    QVERIFY(FMain->_temprec.empty());
    QCOMPARE(FMain->SHRecord.size(), std::size_t{3});
    QCOMPARE(ModelTexts(FMain->lv1->model()),
             (QList<QStringList>{{"3", "1.2.2020", "1000", "BMW Service", "A1", "LATE", "2"},
                                 {"2", "1.2.2020", "4294967295", "UNKNOWN", "A1", "UNKNOWN(0)", "2"},
                                 {"1", "1.2.2020", "1000", "BMW Service", "A1", "LATE", "0"}}));
    QCOMPARE(FMain->lv1->model()->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
             Qt::AlignRight);
    QCOMPARE(FMain->lv1->model()->index(0, 3).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);
    QVERIFY(ModelTexts(FMain->lv2->model()).isEmpty());

    // Selecting rows fills the procedures list; an entry without procedures leaves it empty.
    QTest::mouseClick(FMain->lv1->viewport(), Qt::LeftButton, {}, RowCenter(FMain->lv1, 0));
    QCOMPARE(ModelTexts(FMain->lv2->model()),
             (QList<QStringList>{{"1", "Engine oil", "ON TIME"}, {"2", "Vehicle check", "OVERDUE"}}));
    QTest::mouseClick(FMain->lv1->viewport(), Qt::LeftButton, {}, RowCenter(FMain->lv1, 1));
    QCOMPARE(ModelTexts(FMain->lv2->model()),
             (QList<QStringList>{{"1", "UNKNOWN(7)", "UNKNOWN(255)"}, {"2", "Engine oil", "ON TIME"}}));
    QTest::mouseClick(FMain->lv1->viewport(), Qt::LeftButton, {}, RowCenter(FMain->lv1, 2));
    QVERIFY(ModelTexts(FMain->lv2->model()).isEmpty());
    QTest::mouseClick(FMain->lv1->viewport(), Qt::LeftButton, {}, RowCenter(FMain->lv1, 0));
    FMain->lv1->clearSelection();
    QVERIFY(ModelTexts(FMain->lv2->model()).isEmpty());
  }

  void rejectedFileKeepsThePreviousEntries() {
    const QString good = WriteFile("good.kelta", JoinHistory(ThreeEntries()));
    OpenThroughDialog(good);
    const QList<QStringList> before = ModelTexts(FMain->lv1->model());
    for (const char* name : {"empty.kelta", "short.kelta"}) {
      const QString bad = WriteFile(name, name == std::string("empty.kelta") ? TBuffer{} : TBuffer(20, 0));
      OpenThroughDialog(bad);
      QCOMPARE(Status(), QStringLiteral("Status: Invalid data: ") + bad);
      QCOMPARE(FMain->SHRecord, ThreeEntries());
      QCOMPARE(ModelTexts(FMain->lv1->model()), before);
      QCOMPARE(FMain->_lastfn, bad);
    }
  }

  void aFileTooBigForTheMemoryLeftIsInvalidDataAndThePreviousEntriesStay() {
    const QString good = WriteFile("good.kelta", JoinHistory(ThreeEntries()));
    OpenThroughDialog(good);
    const QList<QStringList> before = ModelTexts(FMain->lv1->model());
    const std::size_t entries = 1000;
    const QString many = WriteFile("many.kelta", JoinHistory(THistoryList(entries, EntryWithProcedures(0))));
    {
      ScopedAllocationFailure noMemory(entries * sizeof(TBuffer));  // the list the entries would go into
      OpenThroughDialog(many);
      QVERIFY(FailedAllocations() > 0);
    }
    QCOMPARE(Status(), QStringLiteral("Status: Invalid data: ") + many);
    QCOMPARE(FMain->SHRecord, ThreeEntries());
    QCOMPARE(ModelTexts(FMain->lv1->model()), before);
  }

  void unreadableFileGoesToTheErrorReportAndTheProgramGoesOn() {
    const QString path = WriteFile("vanishing.kelta", ExampleEntryBytes());
    QString shown;
    int buttons = 0;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    WhenModal([&](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      QVERIFY(dialog);
      // The file goes away after the dialog has accepted it and before it is read.
      connect(dialog, &QDialog::accepted, [path] { QFile::remove(path); });
      WhenMessageBox([&](QMessageBox* box) {
        shown = box->text();
        buttons = box->buttons().size();
        icon = box->icon();
        title = box->windowTitle();
      });
      AcceptFileDialog(dialog, path);
    });
    ClickHeaderSection(THeaderSection::Open);
    QCOMPARE(shown, QStringLiteral("Cannot open file \"") + path + QStringLiteral("\". No such file or directory."));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, 1);
    QCOMPARE(title, QStringLiteral("Tarvelo"));
    QCOMPARE(Status(), QStringLiteral("Status: Hello world"));
    QCOMPARE(FMain->_lastfn, path);
    QVERIFY(FMain->SHRecord.empty());

    // The program goes on: the next command works.
    OpenThroughDialog(WriteFile("good.kelta", ExampleEntryBytes()));
    QCOMPARE(FMain->SHRecord.size(), std::size_t{1});
  }

  void numbersCountDownAndANewEntryGetsTheNextNumber() {
    FMain->SHRecord = ThreeEntries();
    FMain->RefreshList();
    QCOMPARE(Column(FMain->lv1, 0), (QStringList{"3", "2", "1"}));
    FMain->_temprec = EntryWithProcedures(1, 4000);
    FMain->elementADD();
    QCOMPARE(Column(FMain->lv1, 0), (QStringList{"4", "3", "2", "1"}));
    QCOMPARE(Column(FMain->lv1, 2), (QStringList{"4000", "3000", "1000", "1000"}));
  }

  void clearEmptiesTheViewsAndSaveAsStillSavesEveryEntry() {
    OpenThroughDialog(WriteFile("three.kelta", JoinHistory(ThreeEntries())));
    QTest::mouseClick(FMain->lv1->viewport(), Qt::LeftButton, {}, RowCenter(FMain->lv1, 0));
    ClickHeaderSection(THeaderSection::Clear);
    QCOMPARE(FMain->lv1->model()->rowCount(), 0);
    QCOMPARE(FMain->lv2->model()->rowCount(), 0);
    QCOMPARE(FMain->SHRecord, ThreeEntries());

    // Without a selection, "Edit" and "Delete" do nothing.
    FMain->Edit1->trigger();
    FMain->Delete2->trigger();
    QVERIFY(!FEditor->isVisible());
    QCOMPARE(FMain->SHRecord.size(), std::size_t{3});

    const QString target = QString::fromStdString(dir_->File("saved"));
    WhenModal([target](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      QVERIFY(dialog);
      QCOMPARE(dialog->windowTitle(), QStringLiteral("Save BMW Service History File"));
      QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
      QCOMPARE(dialog->defaultSuffix(), QStringLiteral("bin"));
      QCOMPARE(dialog->nameFilters(), QStringList{"BMW SERVICE HISTORY FILES (*.kelta)"});
      QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
      QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir::current().canonicalPath());
      AcceptFileDialog(dialog, target);
    });
    ClickHeaderSection(THeaderSection::SaveAs);
    QCOMPARE(Status(), QStringLiteral("Status: File saved: ") + target + QStringLiteral(".bin"));
    QCOMPARE(ReadBytes(target.toStdString() + ".bin"), JoinHistory(ThreeEntries()));
  }

  void saveAsWithAnEmptyListShowsNoDialog() {
    bool dialogShown = false;
    WhenModal([&](QWidget* w) {
      dialogShown = true;
      w->close();
    }, 300);
    ClickHeaderSection(THeaderSection::SaveAs);
    QTest::qWait(400);
    QVERIFY(!dialogShown);
    QCOMPARE(Status(), QStringLiteral("Status: Hello world"));
  }

  void saveIntoAMissingDirectoryGoesToTheErrorReport() {
    FMain->SHRecord = ThreeEntries();
    const QString target = QString::fromStdString(dir_->File("gone/saved.kelta"));
    QString shown;
    WhenModal([&](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      QVERIFY(dialog);
      WhenMessageBox([&](QMessageBox* box) { shown = box->text(); });
      AcceptFileDialog(dialog, target);
    });
    ClickHeaderSection(THeaderSection::SaveAs);
    QCOMPARE(shown, QStringLiteral("Cannot create file \"") + target + QStringLiteral("\". No such file or directory."));
    QCOMPARE(Status(), QStringLiteral("Status: Hello world"));
    QCOMPARE(FMain->SHRecord, ThreeEntries());
  }

  void deleteRemovesTheSelectedEntryAtOnce() {
    FMain->SHRecord = ThreeEntries();
    FMain->RefreshList();
    QTest::mouseClick(FMain->lv1->viewport(), Qt::LeftButton, {}, RowCenter(FMain->lv1, 1));
    FMain->Delete2->trigger();
    QCOMPARE(FMain->SHRecord, (THistoryList{ThreeEntries()[0], ThreeEntries()[2]}));
    QCOMPARE(Column(FMain->lv1, 0), (QStringList{"2", "1"}));
    QVERIFY(FMain->lv1->selectionModel()->selectedRows().isEmpty());
    QCOMPARE(FMain->lv2->model()->rowCount(), 0);
  }

  void addAndDoubleClickPrepareTheEditor() {
    FMain->SHRecord = ThreeEntries();
    FMain->RefreshList();
    DoubleClickRow(FMain->lv1, 1);
    QVERIFY(FEditor->isVisible());
    QCOMPARE(FEditor->CreateNew, false);
    QCOMPARE(FEditor->EntryID, 1);
    QCOMPARE(FMain->_temprec, ThreeEntries()[1]);

    FMain->Add1->trigger();
    QCOMPARE(FEditor->CreateNew, true);
    QCOMPARE(FEditor->EntryID, 9999);
    QVERIFY(FMain->_temprec.empty());
  }

  void otherSectionsShowTheirWindows() {
    ClickHeaderSection(THeaderSection::ReadFromCar);
    QCOMPARE(Status(), QStringLiteral("Status: Reading the service history back from a car is not supported"));
    ClickHeaderSection(THeaderSection::WriteToCar);
    QVERIFY(FConnect->isVisible());
    ClickHeaderSection(THeaderSection::InfoHelp);
    QVERIFY(FInfo->isVisible());
    QVERIFY(FMain->isEnabled());  // modeless: the main window stays usable
  }

  void errorReportAppendsAFullStop_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "Cannot create file \"x\". Permission denied" << "Cannot create file \"x\". Permission denied.";
    QTest::newRow("full stop") << "Done." << "Done.";
    QTest::newRow("digit") << "'1.2.20' is not a valid date" << "'1.2.20' is not a valid date.";
    QTest::newRow("comma") << "a," << "a,";
    QTest::newRow("closing bracket") << "(a)" << "(a)";
    QTest::newRow("quote") << "'12a'" << "'12a'";
    QTest::newRow("slash") << "a/" << "a/.";
    QTest::newRow("umlaut") << QString::fromUtf8("M\xC3\xBC") << QString::fromUtf8("M\xC3\xBC.");
  }

  void errorReportAppendsAFullStop() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    Thrower thrower(text);
    QString seen;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenMessageBox([&](QMessageBox* box) {
      seen = box->text();
      icon = box->icon();
    });
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &event);
    QCOMPARE(seen, shown);
    QCOMPARE(icon, QMessageBox::Critical);
  }

  void screenshot() {
    const QByteArray folder = qgetenv("TARVELO_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("set TARVELO_SCREENSHOT_DIR to a folder to take the README's screenshots");
    OpenThroughDialog(QStringLiteral(TARVELO_SOURCE_DIR "/examples/sample.kelta"));
    QTest::mouseClick(FMain->lv1->viewport(), Qt::LeftButton, {}, RowCenter(FMain->lv1, 2));
    FMain->SetStatus(QStringLiteral("File: sample.kelta"));
    QVERIFY(FMain->grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/main-window.png")));
  }
};

TARVELO_QT_TEST_MAIN(TestMainWindow)
#include "ui_main_test.moc"
