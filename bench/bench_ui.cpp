// Opening a history of 100,000 entries in the main window: the split into entries, the history
// model's reset and the entries list's rebuild on the real widgets (offscreen), including the
// window's repaint that shows the first screen of rows.
#include <benchmark/benchmark.h>

#include "bench/BenchEntries.h"
#include "history/HistoryFile.h"
#include "ui/AppWindows.h"
#include "ui/TarveloApplication.h"
#include "ui/uMain.h"

namespace {

void BM_OpenAndShow(benchmark::State& state) {
  const TBuffer bytes = JoinHistory(MakeBenchHistory(static_cast<std::size_t>(state.range(0))));
  TAppWindows windows;
  windows.Main().show();
  for (auto _ : state) {
    std::optional<THistoryList> list = SplitHistory(bytes);
    if (!list) state.SkipWithError("file rejected");
    windows.History().ReplaceAll(std::move(*list));  // the main window rebuilds its list from it
    windows.Main().repaint();  // the whole window at once, its lists' first screen of rows with it
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
