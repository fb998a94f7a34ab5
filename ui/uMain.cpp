#include "ui/uMain.h"

#include <algorithm>
#include <optional>
#include <vector>

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLocale>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QProgressDialog>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyle>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>
#include <QUndoStack>

#include "book/ServiceBook.h"
#include "exchange/HistoryExchange.h"
#include "history/HistoryFile.h"
#include "history/TarveloError.h"
#include "ui/Command.h"
#include "ui/EntriesModel.h"
#include "ui/HeaderBar.h"
#include "ui/HistoryFiles.h"
#include "ui/HistoryModel.h"
#include "ui/HistoryUndo.h"
#include "ui/Icons.h"
#include "ui/ProceduresModel.h"
#include "ui/UserText.h"
#include "ui/WindowPlacement.h"

namespace {

constexpr int kClientWidth = 1019;
constexpr int kClientHeight = 550;
constexpr int kHeaderBarHeight = 33;
constexpr int kStatusBarHeight = 19;
constexpr int kStatusPanelWidth = 200;
constexpr int kEntriesListWidth = 649;

struct TSectionSpec {
  const char* caption;
  int width;
  bool fixedWidth;
  TIconId icon;
};
constexpr TSectionSpec kSections[] = {
    {QT_TRANSLATE_NOOP("TFMain", "Open"), 75, true, TIconId::Open},
    {QT_TRANSLATE_NOOP("TFMain", "Save As"), 90, true, TIconId::SaveAs},
    {QT_TRANSLATE_NOOP("TFMain", "Clear"), 90, false, TIconId::Clear},
    {QT_TRANSLATE_NOOP("TFMain", "Read from car"), 120, false, TIconId::ReadFromCar},
    {QT_TRANSLATE_NOOP("TFMain", "Write to car"), 120, false, TIconId::WriteToCar},
    {QT_TRANSLATE_NOOP("TFMain", "Info / Help"), 120, true, TIconId::InfoHelp},
};
// Room beside a section's caption: the icon, the gap after it and the frame.
constexpr int kSectionPadding = 40;

// "#" is as wide as it takes to show five digits whole (a history of up to 99,999 entries); the
// other columns share the rest in these proportions, leaving room for the vertical scroll bar that
// a long list shows.
constexpr int kEntryColumnWidths[] = {35, 120, 100, 120, 100, 120, 35};
constexpr const char* kWidestEntryNumber = "99999";
// The service book shows its progress (and "Cancel") when it would take longer than this.
constexpr int kBookProgressDelayMs = 500;
constexpr int kProcedureColumnWidths[] = {35, 200, 120};

// The header bar draws its icons at 24 x 24; a header's label otherwise takes the small icon size.
class THeaderBarStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_SmallIconSize) return kIconSize;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

// The status bar holds one line: of the refusals of an import, one on each line, the first and
// how many lines more there are.
QString FirstRefusal(const std::string& problem) {
  const std::size_t end = problem.find('\n');
  if (end == std::string::npos) return UserText(problem);
  const auto more = std::count(problem.begin(), problem.end(), '\n');
  return UserText(problem.substr(0, end)) + TFMain::tr("; and %1 more: tarvelo-cli import lists them all").arg(more);
}

// The keys of the header bar's commands: the platform's standard ones where there is one.
QKeySequence SectionShortcut(THeaderSection section) {
  switch (section) {
    case THeaderSection::Open: return QKeySequence::Open;
    case THeaderSection::SaveAs: return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);  // not every platform has one
    case THeaderSection::Clear: return QKeySequence(Qt::CTRL | Qt::Key_L);
    case THeaderSection::ReadFromCar: return {};
    case THeaderSection::WriteToCar: return QKeySequence(Qt::CTRL | Qt::Key_W);
    case THeaderSection::InfoHelp: return QKeySequence::HelpContents;
  }
  return {};
}

// The tool tip of a command: its caption and its key, as the platform writes keys.
QString CommandTip(const QString& caption, const QKeySequence& key) {
  if (key.isEmpty()) return caption;
  return caption + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) + QStringLiteral(")");
}

// The kinds of file that a drop opens: what "Open" takes, by the names it gives them.
const QStringList kDroppableSuffixes = {QStringLiteral("kelta"), QStringLiteral("bin"), QStringLiteral("csv"),
                                        QStringLiteral("json")};

// The one local file that a drag carries, when "Open" takes its kind; else empty (several files,
// a folder, a web address, text).
QString DroppableFile(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().first();
  if (!url.isLocalFile()) return {};
  const QFileInfo file(url.toLocalFile());
  if (file.isDir() || !kDroppableSuffixes.contains(file.suffix(), Qt::CaseInsensitive)) return {};
  return file.filePath();
}

