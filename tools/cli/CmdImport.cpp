// tarvelo-cli import [--format csv|json] IN -o OUT.kelta: a history file from CSV or JSON.
#include <CLI/CLI.hpp>

#include "exchange/HistoryExchange.h"
#include "exchange/ImportError.h"
#include "tools/cli/CliSupport.h"

void AddImportCommand(CLI::App& app, TCliStreams& io) {
  auto* cmd = app.add_subcommand("import", "Make a history file from CSV or JSON (as `export` writes them)");
  cmd->footer("The format is --format, else IN's extension (.csv, .json). A CSV may come back from a spreadsheet\n"
              "separated by commas, semicolons or tabs (found from the header row), in UTF-8 (with or without\n"
              "a byte order mark), UTF-16 with a byte order mark (\"Unicode text\"), or, when its bytes are not\n"
              "UTF-8, Windows-1252 (Excel's plain \"CSV\"); a character set other than UTF-8 is named on stderr.\n"
              "Input that breaks a rule is refused with its line, the reason and what to do (\"Line 4: ...\"),\n"
              "and no file is written: a date with a two-digit year, a workshop ID or date whose text no\n"
              "longer matches its bytes cell (a spreadsheet rewrote it, or it was edited), a file that a\n"
              "spreadsheet read in the wrong character set.\n"
              "Exit status: 0 written, 1 refused input, 2 unreadable IN, OUT not written, OUT naming IN, or bad\n"
              "usage.");
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
    RefuseOutputOverInput(args->in, args->out, io);
    const THistoryLoad load = LoadExchangeFile(args->in, *format);
    if (load.outcome == THistoryLoad::Outcome::Unreadable) {
      io.err << load.Message() << "\n";
      ExitWith(kExitUsage);
    }
    if (!load.note.empty()) io.err << args->in << ": " << load.note << "\n";
    if (!load.Loaded()) {
      io.err << args->in << ": " << load.problem << "\n";
      ExitWith(kExitFailed);
    }
    const TBuffer bytes = JoinHistory(load.entries);
    WriteFileOrExit(args->out, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), io);
  });
}
