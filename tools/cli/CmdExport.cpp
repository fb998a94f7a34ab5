// tarvelo-cli export [--format csv|json] [--separator comma|semicolon|tab] FILE [-o OUT]: a history
// file as CSV or JSON.
#include <CLI/CLI.hpp>

#include "CliSupport.h"
#include "HistoryExchange.h"
#include "TarveloError.h"

namespace {

struct ExportArgs {
  std::string format;
  std::string separator;
  std::string file;
  std::string out;
};

// The format: --format, else OUT's extension, else CSV when a separator is asked for, else JSON.
// A separator with a format other than CSV is bad usage.
TExchangeFormat ExportFormatOrExit(const ExportArgs& args, CliStreams& io) {
  std::optional<TExchangeFormat> format;
  if (!args.format.empty()) {
    format = ExchangeFormatOrExit(args.format, io);
  } else {
    format = ExchangeFormatOfPath(args.out);
  }
  if (!format) format = args.separator.empty() ? TExchangeFormat::Json : TExchangeFormat::Csv;
  if (!args.separator.empty() && *format != TExchangeFormat::Csv) {
    io.err << "tarvelo-cli: --separator is for CSV; give --format csv, or leave --separator out for JSON\n";
    ExitWith(kExitUsage);
  }
  return *format;
}

TExportOptions ExportOptionsOrExit(const ExportArgs& args, CliStreams& io) {
  TExportOptions options;
  if (args.separator.empty()) return options;
  const std::optional<char> separator = CsvSeparatorNamed(args.separator);
  if (!separator) {
    io.err << "tarvelo-cli: --separator takes comma, semicolon or tab, not \"" << args.separator << "\"\n";
    ExitWith(kExitUsage);
  }
  options.csvSeparator = *separator;
  return options;
}

}  // namespace

void AddExportCommand(CLI::App& app, CliStreams& io) {
  auto* cmd = app.add_subcommand("export", "Write a history file as CSV (for spreadsheets) or JSON");
  cmd->footer("The format is --format, else OUT's extension (.csv, .json), else CSV when --separator is given,\n"
              "else JSON. Without -o the text goes to stdout. The CSV is UTF-8 with a byte order mark; its\n"
              "fields are separated by commas unless told (spreadsheets in a locale that writes decimals with\n"
              "a comma, such as German, expect semicolons). Every byte of the history is kept: `import` gives\n"
              "the same file back, also after a spreadsheet saved the CSV again.\n"
              "OUT may be a device or a FIFO (written into, never replaced), but not FILE itself.\n"
              "Exit status: 0 written, 1 invalid data in FILE, 2 unreadable FILE, OUT not written (also stdout\n"
              "cut short) or bad usage.");
  auto args = std::make_shared<ExportArgs>();
  cmd->add_option("--format", args->format, "csv or json");
  cmd->add_option("--separator", args->separator, "Between the CSV's fields: comma (the default), semicolon or tab");
  cmd->add_option("FILE", args->file, "History file (*.kelta)")->required();
  cmd->add_option("-o,--output", args->out, "Where to write the CSV or JSON (a temporary file renamed at the end)");
  cmd->callback([args, &io] {
    const TExchangeFormat format = ExportFormatOrExit(*args, io);
    const TExportOptions options = ExportOptionsOrExit(*args, io);
    RefuseOutputOverInput(args->file, args->out, io);
    const THistoryList list = LoadHistoryOrExit(args->file, io);
    const std::string text = ExportHistory(list, format, options);
    if (args->out.empty()) {
      io.out << text;
      return;
    }
    WriteFileOrExit(args->out, text, io);
  });
}
