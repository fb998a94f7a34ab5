#pragma once
// The sequence that writes a service history into the head unit: connect to the gateway, erase
// the head unit's history when asked, send every entry as one RoutineControl request, reset the
// head unit. The desktop program's "Start" and `tarvelo-cli write` both run it, so their log lines
// are the same.
//
// Every answer is looked at. A request without an answer, or one the head unit refuses, is logged
// as an "ERR: " line and the block ends with "[ ERROR ]"; the sequence itself goes on as before, so
// every request is still sent in the same order with the same pauses.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "EnetFrame.h"
#include "HistoryFile.h"

inline constexpr int kErasePauseMs = 200;
inline constexpr int kEntryPauseMs = 100;

struct TWriteJob {
  std::string host;           // the gateway as the user typed it, UTF-8 (not trimmed, not checked)
  uint32_t port = kEnetPort;  // 6801; a simulated car may listen elsewhere
  THistoryList entries;       // a copy: the user may change the list while the write runs
  bool erase = true;          // erase the head unit's history first
  // The pauses the head unit needs after the erase and after each entry; only tests shorten them.
  std::chrono::milliseconds erasePause{kErasePauseMs};
  std::chrono::milliseconds entryPause{kEntryPauseMs};
};

// One log line at a time; an empty line is an empty string.
using TLogSink = std::function<void(const std::string&)>;
// Entries written so far, of all, after each entry's request.
using TWriteProgress = std::function<void(std::size_t written, std::size_t total)>;


// Runs the sequence over Enet and ClientSocket (EnetCreate must have run). Returns true when the
// block ended with "[ COMPLETE ]", false with "[ ERROR ]".
bool WriteServiceHistory(const TWriteJob& job, const TLogSink& log, const TWriteProgress& progress = {});

// The request that writes one entry: "3101A081" and the entry's bytes as upper-case hex.
std::string WriteEntryRequest(const TBuffer& entry);

// What a request's answer says, as an "ERR: " line, or empty when the answer is the expected
// positive one. `what` names the request ("entry 3 of 7"); expectedHex is the positive answer's
// beginning ("7101A081").
std::string AnswerProblem(const std::string& answerHex, const std::string& expectedHex, const std::string& what);
