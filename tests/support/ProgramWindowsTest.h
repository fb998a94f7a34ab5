#pragma once
// The one fixture of the window tests: the program's four windows, made afresh for every test
// function (init) and taken down after it (cleanup), with everything that reaches out of the
// program replaced: the desktop's "open" only records what it was asked to open.
//
// Widgets are found by their object names, in the window they belong to, as a user finds them by
// their captions: Find<QPushButton>(Connect(), "btnStart").
#include <QObject>
#include <QTest>
#include <QUrl>
#include <memory>

#include "history/HistoryList.h"
#include "tests/support/TempDir.h"
#include "ui/AppWindows.h"

class QTreeView;

class TProgramWindowsTest : public QObject {
  Q_OBJECT
 public:
  // The named widget (or action, or model) inside window; the test fails hard without it.
  template <typename T>
  static T* Find(QObject& window, const char* name) {
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no %s named %s in %s", T::staticMetaObject.className(), name, qPrintable(window.objectName()));
    return found;
  }

 protected:
  // The options the next windows are made with (init makes them with TestOptions()). "DETECT"
  // finds no network interface in them, so it sends nothing: a window test never broadcasts on the
  // machine's networks, nor into another test's private one.
  static TAppOptions TestOptions();
  // The same with the machine's interfaces, for the tests that run in a private network namespace.
  static TAppOptions NetworkTestOptions();
  // Takes the windows down and makes them again with other options (a simulated car's port, ...).
  void Restart(TAppOptions options);
  // Takes the windows down and starts them again as the program does, with file from its
  // command line (TAppWindows::Start).
  void StartWith(const QString& file);

  TAppWindows& App() { return *app_; }
  THistoryModel& History() { return app_->History(); }
  TFMain& Main() { return app_->Main(); }
  TFEditor& Editor() { return app_->Editor(); }
  TFConnect& Connect() { return app_->Connect(); }
  TFInfo& Info() { return app_->Info(); }

  // The main window's entries list, and the entries the history holds.
  QTreeView* Lv1();
  const THistoryList& Entries();
  // A folder of the test function's own: empty at its start, removed with its files after it.
  TempDir& Dir() const { return *dir_; }

  // What the windows asked the desktop to open, in order; and its answer to the next requests.
  static QList<QUrl> opened;
  static bool desktopOpens;

  // Hooks of a test class, around every test function.
  virtual void InitTest() {}
  virtual void CleanupTest() {}

 private slots:
  void init();
  void cleanup();

 private:
  std::unique_ptr<TempDir> dir_;
  std::unique_ptr<TAppWindows> app_;
};
