// tarvelo-cli export [--format csv|json] FILE [-o OUT]: a history file as CSV or JSON.
#include <CLI/CLI.hpp>

#include "CliSupport.h"
#include "HistoryExchange.h"
#include "TarveloError.h"

void AddExportCommand(CLI::App& app, CliStreams& io) {
  auto* cmd = app.add_subcommand("export", "Write a history file as CSV (for spreadsheets) or JSON");
  cmd->footer("The format is --format, else OUT's extension (.csv, .json), else JSON. Without -o the text goes\n"
              "to stdout. Every byte of the history is kept: `import` gives the same file back.\n"
              "Exit status: 0 written, 1 invalid data in FILE, 2 unreadable FILE, OUT not written or bad usage.");
  struct Args {
    std::string format;
    std::string file;
    std::string out;
  };
  auto args = std::make_shared<Args>();
  cmd->add_option("--format", args->format, "csv or json");
  cmd->add_option("FILE", args->file, "History file (*.kelta)")->required();
  cmd->add_option("-o,--output", args->out, "Where to write the CSV or JSON (a temporary file renamed at the end)");
  cmd->callback([args, &io] {
    TExchangeFormat format = TExchangeFormat::Json;
    if (!args->format.empty()) {
      format = ExchangeFormatOrExit(args->format, io);
    } else if (const auto byExtension = ExchangeFormatOfPath(args->out)) {
      format = *byExtension;
    }
    const THistoryList list = LoadHistoryOrExit(args->file, io);
    const std::string text = ExportHistory(list, format);
    if (args->out.empty()) {
      io.out << text;
      return;
    }
    WriteFileOrExit(args->out, text, io);
  });
}
