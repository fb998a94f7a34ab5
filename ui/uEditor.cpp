#include "ui/uEditor.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QTreeWidget>

#include "book/CodeTexts.h"
#include "history/CodePage.h"
#include "history/CodeTables.h"
#include "history/RecordTexts.h"
#include "history/TarveloError.h"
#include "history/TextParsing.h"
#include "ui/Command.h"
#include "ui/DateField.h"
#include "ui/Icons.h"
#include "ui/TarveloApplication.h"
#include "ui/UserText.h"
#include "ui/WindowPlacement.h"

namespace {

constexpr int kClientWidth = 465;
constexpr int kClientHeight = 470;
constexpr int kFieldHeight = 22;
constexpr int kButtonHeight = 25;
constexpr int kKMStandMaxLength = 7;
constexpr int kWorkshopIDMaxLength = 7;

enum TEditorColumn { kColNumber, kColID, kColProcedure, kColStatus };
// "#" and "ID" keep their widths; "Status" is as wide as its widest text, and "Procedure" takes
// the rest, so the four columns fit the list and none is cut.
constexpr int kNumberColumnWidth = 30;
constexpr int kIDColumnWidth = 35;
constexpr const char* kWidestStatusText = "0 UNKNOWN(255)";
constexpr int kCellPadding = 16;

const QDate kInitialDate(2019, 12, 15);
// The range of dates the picker shows; a stored date outside it cannot be loaded.
const QDate kFirstPickerDate(1601, 1, 1);
const QDate kLastPickerDate(9999, 12, 31);


template <std::size_t N>
void AddItems(QComboBox* box, const std::array<std::string_view, N>& items) {
  for (std::string_view item : items) box->addItem(CodeText(item));
}

template <std::size_t N>
void AddItems(QComboBox* box, const std::array<TProcedureType, N>& types) {
  for (const TProcedureType& type : types) box->addItem(CodeText(type.name));
}

QLabel* Label(const QString& text, QWidget* parent, int x, int y, int width) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(x, y, width, kFieldHeight);
  return label;
}

QComboBox* DropDown(QWidget* parent, const char* name, const QString& cue) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setEditable(false);
  box->setPlaceholderText(cue);
  return box;
}

}  // namespace

