#include "tests/support/ProgramWindowsTest.h"

#include <QTreeView>

#include "tests/support/UiTestSupport.h"
#include "ui/HistoryModel.h"
#include "ui/uMain.h"

QList<QUrl> TProgramWindowsTest::opened;
bool TProgramWindowsTest::desktopOpens = true;

TAppOptions TProgramWindowsTest::TestOptions() {
  TAppOptions options;
  // "DETECT" sends once unless a test asks for its repeats: the tests count the requests a device hears.
  options.connect.detectRepeat = std::chrono::hours(1);
  options.connect.interfaces = [](tNetworkInterfaceList& list) {  // an injected list of none
    list.clear();
    return false;
  };
  options.openWithDesktop = [](const QUrl& url) {
    opened << url;
    return desktopOpens;
  };
  return options;
}

// Only for ui_detect_test and ui_faults_test, whose main() enters a private network namespace (netns)
// before a window exists; every other test keeps the injected empty list of TestOptions().
TAppOptions TProgramWindowsTest::NetworkTestOptions() {
  TAppOptions options = TestOptions();
  options.connect.interfaces = EnumInterfaces;
  return options;
}

void TProgramWindowsTest::Restart(TAppOptions options) {
  CancelModalWatchers();
  app_.reset();
  app_ = std::make_unique<TAppWindows>(std::move(options));
  app_->Main().show();
  QVERIFY(QTest::qWaitForWindowExposed(&app_->Main()));
}

void TProgramWindowsTest::StartWith(const QString& file) {
  // The watches for modal windows stay: the start may show one (an error report).
  app_.reset();
  app_ = std::make_unique<TAppWindows>(TestOptions());
  app_->Start(file);
  QVERIFY(QTest::qWaitForWindowExposed(&app_->Main()));
}

QTreeView* TProgramWindowsTest::Lv1() { return Find<QTreeView>(Main(), "lv1"); }

const THistoryList& TProgramWindowsTest::Entries() { return History().SHRecord(); }

void TProgramWindowsTest::init() {
  dir_ = std::make_unique<TempDir>();
  opened.clear();
  desktopOpens = true;
  Restart(TestOptions());
  InitTest();
}

void TProgramWindowsTest::cleanup() {
  CleanupTest();
  CancelModalWatchers();
  app_.reset();
  dir_.reset();
}
