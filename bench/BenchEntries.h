#pragma once
// A history of realistic entries for the benchmarks: one to five procedures each, so entries are
// 27 to 59 bytes long as in real service books.
#include "history/HistoryFile.h"

inline THistoryList MakeBenchHistory(std::size_t count) {
  THistoryList list;
  list.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    TServiceFields f{static_cast<uint8_t>(1 + i % 28), static_cast<uint8_t>(1 + i % 12),
                    static_cast<uint16_t>(2000 + i % 25), static_cast<uint32_t>(i * 37 % 9999999),
                    static_cast<uint8_t>(i % 2), "W" + std::to_string(i % 100000), static_cast<uint8_t>(1 + i % 3), {}};
    for (std::size_t p = 0; p <= i % 5; ++p) f.procedures.push_back({static_cast<uint8_t>(1 + p), static_cast<uint8_t>(1 + (i + p) % 3)});
    list.push_back(BuildServiceRecord(f));
  }
  return list;
}
