#pragma once
// The desktop program: the one owner of the history model and the four windows, which it creates
// in their order (TFMain, TFEditor, TFConnect, TFInfo) and joins: the main window's commands show
// the others, the editor's finished entries go into the history, and the main window asks before
// the program ends in the middle of a write. No window knows another.

#include <QUrl>
#include <functional>
#include <memory>

#include "ui/Connect.h"
#include "ui/HistoryModel.h"

class TFEditor;
class TFInfo;
class TFMain;
class TWindowPlacer;

// Where the program reaches out of itself. The defaults are the real ones; tests hand in their own.
struct TAppOptions {
  TConnectOptions connect;
  std::function<bool(const QUrl&)> openWithDesktop;  // empty: the desktop's own (OpenWithDesktop)
};

class TAppWindows {
 public:
  explicit TAppWindows(TAppOptions options = {});
  ~TAppWindows();
  TAppWindows(const TAppWindows&) = delete;
  TAppWindows& operator=(const TAppWindows&) = delete;

  THistoryModel& History() { return history_; }
  TFMain& Main() { return *main_; }
  TFEditor& Editor() { return *editor_; }
  TFConnect& Connect() { return *connect_; }
  TFInfo& Info() { return *info_; }

  // Shows the main window and, when file is not empty, opens it there as "Open" opens the file the
  // user chose, once the message loop runs: a file that cannot be read is reported over the shown
  // window, which stays with an empty list.
  void Start(const QString& file = {});

 private:
  bool MayQuit();

  THistoryModel history_;
  TFMain* main_ = nullptr;  // owns the other three, as their parent
  TFEditor* editor_ = nullptr;
  TFConnect* connect_ = nullptr;
  TFInfo* info_ = nullptr;
  TWindowPlacer* placer_ = nullptr;  // owned by the main window
};

// The whole program: socket library, application, title, style, windows, the file of the command
// line, message loop. A command line it refuses ends it with status 2 and the reason on stderr.
int RunTarvelo(int argc, char** argv);
