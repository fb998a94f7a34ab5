#pragma once
// The sequence that writes a service history into the head unit: connect to the gateway, erase
// the head unit's history when asked, send every entry as one RoutineControl request, reset the
// head unit. The desktop program's "Start" and `tarvelo-cli write` both run it over a session of
// their own, so their log lines are the same.
//
// Every answer is looked at, and the write ends with the head unit holding exactly the list, or
// with the log saying exactly what it holds:
// - A request without an answer, or one the head unit refuses, is logged as an "ERR: " line (with
//   the reason when there was no answer) and the block ends with "[ ERROR ]".
// - An erase that is refused or not answered stops the write before any entry: the old history is
//   still there, and nothing of the list was written.
// - An entry the head unit refuses does not stop the write; the end of the log names the entries
//   it did not take.
// - A connection lost at an entry (the car closed or reset it, or gave no answer, after which the
//   session gives the connection up) is never silently opened again: a resent or skipped entry
//   would be a duplicate or a gap. With the erase, the write connects again and starts over from
//   the erase, at most twice, so the head unit ends with exactly the list whatever it stored of the
//   attempt before. Without the erase, the write stops there.
// - A stop (the user's "Stop", Ctrl-C) ends it before the next request.
// Whenever the head unit does not hold exactly the list, the last "ERR: " line says what it holds.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "enet/EnetSession.h"
#include "history/HistoryList.h"

struct TWriteJob {
  std::string host;           // the gateway as the user typed it, UTF-8 (not trimmed, not checked)
  uint32_t port = kEnetPort;  // 6801; a simulated car may listen elsewhere
  THistoryList entries;       // a copy: the user may change the list while the write runs
  bool erase = true;          // erase the head unit's history first
};

// How often a write that lost its connection starts over (with the erase).
inline constexpr int kMaxWriteRestarts = 2;

// One log line at a time; an empty line is an empty string.
using TLogSink = std::function<void(const std::string&)>;

// What the windows and the CLI show while the write runs.
struct TWriteObserver {
  // Entries written so far, of all: after each entry's answer, and 0 when the write (re)starts.
  std::function<void(std::size_t written, std::size_t total)> progress;
  // While the head unit asks for more time ("response pending"), after each such answer, with the
  // time since the request was sent:
  // "Entry 3 of 9: the head unit asks for more time (12 s)".
  std::function<void(const std::string& text, std::chrono::milliseconds waited)> waiting;
};

// Runs the sequence over session (its host and port are set from the job; its timings give the
// pauses). Returns true when the block ended with "[ COMPLETE ]", false with "[ ERROR ]".
bool WriteServiceHistory(TEnetSession& session, const TWriteJob& job, const TLogSink& log,
                         const TWriteObserver& observer = {});

// What an answer to request says, as an "ERR: " line, or empty when it is the expected positive
// one. `what` names the request ("entry 3 of 7").
std::string AnswerProblem(const TEnetAnswer& answer, std::span<const uint8_t> request, const std::string& what);

// What became of each entry of the list in the last attempt of a write.
enum class TEntryFate {
  NotSent,      // the write ended (stopped, connection lost) before it
  Taken,        // the head unit answered positively
  Refused,      // the head unit answered negatively
  Unconfirmed,  // no answer, or an unexpected one: the head unit may or may not hold it
};

// The "ERR: " line that says what the head unit holds after the write, or empty when it took every
// entry. erased: the head unit's old history was erased before the entries (without it, the old
// history is still there before them). Entries are named by their place in the list (1 is the
// first sent): "ERR: The head unit holds entries 1 to 2 of 9; entry 3 got no answer or an
// unexpected one, so it may be there too; entries 4 to 9 were not written."
std::string HeldByHeadUnit(const std::vector<TEntryFate>& fates, bool erased);

// "entry 3", "entries 1 to 2", "entries 1 to 4, 6 and 8 to 9": 0-based indices, ascending, named
// from 1.
std::string EntriesText(const std::vector<std::size_t>& indices);