// The file-system name of a path chosen in a dialog.
std::string FileSystemName(const QString& path) { return QFile::encodeName(path).toStdString(); }

void SetUpListView(QTreeView* view) {
  view->setRootIsDecorated(false);
  view->setItemsExpandable(false);
  view->setUniformRowHeights(true);
  view->setAllColumnsShowFocus(true);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSortingEnabled(false);
  view->header()->setSectionsMovable(false);
  view->header()->setStretchLastSection(false);
  view->header()->setHighlightSections(false);
}

}  // namespace

TFMain::TFMain(THistoryModel& history) : history_(history) {
  setObjectName(QStringLiteral("TFMain"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setWindowIcon(TarveloIcon(TIconId::Application));
  setFixedSize(kClientWidth, kClientHeight);
  setAcceptDrops(true);

  auto* central = new QWidget(this);
  setCentralWidget(central);
  CreateHeaderBar();
  CreateLists();
  CreatePopupMenu();

  statusBar()->setFixedHeight(kStatusBarHeight);
  statusBar()->setSizeGripEnabled(false);
  stat1 = new QLabel(tr("Status: "), statusBar());
  stat1->setObjectName(QStringLiteral("stat1"));
  stat1->setMinimumWidth(kStatusPanelWidth);
  statusBar()->addWidget(stat1, 1);

  CenterOver(this, nullptr);
  FormCreate();
}

TFMain::~TFMain() {
  // The views may outlive the history while the window's children are torn down: let them show nothing.
  entries_->Clear();
}

void TFMain::FormCreate() {
  setWindowTitle(QString::fromLatin1(kMainCaption));
  SetStatus(tr("Hello world"));
  // The entries list follows the history by itself (a full rebuild on every change); whenever it
  // is rebuilt or emptied, no entry is selected, so the procedures list is emptied too.
  connect(entries_, &QAbstractItemModel::modelReset, procedures_, &TProceduresModel::Clear);
}

void TFMain::CreateHeaderBar() {
  auto* sections = new QStandardItemModel(0, static_cast<int>(std::size(kSections)), this);
  for (int i = 0; i < sections->columnCount(); ++i) {
    const QString caption = tr(kSections[i].caption);
    const QKeySequence key = SectionShortcut(static_cast<THeaderSection>(i));
    sections->setHeaderData(i, Qt::Horizontal, caption, Qt::DisplayRole);
    sections->setHeaderData(i, Qt::Horizontal, TarveloIcon(kSections[i].icon), Qt::DecorationRole);
    sections->setHeaderData(i, Qt::Horizontal, QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter), Qt::TextAlignmentRole);
    sections->setHeaderData(i, Qt::Horizontal, CommandTip(caption, key), Qt::ToolTipRole);
    if (key.isEmpty()) continue;
    // The same command from the keyboard, wherever the focus is in this window.
    auto* command = new QAction(caption, this);
    command->setObjectName(QStringLiteral("Section") + QString::number(i));
    command->setShortcut(key);
    command->setShortcutContext(Qt::WindowShortcut);
    addAction(command);
    connect(command, &QAction::triggered, this, [this, i] { RunCommand([this, i] { hdrcntrl1SectionClick(i); }); });
  }
  hdrcntrl1 = new THeaderBar(centralWidget());
  hdrcntrl1->setObjectName(QStringLiteral("hdrcntrl1"));
  hdrcntrl1->setModel(sections);
  hdrcntrl1->setSectionsClickable(true);
  hdrcntrl1->setHighlightSections(false);
  hdrcntrl1->setSectionsMovable(false);
  hdrcntrl1->setStretchLastSection(false);
  hdrcntrl1->setMinimumSectionSize(24);
  hdrcntrl1->setIconSize(QSize(kIconSize, kIconSize));
  auto* headerStyle = new THeaderBarStyle(QStringLiteral("Fusion"));
  headerStyle->setParent(hdrcntrl1);
  hdrcntrl1->setStyle(headerStyle);
  for (int i = 0; i < sections->columnCount(); ++i) {
    hdrcntrl1->setSectionResizeMode(i, kSections[i].fixedWidth ? QHeaderView::Fixed : QHeaderView::Interactive);
    // As wide as the layout has it, or wider where a translated caption needs the room.
    const int captionWidth = hdrcntrl1->fontMetrics().horizontalAdvance(tr(kSections[i].caption)) + kSectionPadding;
    hdrcntrl1->resizeSection(i, std::max(kSections[i].width, captionWidth));
  }
  hdrcntrl1->setGeometry(0, 0, kClientWidth, kHeaderBarHeight);
  connect(hdrcntrl1, &QHeaderView::sectionClicked, this,
          [this](int section) { RunCommand([this, section] { hdrcntrl1SectionClick(section); }); });
}

void TFMain::CreateLists() {
  const int listHeight = kClientHeight - kHeaderBarHeight - kStatusBarHeight;

  entries_ = new TEntriesModel(history_, this);
  lv1 = new QTreeView(centralWidget());
  lv1->setObjectName(QStringLiteral("lv1"));
  SetUpListView(lv1);
  lv1->setSelectionMode(QAbstractItemView::SingleSelection);
  lv1->setModel(entries_);
  lv1->setGeometry(0, kHeaderBarHeight, kEntriesListWidth, listHeight);
  lv1->ensurePolished();
  lv1->verticalScrollBar()->ensurePolished();
  constexpr int kCellPadding = 16;  // the item's padding and margins on both sides, with room to spare
  const int numberWidth = std::max(kEntryColumnWidths[0],
                                   lv1->fontMetrics().horizontalAdvance(QString::fromLatin1(kWidestEntryNumber)) + kCellPadding);
  lv1->setColumnWidth(0, numberWidth);
  const int room = kEntriesListWidth - 2 * lv1->frameWidth() - lv1->verticalScrollBar()->sizeHint().width() - numberWidth;
  int proportions = 0;
  for (std::size_t c = 1; c < std::size(kEntryColumnWidths); ++c) proportions += kEntryColumnWidths[c];
  for (std::size_t c = 1; c < std::size(kEntryColumnWidths); ++c) {
    lv1->setColumnWidth(static_cast<int>(c), room * kEntryColumnWidths[c] / proportions);
  }
  lv1->setContextMenuPolicy(Qt::CustomContextMenu);
  lv1->viewport()->installEventFilter(this);
  lv1->installEventFilter(this);  // Enter on an entry edits it
  connect(lv1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { lv1SelectItem(); });

  procedures_ = new TProceduresModel(this);
  lv2 = new QTreeView(centralWidget());
  lv2->setObjectName(QStringLiteral("lv2"));
  SetUpListView(lv2);
  lv2->setSelectionMode(QAbstractItemView::SingleSelection);
  lv2->setModel(procedures_);
  for (int c = 0; c < static_cast<int>(std::size(kProcedureColumnWidths)); ++c) {
    lv2->setColumnWidth(c, kProcedureColumnWidths[c]);
  }
  lv2->setGeometry(kEntriesListWidth, kHeaderBarHeight, kClientWidth - kEntriesListWidth, listHeight);

  // Tab goes left to right, top to bottom: the commands, the entries, the procedures. The window
  // opens with the keyboard on the entries.
  setTabOrder(hdrcntrl1, lv1);
  setTabOrder(lv1, lv2);
  lv1->setFocus();
}

void TFMain::CreatePopupMenu() {
  pmMain = new QMenu(this);
  pmMain->setObjectName(QStringLiteral("pmMain"));
  Add1 = pmMain->addAction(TarveloIcon(TIconId::Add), tr("Add"));
  pmMain->addSeparator()->setObjectName(QStringLiteral("N1"));
  Edit1 = pmMain->addAction(TarveloIcon(TIconId::Edit), tr("Edit"));
  pmMain->addSeparator()->setObjectName(QStringLiteral("Delete1"));
  Delete2 = pmMain->addAction(TarveloIcon(TIconId::Delete), tr("Delete"));
  ConnectCommand(Add1, &QAction::triggered, this, &TFMain::Add1Click);
  ConnectCommand(Edit1, &QAction::triggered, this, &TFMain::Edit1Click);
  ConnectCommand(Delete2, &QAction::triggered, this, &TFMain::Delete2Click);
  Add1->setObjectName(QStringLiteral("Add1"));
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Delete2->setObjectName(QStringLiteral("Delete2"));
  // The Delete key does on the entries list what the menu's "Delete" does (and the menu shows it).
  Delete2->setShortcut(QKeySequence::Delete);
  Delete2->setShortcutContext(Qt::WidgetShortcut);
  lv1->addAction(Delete2);

  // Undo and Redo of the list's changes, on the menu and from the keyboard anywhere in the window.
  undo_ = new QUndoStack(this);
  pmMain->addSeparator();
  Undo1 = undo_->createUndoAction(this, tr("Undo"));
  Undo1->setObjectName(QStringLiteral("Undo1"));
  Undo1->setShortcut(QKeySequence::Undo);
  Redo1 = undo_->createRedoAction(this, tr("Redo"));
  Redo1->setObjectName(QStringLiteral("Redo1"));
  // Ctrl+Y everywhere, and the platform's own key where it has another (Ctrl+Shift+Z).
  QList<QKeySequence> redoKeys{QKeySequence(Qt::CTRL | Qt::Key_Y)};
  for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::Redo)) {
    if (!redoKeys.contains(key)) redoKeys << key;
  }
  Redo1->setShortcuts(redoKeys);
  for (QAction* action : {Undo1, Redo1}) {
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    pmMain->addAction(action);
  }
  connect(lv1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { pmMain->popup(lv1->viewport()->mapToGlobal(at)); });
}

