// tarvelo-cli export [--format csv|json|pdf] [--separator comma|semicolon|tab] FILE [-o OUT] [--vin VIN]:
// a history file as CSV or JSON, or as the PDF service book.
#include <CLI/CLI.hpp>

#include "exchange/HistoryExchange.h"
#include "history/TarveloError.h"
#include "tools/cli/CliSupport.h"
#include "tools/cli/ServiceBookExport.h"

namespace {

struct TExportArgs {
  std::string format;
  std::string separator;
  std::string file;
  std::string out;
  std::string vin;
};

// The format: --format, else OUT's extension, else CSV when a separator is asked for, else JSON.
// A separator with a format other than CSV is bad usage.
TExchangeFormat ExportFormatOrExit(const TExportArgs& args, TCliStreams& io) {
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

TExportOptions ExportOptionsOrExit(const TExportArgs& args, TCliStreams& io) {
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

void AddExportCommand(CLI::App& app, TCliStreams& io) {
  auto* cmd = app.add_subcommand("export", "Write a history file as CSV (for spreadsheets), JSON or a PDF service book");
  cmd->footer("The format is --format, else OUT's extension (.csv, .json, .pdf), else CSV when --separator is\n"
              "given, else JSON. Without -o the text goes to stdout. The CSV is UTF-8 with a byte order mark; its\n"
              "fields are separated by commas unless told (spreadsheets in a locale that writes decimals with\n"
              "a comma, such as German, expect semicolons). Every byte of the history is kept: `import` gives\n"
              "the same file back, also after a spreadsheet saved the CSV again.\n"
              "pdf: the service book to print, as the desktop program's \"Save As\" makes it; it needs -o, and\n"
              "--vin puts the car's VIN on it (else a line to fill in).\n"
              "OUT may be a device or a FIFO (written into, never replaced), but not FILE itself.\n"
              "Exit status: 0 written, 1 invalid data in FILE, 2 unreadable FILE, OUT not written (also stdout\n"
              "cut short) or bad usage.");
  auto args = std::make_shared<TExportArgs>();
  cmd->add_option("--format", args->format, "csv, json or pdf");
  cmd->add_option("--separator", args->separator, "Between the CSV's fields: comma (the default), semicolon or tab");
  cmd->add_option("FILE", args->file, "History file (*.kelta)")->required();
  cmd->add_option("-o,--output", args->out, "Where to write the CSV, JSON or PDF (a file is replaced whole at the end; a device or FIFO is written into)");
  cmd->add_option("--vin", args->vin, "The car's VIN for the service book's title (pdf only)");
  cmd->callback([args, &io] {
    const bool book = args->format == "pdf" || (args->format.empty() && args->out.size() > 4 &&
                                                args->out.compare(args->out.size() - 4, 4, ".pdf") == 0);
    if (!book && !args->vin.empty()) {
      io.err << "tarvelo-cli: --vin is for the service book (--format pdf)\n";
      ExitWith(kExitUsage);
    }
    if (book) {
      if (!args->separator.empty()) {
        io.err << "tarvelo-cli: --separator is for CSV, not for the service book\n";
        ExitWith(kExitUsage);
      }
      if (args->out.empty()) {
        io.err << "tarvelo-cli: the service book is a PDF file: name it with -o BOOK.pdf\n";
        ExitWith(kExitUsage);
      }
      RefuseOutputOverInput(args->file, args->out, io);
      ExportServiceBookOrExit(LoadHistoryOrExit(args->file, io), args->out, args->vin, io);
      return;
    }
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