TFEditor::TFEditor(QWidget* owner) : QWidget(owner, Qt::Tool) {
  setObjectName(QStringLiteral("TFEditor"));
  setWindowTitle(tr("Service Entry Editor"));
  // Never smaller than the window that shows every control; taller shows more procedures, wider
  // would only show empty space.
  setMinimumSize(kClientWidth, kClientHeight);
  setMaximumWidth(kClientWidth);
  resize(kClientWidth, kClientHeight);
  CreateGeneralInformation();
  CreateAddGroup();
  CreateProcedureList();

  btnSAVE = new QPushButton(QStringLiteral("OK"), this);
  btnSAVE->setObjectName(QStringLiteral("btnSAVE"));
  btnSAVE->setDefault(true);  // Enter is "OK"
  btnCancel = new QPushButton(tr("Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnCancel->setAutoDefault(false);
  PlaceResizingControls();
  ConnectCommand(btnSAVE, &QPushButton::clicked, this, &TFEditor::btnSAVEClick);
  ConnectCommand(btnCancel, &QPushButton::clicked, this, &TFEditor::btnCancelClick);
  SetFocusOrder();
}

void TFEditor::CreateGeneralInformation() {
  grpMain = new QGroupBox(tr("General Information"), this);
  grpMain->setObjectName(QStringLiteral("grpMain"));
  grpMain->setGeometry(8, 6, kClientWidth - 16, 118);
  constexpr int kRows[] = {22, 54, 86};
  constexpr int kLeftLabel = 10, kLeftField = 78, kLeftFieldWidth = 130;
  constexpr int kRightLabel = 228, kRightField = 322, kRightFieldWidth = 117;

  Label(tr("DATE"), grpMain, kLeftLabel, kRows[0], 64);
  dtp1 = new TDateField(grpMain);
  dtp1->setObjectName(QStringLiteral("dtp1"));
  dtp1->SetRange(kFirstPickerDate, kLastPickerDate);
  dtp1->SetDate(kInitialDate);
  dtp1->setGeometry(kLeftField, kRows[0], kLeftFieldWidth, kFieldHeight);

  Label(tr("KM Stand"), grpMain, kLeftLabel, kRows[1], 64);
  edtKMStand = new QLineEdit(grpMain);
  edtKMStand->setObjectName(QStringLiteral("edtKMStand"));
  edtKMStand->setMaxLength(kKMStandMaxLength);
  edtKMStand->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edtKMStand));
  edtKMStand->setPlaceholderText(tr("Car milage in km"));
  edtKMStand->setGeometry(kLeftField, kRows[1], kLeftFieldWidth, kFieldHeight);

  Label(tr("Workshop"), grpMain, kLeftLabel, kRows[2], 64);
  edtWorkshopID = new QLineEdit(grpMain);
  edtWorkshopID->setObjectName(QStringLiteral("edtWorkshopID"));
  edtWorkshopID->setMaxLength(kWorkshopIDMaxLength);
  edtWorkshopID->setPlaceholderText(tr("WORKSHOP ID"));
  edtWorkshopID->setGeometry(kLeftField, kRows[2], kLeftFieldWidth, kFieldHeight);

  Label(tr("Service Status"), grpMain, kRightLabel, kRows[0], 90);
  cbbSVCStatus = DropDown(grpMain, "cbbSVCStatus", tr("STATUS"));
  AddItems(cbbSVCStatus, kServiceStatusItems);
  cbbSVCStatus->setCurrentIndex(0);
  cbbSVCStatus->setGeometry(kRightField, kRows[0], kRightFieldWidth, kFieldHeight);

  Label(tr("Workshop type"), grpMain, kRightLabel, kRows[1], 90);
  cbbWorkshopTYP = DropDown(grpMain, "cbbWorkshopTYP", tr("WORKSHOP TYPE"));
  AddItems(cbbWorkshopTYP, kWorkshopTypeItems);
  cbbWorkshopTYP->setCurrentIndex(0);
  cbbWorkshopTYP->setGeometry(kRightField, kRows[1], kRightFieldWidth, kFieldHeight);

  Label(tr("Procedure Count"), grpMain, kRightLabel, kRows[2], 90);
  edtSVCCount = new QLineEdit(QStringLiteral("0"), grpMain);
  edtSVCCount->setObjectName(QStringLiteral("edtSVCCount"));
  edtSVCCount->setReadOnly(true);
  // Only digits could be typed, two at most; a count of 100 or more still shows in full, so the
  // limit is not the field's maximum length, which would cut the count shown.
  edtSVCCount->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), edtSVCCount));
  edtSVCCount->setGeometry(kRightField, kRows[2], 40, kFieldHeight);
}

void TFEditor::CreateAddGroup() {
  grpAdd = new QGroupBox(tr("Add"), this);
  grpAdd->setObjectName(QStringLiteral("grpAdd"));
  grpAdd->setGeometry(8, 130, kClientWidth - 16, 88);

  Label(tr("Type"), grpAdd, 10, 22, 36);
  cbbProcTYP = DropDown(grpAdd, "cbbProcTYP", tr("Procedure TYPE"));
  AddItems(cbbProcTYP, kProcedureTypes);
  cbbProcTYP->setCurrentIndex(-1);
  cbbProcTYP->setGeometry(48, 22, 200, kFieldHeight);

  Label(tr("Status"), grpAdd, 268, 22, 44);
  cbbPROCStatus = DropDown(grpAdd, "cbbPROCStatus", tr("Procedure STATUS\r\n"));
  AddItems(cbbPROCStatus, kProcedureStatusItems);
  cbbPROCStatus->setCurrentIndex(0);
  cbbPROCStatus->setGeometry(314, 22, 125, kFieldHeight);

  btnProcADD = new QPushButton(tr("ADD"), grpAdd);
  btnProcADD->setObjectName(QStringLiteral("btnProcADD"));
  btnProcADD->setGeometry(314, 54, 125, kButtonHeight);
  btnProcADD->setAutoDefault(false);  // "OK" is the one default button
  ConnectCommand(btnProcADD, &QPushButton::clicked, this, &TFEditor::btnProcADDClick);
}

