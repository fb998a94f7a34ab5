// Splitting a history file and rendering the texts of every entry.
//
//   bench_history --benchmark_filter='Split|Memcpy'
//
// Split and Memcpy run over the same bytes, so their bytes-per-second figures give the ratio of
// splitting to a plain copy; the two sizes show that splitting grows linearly.
#include <benchmark/benchmark.h>

#include <cstring>
#include <map>

#include "bench/BenchEntries.h"
#include "history/RecordTexts.h"

namespace {

const TBuffer& FileBytes(std::size_t entries) {
  static std::map<std::size_t, TBuffer> cache;
  auto it = cache.find(entries);
  if (it == cache.end()) it = cache.emplace(entries, JoinHistory(MakeBenchHistory(entries))).first;
  return it->second;
}

void BM_SplitHistory(benchmark::State& state) {
  const TBuffer& bytes = FileBytes(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::optional<THistoryList> list = SplitHistory(bytes);
    benchmark::DoNotOptimize(list);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
  state.counters["entries"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_SplitHistory)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_MemcpySameBytes(benchmark::State& state) {
  const TBuffer& bytes = FileBytes(static_cast<std::size_t>(state.range(0)));
  TBuffer copy(bytes.size());
  for (auto _ : state) {
    std::memcpy(copy.data(), bytes.data(), bytes.size());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_MemcpySameBytes)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_RenderEveryText(benchmark::State& state) {
  const THistoryList list = MakeBenchHistory(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::size_t chars = 0;
    for (std::size_t row = 0; row < list.size(); ++row) {
      for (std::size_t c = 0; c < kEntryColumnCount; ++c) {
        chars += EntryCellText(list[row], row, list.size(), static_cast<TEntryColumn>(c)).size();
      }
      for (std::size_t k = 0; k < ProcCount(list[row]); ++k) {
        for (std::size_t c = 0; c < kProcedureColumnCount; ++c) {
          chars += ProcedureCellText(list[row], k, static_cast<TProcedureColumn>(c)).size();
        }
      }
    }
    benchmark::DoNotOptimize(chars);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_RenderEveryText)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
