#pragma once
// TFMain: the main window. It owns the history list SHRecord, the exchange buffer _temprec and the
// last opened path _lastfn for the whole run, lists the entries and the procedures of the selected
// entry, runs the file commands and shows the other three windows.

#include <QMainWindow>

#include "HistoryFile.h"

class QHeaderView;
class QLabel;
class QMenu;
class QAction;
class QTreeView;
class TEntriesModel;
class TProceduresModel;

// The header bar's sections, left to right; the clicked position selects the command.
enum class THeaderSection { Open = 0, SaveAs, Clear, ReadFromCar, WriteToCar, InfoHelp };

class TFMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit TFMain(QWidget* parent = nullptr);
  ~TFMain() override;

  // Index 0 is the top row of lv1. Every element is a whole entry and owns its bytes.
  THistoryList SHRecord;
  // A file's bytes between reading and splitting, the entry chosen for editing, or the entry the
  // editor has just built.
  TBuffer _temprec;
  QString _lastfn;

  void SetStatus(const QString& message);  // "Status: " + message
  void RefreshList();                      // rebuilds lv1 from SHRecord and empties lv2

  // The file commands. Reading or creating a file that fails throws TarveloError into the
  // application's error report.
  bool OpenHistoryFile();   // the open dialog, then the whole file into _temprec; false: cancelled
  bool VerifyHistory();     // _temprec split into SHRecord, all or nothing
  void SaveHistoryFile();   // the save dialog, then SHRecord into the chosen file

  // The editor's "OK" hands its entry (in _temprec) over through these.
  void elementADD();  // insert at the top
  void elementEDT();  // replace the entry at the editor's EntryID (append when it is gone)

  void hdrcntrl1SectionClick(int section);
  void lv1SelectItem();
  void Add1Click();
  void Edit1Click();
  void Delete2Click();

  // The index in SHRecord of the entry selected in lv1, or -1.
  int SelectedEntryIndex() const;

  QHeaderView* hdrcntrl1 = nullptr;
  QTreeView* lv1 = nullptr;
  QTreeView* lv2 = nullptr;
  QLabel* stat1 = nullptr;  // the status bar's one panel
  QMenu* pmMain = nullptr;
  QAction* Add1 = nullptr;
  QAction* Edit1 = nullptr;
  QAction* Delete2 = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormCreate();
  void CreateHeaderBar();
  void CreateLists();
  void CreatePopupMenu();

  TEntriesModel* entries_ = nullptr;
  TProceduresModel* procedures_ = nullptr;
};

extern TFMain* FMain;

// Shows a window without making it modal, or brings it to the front when it is already shown.
void ShowModeless(QWidget* window);

inline constexpr const char* kMainCaption = "Quenmark: BMW Tarvelo " TARVELO_VERSION_TEXT;
