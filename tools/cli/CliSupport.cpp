#include "tools/cli/CliSupport.h"

#include <CLI/CLI.hpp>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <new>
#include <nlohmann/json.hpp>

#include "history/TarveloError.h"

void ExitWith(TExitCode code) { throw CLI::RuntimeError(code); }

THistoryList LoadHistoryOrExit(const std::string& path, TCliStreams& io) {
  THistoryLoad load = LoadHistoryFile(path);
  if (load.Loaded()) return std::move(load.entries);
  io.err << load.Message() << "\n";
  ExitWith(load.outcome == THistoryLoad::Outcome::Unreadable ? kExitUsage : kExitFailed);
}

std::string ReadFileOrExit(const std::string& path, TCliStreams& io) {
  try {
    const TBuffer bytes = ReadWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
  } catch (const ETarveloError& e) {
    io.err << ErrorReportText(e.what()) << "\n";
    ExitWith(kExitUsage);
  }
}

void WriteFileOrExit(const std::string& path, std::string_view text, TCliStreams& io) {
  try {
    WriteFileAtomically(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  } catch (const ETarveloError& e) {
    io.err << ErrorReportText(e.what()) << "\n";
    ExitWith(kExitUsage);
  }
}

TExchangeFormat ExchangeFormatOrExit(const std::string& name, TCliStreams& io) {
  if (const auto format = ExchangeFormatNamed(name)) return *format;
  io.err << "tarvelo-cli: --format takes csv or json, not \"" << name << "\"\n";
  ExitWith(kExitUsage);
}

void RefuseOutputOverInput(const std::string& input, const std::string& output, TCliStreams& io) {
  if (!output.empty()) {
    std::error_code ec;
    if (!std::filesystem::equivalent(input, output, ec) || ec) return;
    io.err << "tarvelo-cli: -o \"" << output << "\" is the input file \"" << input
           << "\" itself; writing it would replace what is read. Give another file for the output\n";
    ExitWith(kExitUsage);
  }
  if (!io.outIsFile || !io.outIsFile(input)) return;
  std::error_code ec;
  const bool emptied = std::filesystem::file_size(input, ec) == 0 && !ec;
  io.err << "tarvelo-cli: the output goes into the input file \"" << input << "\" itself (a shell redirection), "
         << "which would damage it" << (emptied ? "; the redirection has already emptied it: restore it from a copy" : "")
         << ". Send the output to another file\n";
  ExitWith(kExitUsage);
}

namespace {

std::atomic<TWaitControl*> gInterruptTarget{nullptr};
volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void OnInterrupt(int) {
  gInterrupted = 1;
  if (TWaitControl* wait = gInterruptTarget.load()) wait->RequestStop();
  std::signal(SIGINT, SIG_DFL);  // the next Ctrl-C ends the program at once
}

}  // namespace

TStopOnInterrupt::TStopOnInterrupt(TWaitControl& wait) {
  gInterrupted = 0;
  gInterruptTarget = &wait;
  std::signal(SIGINT, OnInterrupt);
}

TStopOnInterrupt::~TStopOnInterrupt() {
  std::signal(SIGINT, SIG_DFL);
  gInterruptTarget = nullptr;
}

bool TStopOnInterrupt::Interrupted() const { return gInterrupted != 0; }

namespace {

int RunCommands(int argc, const char* const* argv, TCliStreams& io) {
  std::ostream& out = io.out;
  std::ostream& err = io.err;
  CLI::App app{"Tarvelo: the service history of a BMW head unit, from the command line.", "tarvelo-cli"};
  app.set_version_flag("--version", std::string(TARVELO_VERSION_TEXT));
  app.require_subcommand(1);
  app.footer("Run 'tarvelo-cli COMMAND --help' for the options of one command.");
  AddShowCommand(app, io);
  AddCheckCommand(app, io);
  AddRequestCommand(app, io);
  AddWriteCommand(app, io);
  AddDetectCommand(app, io);
  AddExportCommand(app, io);
  AddImportCommand(app, io);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e, out, err);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e, out, err);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e, out, err);
  } catch (const CLI::RuntimeError& e) {
    return e.get_exit_code();
  } catch (const CLI::ParseError& e) {
    err << "tarvelo-cli: " << e.what() << " (see 'tarvelo-cli --help')\n";
    return kExitUsage;
  } catch (const std::bad_alloc&) {
    err << "tarvelo-cli: the memory ran out on the way; close other programs, or work on a smaller file\n";
    return kExitFailed;
  } catch (const nlohmann::json::exception&) {
    // The JSON library's texts are for developers, and no value of a history should get here.
    err << "tarvelo-cli: the JSON text could not be made; please report this, with the file it was made from\n";
    return kExitFailed;
  } catch (const std::exception& e) {
    // Whatever else goes wrong ends the command with its reason, never with an abort.
    err << "tarvelo-cli: " << e.what() << "\n";
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace

int RunCli(int argc, const char* const* argv, TCliStreams io) {
  int code = RunCommands(argc, argv, io);
  // Output cut short (a full disk, a device that takes nothing) is a failure, never a success with
  // part of the text.
  io.out.flush();
  if (!io.out) {
    const std::string reason = io.outFailure ? io.outFailure() : std::string();
    io.err << "tarvelo-cli: the output could not be written" << (reason.empty() ? "" : " (" + reason + ")")
           << ", so it is incomplete; make room where it goes, or send it elsewhere\n";
    if (code != kExitInterrupted) code = kExitUsage;
  }
  return code;
}

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err, bool showProgress) {
  return RunCli(argc, argv, TCliStreams{out, err, showProgress, {}, {}});
}
