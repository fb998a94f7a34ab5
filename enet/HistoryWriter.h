#pragma once
// The sequence that writes a service history into the head unit: connect to the gateway, erase
// the head unit's history when asked, send every entry as one RoutineControl request, reset the
// head unit. The desktop program's "Start" and `tarvelo-cli write` both run it over a session of
// their own, so their log lines are the same.
//
// Every answer is looked at. A request without an answer, or one the head unit refuses, is logged
// as an "ERR: " line (with the reason when there was no answer) and the block ends with
// "[ ERROR ]"; the sequence itself goes on, so every request is still sent in the same order with
// the same pauses. A stop (the user's "Stop", Ctrl-C) ends it before the next request.

#include <cstdint>
#include <functional>
#include <string>

#include "EnetSession.h"
#include "HistoryList.h"

struct TWriteJob {
  std::string host;           // the gateway as the user typed it, UTF-8 (not trimmed, not checked)
  uint32_t port = kEnetPort;  // 6801; a simulated car may listen elsewhere
  THistoryList entries;       // a copy: the user may change the list while the write runs
  bool erase = true;          // erase the head unit's history first
};

// One log line at a time; an empty line is an empty string.
using TLogSink = std::function<void(const std::string&)>;
// Entries written so far, of all, after each entry's request.
using TWriteProgress = std::function<void(std::size_t written, std::size_t total)>;

// Runs the sequence over session (its host and port are set from the job; its timings give the
// pauses). Returns true when the block ended with "[ COMPLETE ]", false with "[ ERROR ]".
bool WriteServiceHistory(TEnetSession& session, const TWriteJob& job, const TLogSink& log,
                         const TWriteProgress& progress = {});

// What an answer to request says, as an "ERR: " line, or empty when it is the expected positive
// one. `what` names the request ("entry 3 of 7").
std::string AnswerProblem(const TEnetAnswer& answer, std::span<const uint8_t> request, const std::string& what);