bool TFMain::eventFilter(QObject* watched, QEvent* event) {
  // A double-click anywhere on the entries list, on a row or below the last one, acts as "Edit".
  if (watched == lv1->viewport() && event->type() == QEvent::MouseButtonDblClick) RunCommand([this] { Edit1Click(); });
  // So does Enter on it.
  if (watched == lv1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      RunCommand([this] { Edit1Click(); });
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TFMain::closeEvent(QCloseEvent* event) {
  // Closing the main window ends the program, whichever other windows are open, unless the guard
  // keeps it (a write to the car the user does not want to cut off). The program ends as soon as
  // whatever runs has returned.
  if (quitGuard_ && !quitGuard_()) {
    event->ignore();
    return;
  }
  event->accept();
  // exit, not quit: quit would first ask every window to close again, this one included.
  QCoreApplication::exit(0);
}

void TFMain::dragEnterEvent(QDragEnterEvent* event) { TakeDrag(event); }

void TFMain::dragMoveEvent(QDragMoveEvent* event) { TakeDrag(event); }

void TFMain::dropEvent(QDropEvent* event) {
  if (!TakeDrag(event)) return;
  const QString path = DroppableFile(event->mimeData());
  // Opened once the drop has returned: the program the file came from waits for the drop to end
  // (on Windows a drag holds the file manager), and must not wait for a message box here.
  QTimer::singleShot(0, this, [this, path] { RunCommand([this, path] { OpenFile(path); }); });
}

bool TFMain::TakeDrag(QDropEvent* event) {
  // The file is only read, never taken away: a file manager proposes "move" when Shift is held,
  // and deletes the file it moved once the drop is accepted as a move.
  const Qt::DropActions possible = event->possibleActions();
  const Qt::DropAction action = possible.testFlag(Qt::CopyAction)   ? Qt::CopyAction
                                : possible.testFlag(Qt::LinkAction) ? Qt::LinkAction
                                                                    : Qt::IgnoreAction;
  if (action == Qt::IgnoreAction || DroppableFile(event->mimeData()).isEmpty()) {
    event->ignore();  // the pointer shows that nothing would happen
    return false;
  }
  event->setDropAction(action);
  event->accept();
  return true;
}

void TFMain::SetStatus(const QString& message) { stat1->setText(tr("Status: ") + message); }

void TFMain::RefreshList() { entries_->Refresh(); }

QRect TFMain::EntriesListFrame() const { return QRect(lv1->mapToGlobal(QPoint(0, 0)), lv1->size()); }

int TFMain::SelectedEntryIndex() const {
  const QModelIndexList rows = lv1->selectionModel()->selectedRows();
  if (rows.isEmpty()) return -1;
  const int row = rows.first().row();
  return row < history_.Count() ? row : -1;
}

void TFMain::lv1SelectItem() {
  procedures_->Clear();
  const int index = SelectedEntryIndex();
  if (index >= 0) procedures_->ShowEntry(history_.Entry(index));
}

bool TFMain::OpenHistoryFile() {
  const QString path = AskOpenHistoryPath(this);
  if (path.isEmpty()) return false;
  _lastfn = path;
  return true;
}

void TFMain::OpenCommand() {
  if (!OpenHistoryFile()) {
    SetStatus(tr("File not opened"));
    return;
  }
  OpenLastFile();
}

void TFMain::OpenFile(const QString& path) {
  // The whole path, as the dialog gives it: the status bar says which file it is wherever the
  // program was started.
  _lastfn = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
  OpenLastFile();
}

void TFMain::OpenLastFile() {
  const std::string path = FileSystemName(_lastfn);
  // A .csv or .json file is a spreadsheet's or JSON's form of a history; anything else a history file.
  const std::optional<TExchangeFormat> exchange = ExchangeFormatOfPath(path);
  const auto verifying = [this] { SetStatus(tr("Verifying file: ") + _lastfn); };
  THistoryLoad load = exchange ? LoadExchangeFile(path, *exchange, verifying) : LoadHistoryFile(path, verifying);
  // A file that cannot be read goes to the error report; the list and the status stay as they were.
  if (load.outcome == THistoryLoad::Outcome::Unreadable) throw ETarveloError(load.problem);
  if (!load.Loaded()) {
    // A refused spreadsheet or JSON file says where: the line and the reason.
    SetStatus(tr("Invalid data: ") + _lastfn +
              (exchange ? QStringLiteral(" (") + FirstRefusal(load.problem) + QStringLiteral(")") : QString()));
    return;
  }
  history_.ReplaceAll(std::move(load.entries));
  // What was done to the list before is not undone into another file's list.
  undo_->clear();
  // A spreadsheet's file read in another character set than UTF-8 says which.
  SetStatus(tr("File: ") + _lastfn +
            (load.note.empty() ? QString() : QStringLiteral(" (") + UserText(load.note) + QStringLiteral(")")));
}

void TFMain::SaveHistoryFile() {
  // An empty history file would not be a valid one: nothing is written, and the status says why.
  if (history_.SHRecord().empty()) {
    SetStatus(tr("Nothing to save: the list has no entries"));
    return;
  }
  const std::optional<TSaveChoice> choice = AskSaveHistoryPath(this, QLocale());
  if (!choice) return;
  const QString& path = choice->path;
  if (choice->type.kind == TSaveType::Kind::ServiceBook) {
    if (!SaveServiceBook(path)) {
      SetStatus(tr("File not saved: the service book was cancelled"));
      return;
    }
  } else {
    SaveHistoryAs(FileSystemName(path), history_.SHRecord(), choice->type);
  }
  SetStatus(tr("File saved: ") + path);
}

bool TFMain::SaveServiceBook(const QString& path) {
  const THistoryList& entries = history_.SHRecord();
  QProgressDialog progress(tr("Writing the service book..."), tr("Cancel"), 0,
                           static_cast<int>(entries.size()), this);
  progress.setObjectName(QStringLiteral("BookProgress"));
  progress.setWindowTitle(tr("Service book"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(kBookProgressDelayMs);
  progress.setAutoReset(false);
  progress.setValue(0);
  const TBookOutcome outcome = WriteServiceBookPdf(path, entries, vin_, [&progress](std::size_t done, std::size_t) {
    progress.setValue(static_cast<int>(done));  // shows the dialog once the book would take a while
    return !progress.wasCanceled();
  });
  return outcome == TBookOutcome::Written;
}

void TFMain::SetVehicleVin(const QString& vin) { vin_ = vin; }

void TFMain::elementADD(TBuffer entry) { undo_->push(AddEntryCommand(history_, std::move(entry))); }

void TFMain::elementEDT(const QPersistentModelIndex& entry, TBuffer edited) {
  const int row = entry.isValid() && entry.model() == &history_ ? entry.row() : -1;
  undo_->push(EditEntryCommand(history_, row, std::move(edited)));
}

void TFMain::hdrcntrl1SectionClick(int section) {
  switch (static_cast<THeaderSection>(section)) {
    case THeaderSection::Open:
      OpenCommand();
      break;
    case THeaderSection::SaveAs:
      SaveHistoryFile();
      break;
    case THeaderSection::Clear:
      ClearClick();
      break;
    case THeaderSection::ReadFromCar:
      SetStatus(tr("Reading the service history back from a car is not supported"));
      break;
    case THeaderSection::WriteToCar:
      emit WriteToCarRequested();
      break;
    case THeaderSection::InfoHelp:
      emit InfoRequested();
      break;
  }
}

void TFMain::Add1Click() { emit AddRequested(); }

void TFMain::Edit1Click() {
  const int index = SelectedEntryIndex();
  if (index < 0) return;
  emit EditRequested(QPersistentModelIndex(history_.index(index)));
}

void TFMain::Delete2Click() {
  const int index = SelectedEntryIndex();
  if (index < 0) return;
  undo_->push(DeleteEntryCommand(history_, index));
}

void TFMain::ClearClick() {
  // Only the lists on the screen: the entries stay, and "Undo" shows them again.
  undo_->push(ClearListCommand(
      [this] { entries_->Clear(); }, [this] { RefreshList(); }));
}
