#pragma once
// TFEditor: the modeless editor of one service entry. "Add" opens it on a new entry, "Edit" on an
// entry of the history (held as a QPersistentModelIndex, which follows its row while the list
// changes). It keeps the procedures as values, builds the entry's fields from its own state, and
// hands them on through its signals; it never touches the history itself.

#include <QDate>
#include <QPersistentModelIndex>
#include <QWidget>
#include <vector>

#include "history/ServiceRecord.h"

class QComboBox;
class TDateField;
class QGroupBox;
class QLineEdit;
class QMenu;
class QAction;
class QPushButton;
class QTreeWidget;

// The message of "OK" with a field left empty: five lines, CR LF between them.
inline constexpr const char* kInvalidDataMessage = QT_TRANSLATE_NOOP(
    "TFEditor", "INVALID DATA\r\nPlease check input parameters:\r\n> KM Stand\r\n> WorkshopID\r\n> Procedures done");

class TFEditor : public QWidget {
  Q_OBJECT
 public:
  explicit TFEditor(QWidget* owner);

  // "Add": a new entry. "Edit": the entry at `entry`, loaded from its bytes. When the editor is
  // open on another entry and holds changes, the user is asked first whether to give them up;
  // "No" keeps the editor on what it holds. Opening it again on what it edits brings it to the front.
  // An entry the editor cannot show (a stored date that is no calendar date, or one outside the
  // date picker's range) is refused with the error report before anything changes: the editor
  // stays exactly as it was, open on what it held or closed.
  void EditNew();
  void EditEntry(const QPersistentModelIndex& entry, const TBuffer& bytes);

 signals:
  // "OK": the fields of a new entry, or of the entry the editor was opened on (whose index is no
  // longer valid when that entry went meanwhile).
  void EntryAdded(const TServiceFields& fields);
  void EntryEdited(const QPersistentModelIndex& entry, const TServiceFields& fields);

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // One row of the procedures list. "#" is the number the row got when it was added or loaded
  // (rows are not numbered again after a delete); status is the code as loaded or chosen.
  struct TProcedureRow {
    int number = 0;
    uint8_t type = 0;
    uint8_t status = 0;
    friend bool operator==(const TProcedureRow&, const TProcedureRow&) = default;
  };
  // What the fields hold, to tell whether the user changed anything.
  struct TForm {
    QString date, km, workshopID;
    int workshopType = -1, serviceStatus = -1;
    std::vector<TProcedureRow> procedures;
    friend bool operator==(const TForm&, const TForm&) = default;
  };

  void CreateGeneralInformation();
  void CreateAddGroup();
  void CreateProcedureList();
  void SetFocusOrder();
  void PlaceResizingControls();

  void FormShow();
  void LoadEntry();
  // Why the editor cannot show the entry: the error report's text, or empty when it can.
  QString RefusalOf(const TBuffer& rec) const;
  void btnProcADDClick();
  void Delete1Click();
  void btnSAVEClick();
  TServiceFields StoreEntry() const;  // the fields as they stand; throws for a km text that is no integer
  void btnCancelClick();

  // Whether the editor may leave what it holds for another entry: without changes it may; with
  // changes the user decides.
  bool MayLeave(const QString& question);
  void Begin();  // starts the use set up in use_ and entry_: an open editor starts it at once
  void ClearInput();  // procedures, km, workshop ID and count; the rest is kept for the next use
  void ShowProcedures();
  TForm Form() const;

  enum class TUse { NewEntry, ExistingEntry };
  TUse use_ = TUse::NewEntry;
  QPersistentModelIndex entry_;  // the edited entry, for ExistingEntry
  TBuffer loaded_;               // its bytes when the editor was opened on it
  std::vector<TProcedureRow> procedures_;
  TForm shownForm_;  // the fields as the current use began

  QGroupBox* grpMain = nullptr;
  TDateField* dtp1 = nullptr;
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
};
