// Opening a history of 100,000 entries in the main window: the split into entries, the history
// model's reset and the entries list's rebuild on the real widgets (offscreen), including the
// repaint that shows the first screen of rows.
#include <benchmark/benchmark.h>

#include <QTreeView>

#include "ui/AppWindows.h"
#include "bench/BenchEntries.h"
#include "history/HistoryFile.h"
#include "ui/TarveloApplication.h"
#include "ui/uMain.h"

namespace {

void BM_OpenAndShow(benchmark::State& state) {
  const TBuffer bytes = JoinHistory(MakeBenchHistory(static_cast<std::size_t>(state.range(0))));
  TAppWindows windows;
  windows.Main().show();
  auto* entries = windows.Main().findChild<QTreeView*>(QStringLiteral("lv1"));
  for (auto _ : state) {
    std::optional<THistoryList> list = SplitHistory(bytes);
    if (!list) state.SkipWithError("file rejected");
    windows.History().ReplaceAll(std::move(*list));  // the main window rebuilds its list from it
    entries->viewport()->repaint();
    QCoreApplication::processEvents();
  }
  state.counters["entries"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_OpenAndShow)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  TTarveloApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