void TFEditor::CreateProcedureList() {
  lvProcedures = new QTreeWidget(this);
  lvProcedures->setObjectName(QStringLiteral("lvProcedures"));
  lvProcedures->setColumnCount(4);
  lvProcedures->setHeaderLabels({QStringLiteral("#"), QStringLiteral("ID"), tr("Procedure"), tr("Status")});
  QHeaderView* columns = lvProcedures->header();
  columns->setMinimumSectionSize(kNumberColumnWidth);
  columns->setSectionResizeMode(kColNumber, QHeaderView::Fixed);
  columns->setSectionResizeMode(kColID, QHeaderView::Fixed);
  columns->setSectionResizeMode(kColProcedure, QHeaderView::Stretch);
  columns->setSectionResizeMode(kColStatus, QHeaderView::Fixed);
  lvProcedures->setColumnWidth(kColNumber, kNumberColumnWidth);
  lvProcedures->setColumnWidth(kColID, kIDColumnWidth);
  lvProcedures->setColumnWidth(
      kColStatus, lvProcedures->fontMetrics().horizontalAdvance(QString::fromLatin1(kWidestStatusText)) + kCellPadding);
  lvProcedures->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  lvProcedures->setRootIsDecorated(false);
  lvProcedures->setItemsExpandable(false);
  lvProcedures->setUniformRowHeights(true);
  lvProcedures->setAllColumnsShowFocus(true);
  lvProcedures->setSelectionMode(QAbstractItemView::SingleSelection);
  lvProcedures->setSelectionBehavior(QAbstractItemView::SelectRows);
  lvProcedures->setEditTriggers(QAbstractItemView::NoEditTriggers);
  columns->setSectionsMovable(false);
  columns->setStretchLastSection(false);

  pmEditor = new QMenu(this);
  pmEditor->setObjectName(QStringLiteral("pmEditor"));
  Delete1 = pmEditor->addAction(TarveloIcon(TIconId::Delete), tr("Delete"));
  ConnectCommand(Delete1, &QAction::triggered, this, &TFEditor::Delete1Click);
  Delete1->setObjectName(QStringLiteral("Delete1"));
  lvProcedures->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(lvProcedures, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { pmEditor->popup(lvProcedures->viewport()->mapToGlobal(at)); });
}

void TFEditor::PlaceResizingControls() {
  // The procedures list takes the height the window has; "OK" and "Cancel" stay in its corner.
  constexpr int kListTop = 226, kMargin = 8, kGap = 6, kButtonWidth = 75;
  const int bottom = height() - kMargin - kButtonHeight;
  lvProcedures->setGeometry(kMargin, kListTop, width() - 2 * kMargin, bottom - kMargin - kListTop);
  btnSAVE->setGeometry(width() - kMargin - kButtonWidth - kGap - kButtonWidth, bottom, kButtonWidth, kButtonHeight);
  btnCancel->setGeometry(width() - kMargin - kButtonWidth, bottom, kButtonWidth, kButtonHeight);
}

void TFEditor::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (btnCancel) PlaceResizingControls();
}

