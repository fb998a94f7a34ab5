#pragma once
// What every command of tarvelo-cli shares: the output streams, the exit codes and loading a
// history file with the texts the desktop program shows.

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "enet/WaitControl.h"
#include "exchange/HistoryExchange.h"
#include "history/HistoryFile.h"

namespace CLI {
class App;
}

// 0: done; 1: the outcome failed (invalid data, the car refused, nobody answered);
// 2: bad usage or unreadable input; 130: stopped by Ctrl-C (128 + SIGINT, as shells report it).
enum TExitCode : int { kExitOk = 0, kExitFailed = 1, kExitUsage = 2, kExitInterrupted = 130 };

struct TCliStreams {
  std::ostream& out;
  std::ostream& err;
  bool showProgress = false;  // err is a terminal: long work may say how far it is
  // The system's reason when writing `out` failed ("No space left on device"), when the program's
  // stdout can tell it; empty otherwise.
  std::function<std::string()> outFailure;
  // Whether `out` writes into the file at path (stdout redirected into it), when the program's
  // stdout can tell it.
  std::function<bool(const std::string& path)> outIsFile;
};

// Ends the running command with the exit code (CLI11 carries it out of the callback).
[[noreturn]] void ExitWith(TExitCode code);

// Reads and splits a history file. Unreadable: prints the "Cannot open file ..." text on err and
// ends with 2. Bytes that do not split: prints "Invalid data: " and the path, ends with 1.
THistoryList LoadHistoryOrExit(const std::string& path, TCliStreams& io);

// Reads a whole file (at most the 1 GiB a history file may have) as text; unreadable: prints the
// "Cannot open file ..." text on err and ends with 2.
std::string ReadFileOrExit(const std::string& path, TCliStreams& io);

// Writes text to path as a history file is written (a temporary file renamed over it at the end,
// so a failure leaves no half-written file); failing: prints "Cannot create file ..." and ends with 2.
void WriteFileOrExit(const std::string& path, std::string_view text, TCliStreams& io);

// "csv" or "json" to the format; anything else prints why and ends with 2.
TExchangeFormat ExchangeFormatOrExit(const std::string& name, TCliStreams& io);

// Ends with 2, before anything is written, when the output would replace the input it is made
// from: `output` (an -o file) naming the input file by any path (the same file through another
// name, a link), or, for an empty `output`, stdout redirected into the input file.
void RefuseOutputOverInput(const std::string& input, const std::string& output, TCliStreams& io);

// While it lives, the first Ctrl-C (SIGINT) asks the wait to stop, so that a running exchange ends
// before its next request; a second Ctrl-C ends the program at once, as usual.
class TStopOnInterrupt {
 public:
  explicit TStopOnInterrupt(TWaitControl& wait);
  ~TStopOnInterrupt();
  TStopOnInterrupt(const TStopOnInterrupt&) = delete;
  TStopOnInterrupt& operator=(const TStopOnInterrupt&) = delete;
  bool Interrupted() const;
};

// Runs tarvelo-cli with the arguments; returns the exit code. Output that could not be written
// whole (stdout on a full disk, a closed pipe end) ends with a message on err and 2.
int RunCli(int argc, const char* const* argv, TCliStreams io);
int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err, bool showProgress = false);

// The commands, one file each.
void AddShowCommand(CLI::App& app, TCliStreams& io);
void AddCheckCommand(CLI::App& app, TCliStreams& io);
void AddRequestCommand(CLI::App& app, TCliStreams& io);
void AddWriteCommand(CLI::App& app, TCliStreams& io);
void AddDetectCommand(CLI::App& app, TCliStreams& io);
void AddExportCommand(CLI::App& app, TCliStreams& io);
void AddImportCommand(CLI::App& app, TCliStreams& io);
