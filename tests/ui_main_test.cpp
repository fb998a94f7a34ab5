// The main window as a real widget: real clicks on the header bar, the real file dialogs and
// message boxes, the texts the lists really show.
#include <QDir>
#include <QProcess>
#include <QScreen>
#include <QFileDialog>
#include <QLocale>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QProgressDialog>
#include <QScrollBar>
#include <QMenu>
#include <QStatusBar>
#include <QTreeView>

#include "book/ServiceBook.h"
#include "exchange/HistoryExchange.h"
#include "history/CodeTables.h"
#include "history/HistoryFile.h"
#include "history/TarveloError.h"
#include "tests/TestEntries.h"
#include "tests/support/AllocationFailure.h"
#include "tests/support/ProgramWindowsTest.h"
#include "tests/support/TempDir.h"
#include "tests/support/UiTestSupport.h"
#include "ui/WindowPlacement.h"
#include "ui/uEditor.h"
#include "ui/uInfo.h"
#include "ui/uMain.h"

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
    if (e->type() == QEvent::User) throw ETarveloError(text_.toStdString());
    return QObject::event(e);
  }

 private:
  QString text_;
};

}  // namespace

class TestMainWindow : public TProgramWindowsTest {
  Q_OBJECT

 private:
  QTreeView* Lv2() { return Find<QTreeView>(Main(), "lv2"); }
  QAction* Command(const char* name) { return Find<QAction>(Main(), name); }
  void ClickSection(THeaderSection section) { ClickHeaderSection(Main(), section); }
  QLineEdit* EditorKm() { return Find<QLineEdit>(Editor(), "edtKMStand"); }