void TFEditor::keyPressEvent(QKeyEvent* event) {
  // What the controls leave alone: Enter is "OK" (the editor's one default button), also right
  // after "ADD", which would otherwise add the same procedure again; only on "Cancel" is it
  // "Cancel". Space presses whichever button has the focus. Escape is "Cancel".
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      (focusWidget() == btnCancel ? btnCancel : btnSAVE)->click();
      return;
    case Qt::Key_Escape:
      btnCancel->click();
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

void TFEditor::SetFocusOrder() {
  // As the fields read: the left column's date and km, the workshop, the service status, then the
  // procedure to add, the list, and the buttons. The procedure count is only shown.
  edtSVCCount->setFocusPolicy(Qt::NoFocus);
  const QList<QWidget*> order = {dtp1,       edtKMStand,    cbbWorkshopTYP, edtWorkshopID, cbbSVCStatus, cbbProcTYP,
                                 cbbPROCStatus, btnProcADD, lvProcedures,   btnSAVE,       btnCancel};
  for (int i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
}

void TFEditor::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The window system's own shows (after a minimise) are not a new use of the editor.
  if (!event->spontaneous()) RunCommand([this] { FormShow(); });
}

void TFEditor::EditNew() {
  if (isVisible() && use_ != TUse::NewEntry &&
      !MayLeave(tr("The entry in the editor has changes that are not stored yet. "
                               "Give them up and add a new entry?"))) {
    ShowModeless(this);
    return;
  }
  const bool sameUse = isVisible() && use_ == TUse::NewEntry;
  use_ = TUse::NewEntry;
  entry_ = QPersistentModelIndex();
  loaded_.clear();
  if (!sameUse) Begin();
  ShowModeless(this);
}

void TFEditor::EditEntry(const QPersistentModelIndex& entry, const TBuffer& bytes) {
  // Refused before anything changes: never half-loaded, never in place of what the editor holds.
  if (const QString refusal = RefusalOf(bytes); !refusal.isEmpty()) {
    ShowErrorReport(refusal);
    return;
  }
  const bool sameUse = isVisible() && use_ == TUse::ExistingEntry && entry_.isValid() && entry_ == entry;
  if (isVisible() && !sameUse &&
      !MayLeave(tr("The entry in the editor has changes that are not stored yet. "
                               "Give them up and edit the other entry?"))) {
    ShowModeless(this);
    return;
  }
  if (!sameUse) {
    use_ = TUse::ExistingEntry;
    entry_ = entry;
    loaded_ = bytes;
    Begin();
  }
  ShowModeless(this);
}

bool TFEditor::MayLeave(const QString& question) {
  if (Form() == shownForm_) return true;
  ShowModeless(this);  // the user sees what would be given up
  return AskYesNo(question);
}

void TFEditor::Begin() {
  // A hidden editor begins when it is shown (FormShow); an open one gives up what it held and
  // begins at once.
  if (!isVisible()) return;
  ClearInput();
  FormShow();
}

void TFEditor::FormShow() {
  procedures_.clear();
  ShowProcedures();
  shownForm_ = Form();
  if (use_ == TUse::ExistingEntry) LoadEntry();
}

QString TFEditor::RefusalOf(const TBuffer& rec) const {
  // An entry without procedures loads nothing at all (its date is not looked at).
  if (!IsWellFormedRecord(rec) || ProcCount(rec) == 0) return {};
  const std::string dateText = DateText(rec);
  if (!IsCalendarDate(Day(rec), Month(rec), Year(rec))) {
    try {
      ParseDateText(dateText);  // says why in the words every date field uses
    } catch (const ETarveloError& e) {
      return UserText(e.what());
    }
  }
  const QDate picked(Year(rec), Month(rec), Day(rec));
  if (picked < dtp1->Minimum() || picked > dtp1->Maximum()) {
    return tr("The date %1 is outside the range of the date picker (%2 to %3)")
        .arg(QString::fromStdString(dateText), dtp1->Minimum().toString(QStringLiteral("d.M.yyyy")),
             dtp1->Maximum().toString(QStringLiteral("d.M.yyyy")));
  }
  return {};
}

void TFEditor::LoadEntry() {
  const TBuffer& rec = loaded_;
  // What cannot be shown never gets here (EditEntry refused it); nothing is loaded of it.
  if (!IsWellFormedRecord(rec) || ProcCount(rec) == 0 || !RefusalOf(rec).isEmpty()) return;
  dtp1->SetDate(QDate(Year(rec), Month(rec), Day(rec)));
  edtKMStand->setText(QString::fromStdString(KMText(rec)));
  cbbWorkshopTYP->setCurrentIndex(WorkshopTypeListPosition(WorkshopTYP(rec)));
  edtWorkshopID->setText(QString::fromStdString(WorkshopIDText(rec)));
  cbbSVCStatus->setCurrentIndex(ServiceStatusListPosition(SVCStatus(rec)));

  procedures_.clear();
  for (std::size_t i = 0; i < ProcCount(rec); ++i) {
    procedures_.push_back({static_cast<int>(i + 1), ProcTYP(rec, i), ProcStatus(rec, i)});
  }
  ShowProcedures();
  shownForm_ = Form();
}

void TFEditor::ShowProcedures() {
  lvProcedures->clear();
  for (const TProcedureRow& p : procedures_) {
    auto* row = new QTreeWidgetItem(lvProcedures);
    row->setText(kColNumber, QString::number(p.number));
    row->setText(kColID, QString::number(p.type));
    row->setText(kColProcedure, CodeText(EditorProcedureTypeText(p.type)));
    row->setText(kColStatus, CodeText(EditorProcedureStatusText(p.status)));
  }
  edtSVCCount->setText(QString::number(procedures_.size()));
}

TFEditor::TForm TFEditor::Form() const {
  return {dtp1->Text(), edtKMStand->text(), edtWorkshopID->text(), cbbWorkshopTYP->currentIndex(),
          cbbSVCStatus->currentIndex(), procedures_};
}

void TFEditor::btnProcADDClick() {
  const int type = cbbProcTYP->currentIndex();
  const int status = cbbPROCStatus->currentIndex();
  if (type < 0 || status < 0) return;
  if (procedures_.size() >= kMaxProcedures) {
    ShowMessage(tr("An entry holds at most 255 procedures: this one is full, so no procedure was added."));
    return;
  }
  const int rows = static_cast<int>(procedures_.size()) + 1;
  procedures_.push_back({rows, ProcedureCodeFromListPosition(type), static_cast<uint8_t>(status + 1)});
  ShowProcedures();
}

void TFEditor::Delete1Click() {
  QTreeWidgetItem* selected = lvProcedures->currentItem();
  if (!selected || !selected->isSelected()) return;
  const int row = lvProcedures->indexOfTopLevelItem(selected);
  if (row < 0 || procedures_.empty()) return;
  // The other rows keep their numbers: "#" is not numbered again.
  procedures_.erase(procedures_.begin() + row);
  ShowProcedures();
}

void TFEditor::btnSAVEClick() {
  if (edtKMStand->text().isEmpty() || edtWorkshopID->text().isEmpty() || procedures_.empty()) {
    ShowMessage(tr(kInvalidDataMessage));
    return;
  }
  // Nothing is stored in place of what the user typed: not another date, not a "?" for a character.
  if (!dtp1->Date()) {
    ShowMessage(tr("The DATE %1 is not a date of the calendar. Please correct it.").arg(dtp1->Text()));
    dtp1->setFocus();
    return;
  }
  if (const std::optional<std::string> refused = FirstCharacterOutsideCodePage(edtWorkshopID->text().toStdString())) {
    ShowMessage(tr("The workshop ID cannot hold the character %1.").arg(QString::fromStdString(*refused)));
    edtWorkshopID->setFocus();
    return;
  }
  const TServiceFields fields = StoreEntry();
  hide();
  if (use_ == TUse::NewEntry) {
    emit EntryAdded(fields);
  } else {
    emit EntryEdited(entry_, fields);
  }
  ClearInput();
}

TServiceFields TFEditor::StoreEntry() const {
  const QDate date = dtp1->Date().value_or(QDate());
  TServiceFields fields;
  fields.day = static_cast<uint8_t>(date.day());
  fields.month = static_cast<uint8_t>(date.month());
  fields.year = static_cast<uint16_t>(date.year());
  fields.km = ParseIntegerText(edtKMStand->text().toStdString());
  fields.workshopType = WorkshopTypeCode(cbbWorkshopTYP->currentIndex());
  fields.workshopID = edtWorkshopID->text().toStdString();
  fields.serviceStatus = ServiceStatusCode(cbbSVCStatus->currentIndex());
  for (const TProcedureRow& p : procedures_) fields.procedures.push_back({p.type, StoredProcedureStatus(p.status)});
  return fields;
}

void TFEditor::btnCancelClick() {
  ClearInput();
  hide();
}

void TFEditor::ClearInput() {
  procedures_.clear();
  ShowProcedures();
  edtKMStand->clear();
  edtWorkshopID->clear();
}
