#pragma once
// TFEditor: the modeless editor of one service entry. It loads the entry the main window copied
// into _temprec, builds the edited entry back into _temprec through the history layer, and hands
// it to the main window (elementADD for a new entry, elementEDT for an edited one).

#include <QWidget>

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QMenu;
class QAction;
class QPushButton;
class QTreeWidget;

// EntryID when the edited entry is no longer in the list: "OK" then adds it at the end.
inline constexpr int kEntryGone = -1;
inline constexpr int kNewEntryID = 9999;

class TFEditor : public QWidget {
  Q_OBJECT
 public:
  explicit TFEditor(QWidget* owner);
  ~TFEditor() override;

  bool CreateNew = false;     // true: "OK" adds a new entry; false: it replaces the entry at EntryID
  int EntryID = kNewEntryID;  // index in the history list of the edited entry

  void FormShow();
  void LoadEntry();
  void btnProcADDClick();
  void Delete1Click();
  void btnSAVEClick();
  void StoreEntry();
  void btnCancelClick();

  // The main window reports changes of the history list made while the editor is open, so that
  // EntryID keeps pointing at the entry being edited. Once that entry is gone, EntryID is
  // kEntryGone and "OK" adds the edited entry at the end instead of replacing another one.
  void EntryInserted(int index);
  void EntryRemoved(int index);
  void ListReplaced();

  QGroupBox* grpMain = nullptr;
  QDateEdit* dtp1 = nullptr;
  QComboBox* cbbSVCStatus = nullptr;
  QLineEdit* edtKMStand = nullptr;
  QComboBox* cbbWorkshopTYP = nullptr;
  QLineEdit* edtWorkshopID = nullptr;
  QLineEdit* edtSVCCount = nullptr;
  QGroupBox* grpAdd = nullptr;
  QComboBox* cbbProcTYP = nullptr;
  QComboBox* cbbPROCStatus = nullptr;
  QPushButton* btnProcADD = nullptr;
  QTreeWidget* lvProcedures = nullptr;
  QMenu* pmEditor = nullptr;
  QAction* Delete1 = nullptr;
  QPushButton* btnSAVE = nullptr;
  QPushButton* btnCancel = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateGeneralInformation();
  void CreateAddGroup();
  void CreateProcedureList();
  void SetFocusOrder();
  void ClearInput();  // procedures, km, workshop ID and count; the rest is kept for the next use
  void AppendProcedureRow(const QString& number, uint8_t type, const QString& name, const QString& status);
  bool editingEntry() const { return !CreateNew && EntryID != kEntryGone; }
  bool shownBefore_ = false;
};

extern TFEditor* FEditor;

// The message of "OK" with a field left empty: five lines, CR LF between them.
inline constexpr const char* kInvalidDataMessage =
    "INVALID DATA\r\nPlease check input parameters:\r\n> KM Stand\r\n> WorkshopID\r\n> Procedures done";
