// tarvelo-cli import [--format csv|json] IN -o OUT.kelta: a history file from CSV or JSON.
#include <CLI/CLI.hpp>

#include "CliSupport.h"
#include "HistoryExchange.h"
#include "ImportError.h"

void AddImportCommand(CLI::App& app, CliStreams& io) {
  auto* cmd = app.add_subcommand("import", "Make a history file from CSV or JSON (as `export` writes them)");
  cmd->footer("The format is --format, else IN's extension (.csv, .json). Input that breaks a rule is refused with\n"
              "its line and the reason (\"Line 4: ...\"), and no file is written.\n"
              "Exit status: 0 written, 1 refused input, 2 unreadable IN, OUT not written or bad usage.");
  struct Args {
    std::string format;
    std::string in;
    std::string out;
  };
  auto args = std::make_shared<Args>();
  cmd->add_option("--format", args->format, "csv or json");
  cmd->add_option("IN", args->in, "CSV or JSON file")->required();
  cmd->add_option("-o,--output", args->out, "History file to write (*.kelta)")->required();
  cmd->callback([args, &io] {
    std::optional<TExchangeFormat> format;
    if (!args->format.empty()) {
      format = ExchangeFormatOrExit(args->format, io);
    } else {
      format = ExchangeFormatOfPath(args->in);
      if (!format) {
        io.err << "tarvelo-cli: cannot tell the format of " << args->in << " by its extension; give --format csv or json\n";
        ExitWith(kExitUsage);
      }
    }
    const std::string text = ReadFileOrExit(args->in, io);
    THistoryList list;
    try {
      list = ImportHistory(text, *format);
    } catch (const TImportError& e) {
      io.err << args->in << ": " << e.what() << "\n";
      ExitWith(kExitFailed);
    }
    const TBuffer bytes = JoinHistory(list);
    WriteFileOrExit(args->out, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), io);
  });
}
