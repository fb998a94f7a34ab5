// tarvelo-cli export [--format csv|json|pdf] FILE [-o OUT] [--vin VIN]: a history file as CSV or
// JSON, or as the PDF service book.
#include <CLI/CLI.hpp>

#include "CliSupport.h"
#include "HistoryExchange.h"
#include "ServiceBookExport.h"
#include "TarveloError.h"

void AddExportCommand(CLI::App& app, CliStreams& io) {
  auto* cmd = app.add_subcommand("export", "Write a history file as CSV (for spreadsheets), JSON or a PDF service book");
  cmd->footer("The format is --format, else OUT's extension (.csv, .json, .pdf), else JSON. Without -o the text goes\n"
              "to stdout. Every byte of the history is kept: `import` gives the same file back.\n"
              "pdf: the service book to print, as the desktop program's \"Save As\" makes it; it needs -o, and\n"
              "--vin puts the car's VIN on it (else a line to fill in).\n"
              "Exit status: 0 written, 1 invalid data in FILE, 2 unreadable FILE, OUT not written or bad usage.");
  struct Args {
    std::string format;
    std::string file;
    std::string out;
    std::string vin;
  };
  auto args = std::make_shared<Args>();
  cmd->add_option("--format", args->format, "csv, json or pdf");
  cmd->add_option("FILE", args->file, "History file (*.kelta)")->required();
  cmd->add_option("-o,--output", args->out, "Where to write the CSV, JSON or PDF (a temporary file renamed at the end)");
  cmd->add_option("--vin", args->vin, "The car's VIN for the service book's title (pdf only)");
  cmd->callback([args, &io] {
    const bool book = args->format == "pdf" || (args->format.empty() && args->out.size() > 4 &&
                                                args->out.compare(args->out.size() - 4, 4, ".pdf") == 0);
    if (!book && !args->vin.empty()) {
      io.err << "tarvelo-cli: --vin is for the service book (--format pdf)\n";
      ExitWith(kExitUsage);
    }
    if (book) {
      if (args->out.empty()) {
        io.err << "tarvelo-cli: the service book is a PDF file: name it with -o BOOK.pdf\n";
        ExitWith(kExitUsage);
      }
      ExportServiceBookOrExit(LoadHistoryOrExit(args->file, io), args->out, args->vin, io);
      return;
    }
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
