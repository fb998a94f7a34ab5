#pragma once
// The simulated head unit at diagnostic address 63: it answers the three requests the writer
// sends and keeps the service history they build.
//
//   31 01 A0 80            erase the service history       -> 71 01 A0 80
//   31 01 A0 81 <entry>    append one entry                -> 71 01 A0 81, or 7F 31 13 when the
//                                                             entry is not 19 + 8 x count bytes
//   11 01                  hard reset: keep what was written -> 51 01
//   any other service      -> 7F <service> 11 (serviceNotSupported)

#include <cstdint>
#include <span>

#include "enet/HeadUnitProtocol.h"
#include "history/HistoryList.h"

class THeadUnit {
 public:
  explicit THeadUnit(THistoryList history = {}) : history_(std::move(history)) {}

  struct Outcome {
    TBuffer answer;
    bool historyChanged = false;  // erased, appended to, or reset (the history is kept for good)
  };
  Outcome Answer(std::span<const uint8_t> request);

  const THistoryList& History() const { return history_; }

 private:
  THistoryList history_;
};
