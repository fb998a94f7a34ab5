// The service book of 9, 1,000, 10,000 and 100,000 entries, written as a PDF file: the time per
// book and per entry, the file's size and the process's peak resident memory while it is made (Linux's
// VmHWM, reset before each book).
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "bench/BenchEntries.h"
#include "book/ServiceBook.h"

namespace {

// The peak resident memory of this process in MB since the last ResetPeakMemory, or 0 where the
// system does not tell.
double PeakMemoryMB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;  // kB
  }
  return 0;
}

void ResetPeakMemory() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
}

void BM_ServiceBook(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  const THistoryList entries = MakeBenchHistory(count);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("book.pdf"));
  ResetPeakMemory();
  for (auto _ : state) {
    if (WriteServiceBookPdf(path, entries, QStringLiteral("WBA8E9C57GK123456")) != TBookOutcome::Written) {
      state.SkipWithError("the book was not written");
    }
  }
  state.counters["entries"] = static_cast<double>(count);
  state.counters["us_per_entry"] = benchmark::Counter(static_cast<double>(count), benchmark::Counter::kIsIterationInvariantRate |
                                                                                     benchmark::Counter::kInvert);
  state.counters["peak_MB"] = PeakMemoryMB();
  state.counters["file_MB"] = static_cast<double>(QFileInfo(path).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ServiceBook)->Arg(9)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ServiceBook)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
