#pragma once
// TFMain: the main window. It lists the entries of the history and the procedures of the selected
// entry, runs the file commands and asks for the other windows through its signals; the history
// itself lives in the model it is given.

#include <QMainWindow>
#include <QPersistentModelIndex>
#include <functional>

#include "history/ServiceRecord.h"

class QLabel;
class QMenu;
class QAction;
class QDropEvent;
class QTreeView;
class QUndoStack;
class TEntriesModel;
class THeaderBar;
class THistoryModel;
class TProceduresModel;

// The header bar's sections, left to right; the clicked position selects the command.
enum class THeaderSection { Open = 0, SaveAs, Clear, ReadFromCar, WriteToCar, InfoHelp };

inline constexpr const char* kMainCaption = "Quenmark: BMW Tarvelo " TARVELO_VERSION_TEXT;

class TFMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit TFMain(THistoryModel& history);
  ~TFMain() override;

  // Asked when the window is closed: false keeps the program running (a write the user does not
  // want to cut off). Without a guard the program ends.
  void SetQuitGuard(std::function<bool()> mayQuit) { quitGuard_ = std::move(mayQuit); }

  // Where the entries list lies on the screen: what the other windows keep clear of.
  QRect EntriesListFrame() const;

  // The car's VIN, once "DETECT" found one: the service book prints it.
  void SetVehicleVin(const QString& vin);

  // Opens path as "Open" opens the file the user chose in its dialog: the file named on the
  // command line and a file dropped on the window. Throws ETarveloError, for the error report,
  // when the file cannot be read.
  void OpenFile(const QString& path);

  // The editor's "OK": a new entry on top of the list, or the edited entry in its place (at the
  // end when it went meanwhile). Both can be undone, as "Delete" and "Clear" can.
  void elementADD(TBuffer entry);
  void elementEDT(const QPersistentModelIndex& entry, TBuffer edited);

 signals:
  void AddRequested();
  void EditRequested(const QPersistentModelIndex& entry);
  void WriteToCarRequested();
  void InfoRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // A history file (*.kelta, *.bin), spreadsheet (*.csv) or JSON (*.json) dropped on the window,
  // one at a time, is opened as "Open" opens it.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void CreateHeaderBar();
  void CreateLists();
  void CreatePopupMenu();

  void SetStatus(const QString& message);  // "Status: " + message
  void RefreshList();                      // rebuilds lv1 from the history and empties lv2

  // The file commands. Reading or creating a file that fails throws ETarveloError into the
  // application's error report.
  void OpenCommand();             // the open dialog, then the file's entries in place of the list
  bool OpenHistoryFile();         // the open dialog; false: cancelled. Sets _lastfn
  void OpenLastFile();            // the entries of the file _lastfn names in place of the list
  bool TakeDrag(QDropEvent* event);  // accepts a drag of a file that "Open" takes, as a copy
  void SaveHistoryFile();         // the save dialog, then the list into the chosen file
  // The service book at path, with a progress dialog (and "Cancel") when it takes a while.
  // False: cancelled, nothing written.
  bool SaveServiceBook(const QString& path);

  void hdrcntrl1SectionClick(int section);
  void lv1SelectItem();
  void Add1Click();
  void Edit1Click();
  void Delete2Click();
  void ClearClick();
  int SelectedEntryIndex() const;  // the row of the entry selected in lv1, or -1

  THistoryModel& history_;
  QString _lastfn;  // the file last chosen in the open dialog; only shown in the status texts
  QString vin_;     // the VIN "DETECT" found since the program started, or empty
  std::function<bool()> quitGuard_;

  QUndoStack* undo_ = nullptr;  // Add, Edit, Delete and Clear since the last "Open"

  THeaderBar* hdrcntrl1 = nullptr;
  QTreeView* lv1 = nullptr;
  QTreeView* lv2 = nullptr;
  QLabel* stat1 = nullptr;  // the status bar's one panel
  QMenu* pmMain = nullptr;
  QAction* Add1 = nullptr;
  QAction* Edit1 = nullptr;
  QAction* Delete2 = nullptr;
  QAction* Undo1 = nullptr;
  QAction* Redo1 = nullptr;
  TEntriesModel* entries_ = nullptr;
  TProceduresModel* procedures_ = nullptr;
};
