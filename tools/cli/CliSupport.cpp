#include "CliSupport.h"

#include <CLI/CLI.hpp>
#include <atomic>
#include <csignal>

#include "TarveloError.h"

void ExitWith(ExitCode code) { throw CLI::RuntimeError(code); }

THistoryList LoadHistoryOrExit(const std::string& path, CliStreams& io) {
  THistoryLoad load = LoadHistoryFile(path);
  if (load.Loaded()) return std::move(load.entries);
  io.err << load.Message() << "\n";
  ExitWith(load.outcome == THistoryLoad::Outcome::Unreadable ? kExitUsage : kExitFailed);
}

std::string ReadFileOrExit(const std::string& path, CliStreams& io) {
  try {
    const TBuffer bytes = ReadHistoryFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
  } catch (const TarveloError& e) {
    io.err << ErrorReportText(e.what()) << "\n";
    ExitWith(kExitUsage);
  }
}

void WriteFileOrExit(const std::string& path, std::string_view text, CliStreams& io) {
  try {
    WriteHistoryFileBytes(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  } catch (const TarveloError& e) {
    io.err << ErrorReportText(e.what()) << "\n";
    ExitWith(kExitUsage);
  }
}

TExchangeFormat ExchangeFormatOrExit(const std::string& name, CliStreams& io) {
  if (const auto format = ExchangeFormatNamed(name)) return *format;
  io.err << "tarvelo-cli: --format takes csv or json, not \"" << name << "\"\n";
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

StopOnInterrupt::StopOnInterrupt(TWaitControl& wait) {
  gInterrupted = 0;
  gInterruptTarget = &wait;
  std::signal(SIGINT, OnInterrupt);
}

StopOnInterrupt::~StopOnInterrupt() {
  std::signal(SIGINT, SIG_DFL);
  gInterruptTarget = nullptr;
}

bool StopOnInterrupt::Interrupted() const { return gInterrupted != 0; }

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err, bool showProgress) {
  CliStreams io{out, err, showProgress};
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
  } catch (const std::exception& e) {
    // Whatever else goes wrong (memory running out on the way) ends the command with its reason,
    // never with an abort.
    err << "tarvelo-cli: " << e.what() << "\n";
    return kExitFailed;
  }
  return kExitOk;
}