  // A key pressed on the entries list, as the user does with the main window in front.
  void PressOnList(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Main().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&Main()));
    Lv1()->setFocus();
    QTest::keyClick(Lv1(), key, modifiers);
  }

  QString WriteFile(const QString& name, const TBuffer& bytes) {
    const std::string path = Dir().File(name.toStdString());
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
    ClickSection(THeaderSection::Open);
  }

  QString Status() { return Find<QLabel>(Main(), "stat1")->text(); }
  QStringList Column(QTreeView* view, int column) const {
    QStringList texts;
    for (const QStringList& row : ModelTexts(view->model())) texts << row[column];
    return texts;
  }

 private slots:
  void startsAsTheProgramDoes() {
    QCOMPARE(Main().windowTitle(), QStringLiteral("Quenmark: BMW Tarvelo 1.00.100"));
    QCOMPARE(Main().size(), QSize(1019, 550));
    QCOMPARE(Main().minimumSize(), Main().maximumSize());
    QVERIFY(!(Main().windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(Status(), QStringLiteral("Status: Hello world"));
    QCOMPARE(Main().statusBar()->height(), 19);
    QVERIFY(Find<QLabel>(Main(), "stat1")->width() >= 200);
    QVERIFY(Entries().empty());

    // The other windows exist, hidden, created after the main window in this order.
    QVERIFY(!Editor().isVisible() && !Connect().isVisible() && !Info().isVisible());
    QList<QObject*> windows;
    for (QObject* child : Main().children()) {
      if (qobject_cast<TFEditor*>(child) || qobject_cast<TFConnect*>(child) || qobject_cast<TFInfo*>(child)) windows << child;
    }
    QCOMPARE(windows, (QList<QObject*>{&Editor(), &Connect(), &Info()}));

    // The header bar: six sections with their captions, widths, icons and fixed widths.
    QHeaderView* bar = Find<QHeaderView>(Main(), "hdrcntrl1");
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
    QCOMPARE(HeaderTexts(Lv1()->model()),
             (QStringList{"#", "Date", "KM stand", "Workshop type", "Workshop ID", "Status", "CNT"}));
    // "#" is wide enough for five digits: the entries of a history of 99,999. (The others share the
    // rest: theColumnsLeaveRoomForTheScrollBar.)
    QVERIFY(Lv1()->columnWidth(0) >= 35);
    QVERIFY(Lv1()->columnWidth(0) >= Lv1()->fontMetrics().horizontalAdvance(QStringLiteral("99999")) + 8);
    QCOMPARE(Lv1()->width(), 649);
    QCOMPARE(Lv1()->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(Lv1()->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(Lv1()->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(HeaderTexts(Lv2()->model()), (QStringList{"#", "SERVICE TYPE", "STATUS"}));
    const int procedureWidths[] = {35, 200, 120};
    for (int c = 0; c < 3; ++c) QCOMPARE(Lv2()->columnWidth(c), procedureWidths[c]);
    QCOMPARE(Lv2()->contextMenuPolicy(), Qt::DefaultContextMenu);

    // The popup menu: Add, separator, Edit, separator, Delete, each command with its icon; then
    // Undo and Redo, which have nothing to do yet.
    const QList<QAction*> items = Find<QMenu>(Main(), "pmMain")->actions();
    QCOMPARE(items.size(), 8);
    QVERIFY(items[5]->isSeparator());
    QCOMPARE(items[6], Command("Undo1"));
    QCOMPARE(items[7], Command("Redo1"));
    QVERIFY(!items[6]->isEnabled() && !items[7]->isEnabled());
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
      // A history file saved with the default type is "*.bin": it is listed too, and every file can be.
      QCOMPARE(dialog->nameFilters(), (QStringList{"BMW SERVICE HISTORY FILES (*.kelta *.bin)", "CSV for spreadsheets (*.csv)",
                                                   "JSON (*.json)", "All files (*)"}));
      QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("BMW SERVICE HISTORY FILES (*.kelta *.bin)"));
      QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir::current().canonicalPath());
      QCOMPARE(dialog->defaultSuffix(), QString());
      dialog->reject();
    });
    ClickSection(THeaderSection::Open);
    QCOMPARE(Status(), QStringLiteral("Status: File not opened"));

    OpenThroughDialog(path);
    QCOMPARE(Status(), QStringLiteral("Status: File: ") + path);
    QCOMPARE(Entries().size(), std::size_t{3});
    QCOMPARE(ModelTexts(Lv1()->model()),
             (QList<QStringList>{{"3", "1.2.2020", "1000", "BMW Service", "A1", "LATE", "2"},
                                 {"2", "1.2.2020", "4294967295", "UNKNOWN", "A1", "UNKNOWN(0)", "2"},
                                 {"1", "1.2.2020", "1000", "BMW Service", "A1", "LATE", "0"}}));
    QCOMPARE(Lv1()->model()->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
             Qt::AlignRight);
    QCOMPARE(Lv1()->model()->index(0, 3).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);
    QVERIFY(ModelTexts(Lv2()->model()).isEmpty());

    // Selecting rows fills the procedures list; an entry without procedures leaves it empty.
    QTest::mouseClick(Lv1()->viewport(), Qt::LeftButton, {}, RowCenter(Lv1(), 0));
    QCOMPARE(ModelTexts(Lv2()->model()),
             (QList<QStringList>{{"1", "Engine oil", "ON TIME"}, {"2", "Vehicle check", "OVERDUE"}}));
    QTest::mouseClick(Lv1()->viewport(), Qt::LeftButton, {}, RowCenter(Lv1(), 1));
    QCOMPARE(ModelTexts(Lv2()->model()),
             (QList<QStringList>{{"1", "UNKNOWN(7)", "UNKNOWN(255)"}, {"2", "Engine oil", "ON TIME"}}));
    QTest::mouseClick(Lv1()->viewport(), Qt::LeftButton, {}, RowCenter(Lv1(), 2));
    QVERIFY(ModelTexts(Lv2()->model()).isEmpty());
    QTest::mouseClick(Lv1()->viewport(), Qt::LeftButton, {}, RowCenter(Lv1(), 0));
    Lv1()->clearSelection();
    QVERIFY(ModelTexts(Lv2()->model()).isEmpty());
  }

  void rejectedFileKeepsThePreviousEntries() {
    const QString good = WriteFile("good.kelta", JoinHistory(ThreeEntries()));
    OpenThroughDialog(good);
    const QList<QStringList> before = ModelTexts(Lv1()->model());
    for (const char* name : {"empty.kelta", "short.kelta"}) {
      const QString bad = WriteFile(name, name == std::string("empty.kelta") ? TBuffer{} : TBuffer(20, 0));
      OpenThroughDialog(bad);
      QCOMPARE(Status(), QStringLiteral("Status: Invalid data: ") + bad);
      QCOMPARE(Entries(), ThreeEntries());
      QCOMPARE(ModelTexts(Lv1()->model()), before);
    }
  }

  void aFileTooBigForTheMemoryLeftIsInvalidDataAndThePreviousEntriesStay() {
    const QString good = WriteFile("good.kelta", JoinHistory(ThreeEntries()));
    OpenThroughDialog(good);
    const QList<QStringList> before = ModelTexts(Lv1()->model());
    const std::size_t entries = 1000;
    const QString many = WriteFile("many.kelta", JoinHistory(THistoryList(entries, EntryWithProcedures(0))));
    {
      ScopedAllocationFailure noMemory(entries * sizeof(TBuffer));  // the list the entries would go into
      OpenThroughDialog(many);
      QVERIFY(FailedAllocations() > 0);
    }
    QCOMPARE(Status(), QStringLiteral("Status: Invalid data: ") + many);
    QCOMPARE(Entries(), ThreeEntries());
    QCOMPARE(ModelTexts(Lv1()->model()), before);
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
    ClickSection(THeaderSection::Open);
    QCOMPARE(shown, QStringLiteral("Cannot open file \"") + path + QStringLiteral("\". No such file or directory."));
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(buttons, 1);
    QCOMPARE(title, QStringLiteral("Tarvelo"));
    QCOMPARE(Status(), QStringLiteral("Status: Hello world"));
    QVERIFY(Entries().empty());

    // The program goes on: the next command works.
    OpenThroughDialog(WriteFile("good.kelta", ExampleEntryBytes()));
    QCOMPARE(Entries().size(), std::size_t{1});
  }

  void numbersCountDownAndANewEntryGetsTheNextNumber() {
    History().ReplaceAll(ThreeEntries());
    QCOMPARE(Column(Lv1(), 0), (QStringList{"3", "2", "1"}));
    History().InsertAtFront(EntryWithProcedures(1, 4000));
    QCOMPARE(Column(Lv1(), 0), (QStringList{"4", "3", "2", "1"}));
    QCOMPARE(Column(Lv1(), 2), (QStringList{"4000", "3000", "1000", "1000"}));
  }

  void clearEmptiesTheViewsAndSaveAsStillSavesEveryEntry() {
    OpenThroughDialog(WriteFile("three.kelta", JoinHistory(ThreeEntries())));
    QTest::mouseClick(Lv1()->viewport(), Qt::LeftButton, {}, RowCenter(Lv1(), 0));
    ClickSection(THeaderSection::Clear);
    QCOMPARE(Lv1()->model()->rowCount(), 0);
    QCOMPARE(Lv2()->model()->rowCount(), 0);
    QCOMPARE(Entries(), ThreeEntries());

    // Without a selection, "Edit" and "Delete" do nothing.
    Command("Edit1")->trigger();
    Command("Delete2")->trigger();
    QVERIFY(!Editor().isVisible());
    QCOMPARE(Entries().size(), std::size_t{3});

    const QString target = QString::fromStdString(Dir().File("saved"));
    WhenModal([target](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      QVERIFY(dialog);
      QCOMPARE(dialog->windowTitle(), QStringLiteral("Save BMW Service History File"));
      QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
      QCOMPARE(dialog->defaultSuffix(), QStringLiteral("bin"));
      QCOMPARE(dialog->nameFilters(), (QStringList{"BMW SERVICE HISTORY FILES (*.kelta *.bin)",
                                                   "CSV for spreadsheets, separated by commas (*.csv)",
                                                   "CSV for spreadsheets, separated by semicolons (*.csv)",
                                                   "JSON (*.json)", "PDF service book (*.pdf)"}));
      QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("BMW SERVICE HISTORY FILES (*.kelta *.bin)"));
      QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
      QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir::current().canonicalPath());
      AcceptFileDialog(dialog, target);
    });
    ClickSection(THeaderSection::SaveAs);
    QCOMPARE(Status(), QStringLiteral("Status: File saved: ") + target + QStringLiteral(".bin"));
    QCOMPARE(ReadBytes(target.toStdString() + ".bin"), JoinHistory(ThreeEntries()));
  }

  // Where decimals are written with a comma, spreadsheets split CSV at semicolons: that CSV comes
  // first, and saving it gives the file such a spreadsheet opens without being asked.
  void saveAsOffersTheLocalesCsvSeparatorFirst() {
    History().ReplaceAll(ThreeEntries());
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString target = QString::fromStdString(Dir().File("german"));
    QStringList filters;
    WhenModal([&](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      QVERIFY(dialog);
      filters = dialog->nameFilters();
      dialog->selectNameFilter(filters.value(1));
      emit dialog->filterSelected(filters.value(1));
      AcceptFileDialog(dialog, target);
    });
    ClickSection(THeaderSection::SaveAs);
    QLocale::setDefault(before);
    QCOMPARE(filters, (QStringList{"BMW SERVICE HISTORY FILES (*.kelta *.bin)",
                                   "CSV for spreadsheets, separated by semicolons (*.csv)",
                                   "CSV for spreadsheets, separated by commas (*.csv)", "JSON (*.json)",
                                   "PDF service book (*.pdf)"}));
    const std::string text = ExportHistory(ThreeEntries(), TExchangeFormat::Csv, {kCsvSemicolon});
    QCOMPARE(ReadBytes(target.toStdString() + ".csv"), TBuffer(text.begin(), text.end()));
  }

  void saveAsWithAnEmptyListShowsNoDialogAndSaysWhy() {
    bool dialogShown = false;
    WhenModal([&](QWidget* w) {
      dialogShown = true;
      w->close();
    });
    ClickSection(THeaderSection::SaveAs);  // a dialog would be shown (and closed) within the click
    CancelModalWatchers();
    QVERIFY(!dialogShown);
    // An empty history file would not be valid, so nothing is written; the status says why.
    QCOMPARE(Status(), QStringLiteral("Status: Nothing to save: the list has no entries"));
  }

  void saveIntoAMissingDirectoryGoesToTheErrorReport() {
    History().ReplaceAll(ThreeEntries());
    const QString target = QString::fromStdString(Dir().File("gone/saved.kelta"));
    QString shown;
    WhenModal([&](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      QVERIFY(dialog);
      WhenMessageBox([&](QMessageBox* box) { shown = box->text(); });
      AcceptFileDialog(dialog, target);
    });
    ClickSection(THeaderSection::SaveAs);
    // The path as the dialog gives it: with the system's separators.
    QCOMPARE(shown, QStringLiteral("Cannot create file \"") + QDir::toNativeSeparators(target) +
                        QStringLiteral("\". No such file or directory."));
    QCOMPARE(Status(), QStringLiteral("Status: Hello world"));
    QCOMPARE(Entries(), ThreeEntries());
  }

  void deleteRemovesTheSelectedEntryAtOnce() {
    History().ReplaceAll(ThreeEntries());
    QTest::mouseClick(Lv1()->viewport(), Qt::LeftButton, {}, RowCenter(Lv1(), 1));
    Command("Delete2")->trigger();
    QCOMPARE(Entries(), (THistoryList{ThreeEntries()[0], ThreeEntries()[2]}));
    QCOMPARE(Column(Lv1(), 0), (QStringList{"2", "1"}));
    QVERIFY(Lv1()->selectionModel()->selectedRows().isEmpty());
    QCOMPARE(Lv2()->model()->rowCount(), 0);
  }

  void addAndDoubleClickPrepareTheEditor() {
    History().ReplaceAll(ThreeEntries());
    DoubleClickRow(Lv1(), 1);  // a double-click acts as "Edit"
    QVERIFY(Editor().isVisible());
    QCOMPARE(EditorKm()->text(), QStringLiteral("1000"));

    Command("Add1")->trigger();  // the editor holds no changes: it goes over to a new entry at once
    QVERIFY(Editor().isVisible());
    QCOMPARE(EditorKm()->text(), QString());

    // A double-click below the last row is "Edit" too: without a selection it does nothing.
    Lv1()->clearSelection();
    QTest::mouseDClick(Lv1()->viewport(), Qt::LeftButton, {}, QPoint(20, Lv1()->viewport()->height() - 5));
    QCOMPARE(EditorKm()->text(), QString());
  }

  void otherSectionsShowTheirWindows() {
    ClickSection(THeaderSection::ReadFromCar);
    QCOMPARE(Status(), QStringLiteral("Status: Reading the service history back from a car is not supported"));
    ClickSection(THeaderSection::WriteToCar);
    QVERIFY(Connect().isVisible());
    ClickSection(THeaderSection::InfoHelp);
    QVERIFY(Info().isVisible());
    QVERIFY(Main().isEnabled());  // modeless: the main window stays usable
  }

  // The header bar's commands from the keyboard, with their keys in the tool tips; Delete on the list.
  void theKeyboardReachesEveryCommand() {
    const QString tips[] = {"Open (Ctrl+O)",        "Save As (Ctrl+Shift+S)", "Clear (Ctrl+L)",
                            "Read from car",        "Write to car (Ctrl+W)", "Info / Help (F1)"};
    auto* bar = Find<QHeaderView>(Main(), "hdrcntrl1");
    for (int i = 0; i < 6; ++i) QCOMPARE(bar->model()->headerData(i, Qt::Horizontal, Qt::ToolTipRole).toString(), tips[i]);

    bool openDialog = false;
    WhenModal([&](QWidget* w) {
      openDialog = qobject_cast<QFileDialog*>(w) != nullptr;
      static_cast<QDialog*>(w)->reject();
    });
    PressOnList(Qt::Key_O, Qt::ControlModifier);
    QVERIFY(openDialog);
    QCOMPARE(Status(), QStringLiteral("Status: File not opened"));

    PressOnList(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Status(), QStringLiteral("Status: Nothing to save: the list has no entries"));

    History().ReplaceAll(ThreeEntries());
    PressOnList(Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(Lv1()->model()->rowCount(), 0);
    QCOMPARE(Entries(), ThreeEntries());  // "Clear" empties the views only

    // Delete, on the list with an entry selected, is the menu's "Delete"; the menu shows the key.
    History().ReplaceAll(ThreeEntries());
    QTest::mouseClick(Lv1()->viewport(), Qt::LeftButton, {}, RowCenter(Lv1(), 1));
    PressOnList(Qt::Key_Delete);
    QCOMPARE(Entries(), (THistoryList{ThreeEntries()[0], ThreeEntries()[2]}));
    QCOMPARE(Command("Delete2")->shortcut(), QKeySequence(QKeySequence::Delete));

    PressOnList(Qt::Key_W, Qt::ControlModifier);
    QVERIFY(Connect().isVisible());
    PressOnList(Qt::Key_F1);
    QVERIFY(Info().isVisible());
  }

  // Every control that takes the keyboard shows a frame when it has it: the same control, drawn
  // with and without the focus, looks different.
  void everyFocusableControlShowsTheFocus() {
    History().ReplaceAll(ThreeEntries());
    Command("Add1")->trigger();
    ClickSection(THeaderSection::WriteToCar);
    ClickSection(THeaderSection::InfoHelp);
    int checked = 0;
    for (QWidget* window : {static_cast<QWidget*>(&Main()), static_cast<QWidget*>(&Editor()),
                            static_cast<QWidget*>(&Connect()), static_cast<QWidget*>(&Info())}) {
      window->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(window));
      for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->window() != window || !control->isVisible() || !(control->focusPolicy() & Qt::TabFocus)) continue;
        if (control->focusProxy()) continue;  // its proxy is the one that shows it
        window->setFocus();
        control->clearFocus();
        QCoreApplication::processEvents();
        const QImage without = control->grab().toImage();
        control->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        QVERIFY2(control->hasFocus(), qPrintable(control->objectName()));
        const QImage with = control->grab().toImage();
        QVERIFY2(with != without, qPrintable(window->objectName() + QStringLiteral(": ") + control->objectName() +
                                             QStringLiteral(" (") + control->metaObject()->className() + ")"));
        ++checked;
      }
    }
    QVERIFY(checked >= 15);
  }

  // The editor and the ENET window open beside the entries list, not over it, and not over each other.
  void theEditorAndTheEnetWindowOpenBesideTheList() {
    auto* list = Lv1();
    const QRect listFrame(list->mapToGlobal(QPoint(0, 0)), list->size());
    Command("Add1")->trigger();
    ClickSection(THeaderSection::WriteToCar);
    const QRect editor = Editor().frameGeometry();
    const QRect connect = Connect().frameGeometry();
    const QRect screen = Main().screen()->availableGeometry();
    QVERIFY2(!editor.intersects(listFrame), qPrintable(QStringLiteral("editor %1,%1").arg(editor.x()).arg(editor.y())));
    QVERIFY(!connect.intersects(listFrame));
    QVERIFY(!connect.intersects(editor));
    QVERIFY(screen.contains(editor) && screen.contains(connect));
  }

  void placingBesideTheMainWindow_data() {
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QList<QRect>>("others");
    QTest::addColumn<QPoint>("expected");
    // The main window 1019 x 550 at 100,100 with its list on the left 649 pixels; a window 400 x 300.
    QTest::newRow("room on the right") << QRect(0, 0, 1920, 1080) << QList<QRect>{} << QPoint(1127, 100);
    QTest::newRow("the right taken: under it") << QRect(0, 0, 1920, 1080) << QList<QRect>{QRect(1127, 100, 400, 300)}
                                               << QPoint(1127, 408);
    QTest::newRow("no room right: on the left") << QRect(-600, 0, 1800, 1080) << QList<QRect>{} << QPoint(-308, 100);
    QTest::newRow("no room on either side: beside the list") << QRect(0, 0, 1200, 1080) << QList<QRect>{}
                                                             << QPoint(757, 100);
    QTest::newRow("beside the list taken: under the window there")
        << QRect(0, 0, 1200, 1080) << QList<QRect>{QRect(757, 100, 400, 300)} << QPoint(757, 408);
  }

  void placingBesideTheMainWindow() {
    QFETCH(QRect, screen);
    QFETCH(QList<QRect>, others);
    QFETCH(QPoint, expected);
    const QRect main(100, 100, 1019, 550);
    const QRect list(100, 133, 649, 498);
    QCOMPARE(PlaceBeside(screen, main, list, others, QSize(400, 300)), expected);
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

  // "Save As" by the type chosen in the dialog; "Open" takes spreadsheets and JSON back.
  void savesAndOpensSpreadsheetsJsonAndTheServiceBook() {
    const THistoryList sample = *SplitHistory(ReadBytes(TARVELO_SOURCE_DIR "/examples/sample.kelta"));
    History().ReplaceAll(sample);
    const auto saveAs = [this](const QString& filter, const QString& name) {
      const QString path = QString::fromStdString(Dir().File(name.toStdString()));
      WhenModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        QVERIFY(dialog);
        dialog->selectNameFilter(filter);
        emit dialog->filterSelected(filter);
        AcceptFileDialog(dialog, path);
      });
      ClickSection(THeaderSection::SaveAs);
      return path;
    };
    const QString csv = saveAs(QStringLiteral("CSV for spreadsheets, separated by commas (*.csv)"), QStringLiteral("history"));
    QCOMPARE(csv + QStringLiteral(".csv"), Status().mid(QStringLiteral("Status: File saved: ").size()));
    const std::string csvText = ExportHistory(sample, TExchangeFormat::Csv);
    QCOMPARE(ReadBytes(csv.toStdString() + ".csv"), TBuffer(csvText.begin(), csvText.end()));
    const QString semicolons =
        saveAs(QStringLiteral("CSV for spreadsheets, separated by semicolons (*.csv)"), QStringLiteral("semicolons"));
    const std::string semicolonText = ExportHistory(sample, TExchangeFormat::Csv, {kCsvSemicolon});
    QCOMPARE(ReadBytes(semicolons.toStdString() + ".csv"), TBuffer(semicolonText.begin(), semicolonText.end()));
    QVERIFY(semicolonText.find("#;Date;KM;") != std::string::npos);
    const QString json = saveAs(QStringLiteral("JSON (*.json)"), QStringLiteral("history.json"));
    const std::string jsonText = ExportHistory(sample, TExchangeFormat::Json);
    QCOMPARE(ReadBytes(json.toStdString()), TBuffer(jsonText.begin(), jsonText.end()));

    // All come back byte for byte.
    for (const QString& path : {csv + QStringLiteral(".csv"), semicolons + QStringLiteral(".csv"), json}) {
      History().ReplaceAll({});
      OpenThroughDialog(path);
      QCOMPARE(Status(), QStringLiteral("Status: File: ") + path);
      QCOMPARE(Entries(), sample);
    }
    // Excel's plain "CSV": Windows-1252, semicolons; taken, and the status says the character set.
    std::string ansi = semicolonText.substr(3);
    ansi.replace(ansi.find("M\xC3\xBCller"), 7, "M\xFCller");
    const QString excel = WriteFile(QStringLiteral("excel.csv"), TBuffer(ansi.begin(), ansi.end()));
    History().ReplaceAll({});
    OpenThroughDialog(excel);
    QCOMPARE(Status(), QStringLiteral("Status: File: ") + excel + QStringLiteral(" (read as Windows-1252, as the file is not UTF-8)"));
    QCOMPARE(Entries(), sample);
    // A refused file says where.
    const QString bad = WriteFile(QStringLiteral("bad.csv"), TBuffer{'#', ',', 'D', 'a', 't', 'e', '\n'});
    OpenThroughDialog(bad);
    QVERIFY2(Status().startsWith(QStringLiteral("Status: Invalid data: ") + bad + QStringLiteral(" (Line 1: ")),
             qPrintable(Status()));
    QCOMPARE(Entries(), sample);
    // Several refused rows: the first in the status bar, and how many more.
    std::string twoBad = csvText;
    twoBad.replace(twoBad.find("2024-03-14"), 10, "14.3.24");
    twoBad.replace(twoBad.find("2023-09-02"), 10, "2.9.23");
    const QString bads = WriteFile(QStringLiteral("bads.csv"), TBuffer(twoBad.begin(), twoBad.end()));
    OpenThroughDialog(bads);
    QCOMPARE(Status(), QStringLiteral("Status: Invalid data: ") + bads +
                           QStringLiteral(" (Line 2: Date \"14.3.24\" has a year of 2 digits; write the year in full "
                                          "(YYYY-MM-DD or D.M.YYYY): a spreadsheet that saves dates with short years "
                                          "drops the century; and 1 more: tarvelo-cli import lists them all)"));
    QCOMPARE(Entries(), sample);

    const QString book = saveAs(QStringLiteral("PDF service book (*.pdf)"), QStringLiteral("book"));
    const TBuffer pdf = ReadBytes(book.toStdString() + ".pdf");
    QVERIFY(pdf.size() > 1000);
    QCOMPARE(std::string(pdf.begin(), pdf.begin() + 5), std::string("%PDF-"));
    const TPdfText read = ReadPdfText(book + QStringLiteral(".pdf"));
    if (!read.whyNot.isEmpty()) QSKIP(qPrintable(read.whyNot));
    const QString& words = read.words;
    QVERIFY(words.contains(QStringLiteral("Service book")));
    QVERIFY(words.contains(QStringLiteral("______")));  // no VIN found yet: a line to fill in
    for (const char* seen : {"14.3.2024", "98,450 km", "Vehicle check", "12.6.2017", "Pre-delivery inspection"}) {
      QVERIFY2(words.contains(QString::fromLatin1(seen)), seen);
    }
    QVERIFY(words.indexOf(QStringLiteral("14.3.2024")) < words.indexOf(QStringLiteral("12.6.2017")));  // as the list shows them
  }

  // Ctrl+Z takes back Add, Edit, Delete and Clear, one by one, and Ctrl+Y makes them again; the
  // list's context menu has both. An undone edit gives the entry back byte for byte. "Open" starts
  // afresh.
  void undoAndRedoEveryChangeOfTheList() {
    const THistoryList three = ThreeEntries();
    OpenThroughDialog(WriteFile(QStringLiteral("three.kelta"), JoinHistory(three)));
    QVERIFY(!Command("Undo1")->isEnabled());
    const auto press = [this](Qt::Key key) { PressOnList(key, Qt::ControlModifier); };

    // Delete, through its key.
    QTest::mouseClick(Lv1()->viewport(), Qt::LeftButton, {}, RowCenter(Lv1(), 1));
    PressOnList(Qt::Key_Delete);
    QCOMPARE(Entries(), (THistoryList{three[0], three[2]}));
    QCOMPARE(Command("Undo1")->text(), QStringLiteral("Undo Delete"));
    press(Qt::Key_Z);
    QCOMPARE(Entries(), three);
    QCOMPARE(Lv1()->model()->rowCount(), 3);
    press(Qt::Key_Y);
    QCOMPARE(Entries(), (THistoryList{three[0], three[2]}));
    press(Qt::Key_Z);

    // Edit, through the editor: a changed km, then taken back.
    DoubleClickRow(Lv1(), 1);
    QVERIFY(Editor().isVisible());
    EditorKm()->setText(QStringLiteral("777"));
    QTest::mouseClick(Find<QPushButton>(Editor(), "btnSAVE"), Qt::LeftButton);
    QCOMPARE(KMStand(Entries()[1]), 777u);
    const TBuffer edited = Entries()[1];
    press(Qt::Key_Z);
    QCOMPARE(Entries(), three);  // byte for byte
    press(Qt::Key_Y);
    QCOMPARE(Entries()[1], edited);
    press(Qt::Key_Z);

    // Add, through the editor.
    Command("Add1")->trigger();
    EditorKm()->setText(QStringLiteral("4711"));
    Find<QLineEdit>(Editor(), "edtWorkshopID")->setText(QStringLiteral("W"));
    Find<QComboBox>(Editor(), "cbbProcTYP")->setCurrentIndex(0);
    QTest::mouseClick(Find<QPushButton>(Editor(), "btnProcADD"), Qt::LeftButton);
    QTest::mouseClick(Find<QPushButton>(Editor(), "btnSAVE"), Qt::LeftButton);
    QCOMPARE(Entries().size(), std::size_t{4});
    QCOMPARE(Command("Undo1")->text(), QStringLiteral("Undo Add"));

    // Clear only empties the screen's lists; undone, they show again.
    ClickSection(THeaderSection::Clear);
    QCOMPARE(Lv1()->model()->rowCount(), 0);
    Command("Undo1")->trigger();  // from the context menu
    QCOMPARE(Lv1()->model()->rowCount(), 4);
    Command("Redo1")->trigger();
    QCOMPARE(Lv1()->model()->rowCount(), 0);
    press(Qt::Key_Z);
    press(Qt::Key_Z);  // the Add
    QCOMPARE(Entries(), three);
    QCOMPARE(Lv1()->model()->rowCount(), 3);
    QVERIFY(Command("Redo1")->isEnabled());

    // What was done to this list is not undone into another file's.
    OpenThroughDialog(WriteFile(QStringLiteral("one.kelta"), JoinHistory({ExampleEntryBytes()})));
    QVERIFY(!Command("Undo1")->isEnabled() && !Command("Redo1")->isEnabled());
    press(Qt::Key_Z);
    QCOMPARE(Entries(), THistoryList{ExampleEntryBytes()});
  }

  // With more entries than the list shows, the vertical scroll bar takes its room beside the
  // columns: no column is covered, none cut, no horizontal scroll bar.
  void theColumnsLeaveRoomForTheScrollBar() {
    History().ReplaceAll(THistoryList(100, EntryWithProcedures(2, 4294967295u)));
    QTRY_VERIFY(Lv1()->verticalScrollBar()->isVisible());
    QVERIFY(!Lv1()->horizontalScrollBar()->isVisible());
    int total = 0;
    for (int c = 0; c < 7; ++c) {
      const QString caption = Lv1()->model()->headerData(c, Qt::Horizontal).toString();
      QVERIFY2(Lv1()->columnWidth(c) >= Lv1()->fontMetrics().horizontalAdvance(caption) + 8, qPrintable(caption));
      total += Lv1()->columnWidth(c);
    }
    QVERIFY2(total <= Lv1()->viewport()->width(), qPrintable(QStringLiteral("%1 > %2").arg(total).arg(Lv1()->viewport()->width())));
    QVERIFY(Lv1()->columnWidth(2) >= Lv1()->fontMetrics().horizontalAdvance(QStringLiteral("4294967295")) + 8);
  }

  // A service book that takes a while shows its progress with "Cancel"; cancelled, it leaves no file.
  void aLongServiceBookShowsProgressAndCanBeCancelled() {
    History().ReplaceAll(THistoryList(30000, EntryWithProcedures(3, 4711)));
    const QString path = QString::fromStdString(Dir().File("book.pdf"));
    WhenModal([&](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      QVERIFY(dialog);
      dialog->selectNameFilter(QStringLiteral("PDF service book (*.pdf)"));
      emit dialog->filterSelected(QStringLiteral("PDF service book (*.pdf)"));
      AcceptFileDialog(dialog, path);
    });
    QString label;
    int shownAt = -1;
    WhenModal(
        [&](QWidget* w) {
          auto* progress = qobject_cast<QProgressDialog*>(w);
          label = progress->labelText();
          shownAt = progress->value();
          QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
        },
        60000, [](QWidget* w) { return qobject_cast<QProgressDialog*>(w) != nullptr; });
    ClickSection(THeaderSection::SaveAs);
    CancelModalWatchers();
    QCOMPARE(label, QStringLiteral("Writing the service book..."));
    QVERIFY2(shownAt >= 0 && shownAt < 30000, qPrintable(QString::number(shownAt)));
    QCOMPARE(Status(), QStringLiteral("Status: File not saved: the service book was cancelled"));
    QVERIFY(!QFile::exists(path));
    QVERIFY(QDir(QString::fromStdString(Dir().Path().string())).entryList(QDir::Files).isEmpty());
  }

  void screenshot() {
    const QByteArray folder = qgetenv("TARVELO_SCREENSHOT_DIR");
    if (folder.isEmpty()) QSKIP("set TARVELO_SCREENSHOT_DIR to a folder to take the README's screenshots");
    OpenThroughDialog(QStringLiteral(TARVELO_SOURCE_DIR "/examples/sample.kelta"));
    QTest::mouseClick(Lv1()->viewport(), Qt::LeftButton, {}, RowCenter(Lv1(), 2));
    Find<QLabel>(Main(), "stat1")->setText(QStringLiteral("Status: File: sample.kelta"));  // not the build folder's path
    QVERIFY(Main().grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/main-window.png")));

    // The sample's service book, with the VIN "DETECT" would have found, and beside it the second
    // page of a book whose third entry is longer than a page: its header repeated.
    const QString folderPath = QString::fromLocal8Bit(folder);
    const auto render = [&](const QString& book, int page, const QString& name) {
      QProcess render;
      render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
                                                QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                                QString::number(page), QStringLiteral("-singlefile"), book, name});
      return render.waitForFinished(20000) && render.exitCode() == 0;
    };
    const QString sampleBook = QString::fromStdString(Dir().File("service-book.pdf"));
    WriteServiceBookPdf(sampleBook, Entries(), QStringLiteral("WBA8E9C57GK123456"));
    THistoryList longer = Entries();
    TServiceFields full = ExampleFields();
    full.km = 131200;
    full.workshopID = "M4021";
    full.serviceStatus = 1;
    full.procedures.clear();
    for (std::size_t p = 0; p < 60; ++p) full.procedures.push_back({kProcedureTypes[p % kProcedureTypes.size()].code, 1});
    longer.insert(longer.begin() + 2, BuildServiceRecord(full));
    const QString longBook = QString::fromStdString(Dir().File("long-book.pdf"));
    WriteServiceBookPdf(longBook, longer, QStringLiteral("WBA8E9C57GK123456"));
    const QString first = QString::fromStdString(Dir().File("first")), second = QString::fromStdString(Dir().File("second"));
    QVERIFY2(render(sampleBook, 1, first) && render(longBook, 2, second), "pdftoppm (Debian's poppler-utils) renders the pages");
    const QImage left(first + QStringLiteral(".png")), right(second + QStringLiteral(".png"));
    constexpr int kGap = 16;
    QImage both(left.width() + kGap + right.width(), std::max(left.height(), right.height()), QImage::Format_RGB32);
    both.fill(QColor(0xd0, 0xd0, 0xd0));
    QPainter painter(&both);
    painter.drawImage(0, 0, left);
    painter.drawImage(left.width() + kGap, 0, right);
    painter.end();
    QVERIFY(both.save(folderPath + QStringLiteral("/service-book.png")));
  }
};

TARVELO_QT_TEST_MAIN(TestMainWindow)
#include "ui_main_test.moc"
