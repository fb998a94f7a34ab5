// Opening a history of 100,000 entries in the main window: VerifyHistory and RefreshList on the
// real widgets (offscreen), including the repaint that shows the first screen of rows.
#include <benchmark/benchmark.h>

#include <QTreeView>

#include "AppWindows.h"
#include "BenchEntries.h"
#include "TarveloApplication.h"
#include "VisualStyle.h"
#include "uMain.h"

namespace {

void BM_OpenAndShow(benchmark::State& state) {
  const TBuffer bytes = JoinHistory(MakeBenchHistory(static_cast<std::size_t>(state.range(0))));
  CreateWindows();
  FMain->show();
  for (auto _ : state) {
    FMain->_temprec = bytes;
    if (!FMain->VerifyHistory()) state.SkipWithError("file rejected");
    FMain->RefreshList();
    FMain->lv1->viewport()->repaint();
    QCoreApplication::processEvents();
  }
  state.counters["entries"] = static_cast<double>(state.range(0));
  DestroyWindows();
}
BENCHMARK(BM_OpenAndShow)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  TTarveloApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("Tarvelo"));
  ApplyVisualStyle(app);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
