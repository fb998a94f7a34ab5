// tarvelo-cli show [--json] FILE: the entries as the main window lists them, each with the
// procedures the procedures list shows when the entry is selected.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "history/RecordTexts.h"
#include "tools/cli/CliSupport.h"
#include "tools/cli/TextTable.h"

namespace {

constexpr std::string_view kProcedureIndent = "    ";

std::vector<std::string> EntryCells(const THistoryList& list, std::size_t row) {
  std::vector<std::string> cells;
  for (std::size_t c = 0; c < kEntryColumnCount; ++c) {
    cells.push_back(EntryCellText(list[row], row, list.size(), static_cast<TEntryColumn>(c)));
  }
  return cells;
}

std::vector<std::string> ProcedureCells(const TBuffer& entry, std::size_t k) {
  std::vector<std::string> cells;
  for (std::size_t c = 0; c < kProcedureColumnCount; ++c) {
    cells.push_back(ProcedureCellText(entry, k, static_cast<TProcedureColumn>(c)));
  }
  return cells;
}

void PrintText(const THistoryList& list, std::ostream& out) {
  std::vector<TTextColumn> entryColumns;
  for (std::size_t c = 0; c < kEntryColumnCount; ++c) {
    entryColumns.push_back({std::string(kEntryColumnCaptions[c]), kEntryColumnAlignments[c]});
  }
  std::vector<TTextColumn> procedureColumns;
  for (std::string_view caption : kProcedureColumnCaptions) procedureColumns.push_back({std::string(caption)});

  TTextTableLayout entries(entryColumns);
  TTextTableLayout procedures(procedureColumns);
  for (std::size_t row = 0; row < list.size(); ++row) {
    entries.Fit(EntryCells(list, row));
    for (std::size_t k = 0; k < ProcCount(list[row]); ++k) procedures.Fit(ProcedureCells(list[row], k));
  }

  out << entries.FormatHeader() << "\n";
  for (std::size_t row = 0; row < list.size(); ++row) {
    out << entries.FormatRow(EntryCells(list, row)) << "\n";
    if (ProcCount(list[row]) == 0) continue;
    out << kProcedureIndent << procedures.FormatHeader() << "\n";
    for (std::size_t k = 0; k < ProcCount(list[row]); ++k) {
      out << kProcedureIndent << procedures.FormatRow(ProcedureCells(list[row], k)) << "\n";
    }
  }
}

void PrintJson(const std::string& path, const THistoryList& list, std::ostream& out) {
  nlohmann::ordered_json entries = nlohmann::ordered_json::array();
  for (std::size_t row = 0; row < list.size(); ++row) {
    nlohmann::ordered_json entry;
    const std::vector<std::string> cells = EntryCells(list, row);
    for (std::size_t c = 0; c < kEntryColumnCount; ++c) entry[std::string(kEntryColumnCaptions[c])] = cells[c];
    nlohmann::ordered_json procedures = nlohmann::ordered_json::array();
    for (std::size_t k = 0; k < ProcCount(list[row]); ++k) {
      nlohmann::ordered_json procedure;
      const std::vector<std::string> procedureCells = ProcedureCells(list[row], k);
      for (std::size_t c = 0; c < kProcedureColumnCount; ++c) {
        procedure[std::string(kProcedureColumnCaptions[c])] = procedureCells[c];
      }
      procedures.push_back(std::move(procedure));
    }
    entry["procedures"] = std::move(procedures);
    entries.push_back(std::move(entry));
  }
  nlohmann::ordered_json doc;
  doc["file"] = path;
  doc["entries"] = std::move(entries);
  // A file name need not be UTF-8; its bytes that are not show as U+FFFD, as file managers show them.
  out << doc.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
}

}  // namespace

void AddShowCommand(CLI::App& app, TCliStreams& io) {
  auto* cmd = app.add_subcommand("show", "Show the entries of a history file as the main window lists them");
  cmd->footer("Exit status: 0 shown, 1 invalid data, 2 unreadable file, output that could not be written whole\n"
              "(a full disk), stdout redirected into FILE itself, or bad usage.");
  auto path = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  cmd->add_option("FILE", *path, "History file (*.kelta)")->required();
  cmd->add_flag("--json", *json, "Print JSON: the column captions as keys, the shown texts as values");
  cmd->callback([path, json, &io] {
    RefuseOutputOverInput(*path, "", io);
    const THistoryList list = LoadHistoryOrExit(*path, io);
    if (*json) {
      PrintJson(*path, list, io.out);
    } else {
      PrintText(list, io.out);
    }
  });
}
