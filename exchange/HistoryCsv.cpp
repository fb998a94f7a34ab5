#include "exchange/HistoryCsv.h"

#include <map>

#include "exchange/CsvProcedures.h"
#include "exchange/CsvText.h"
#include "exchange/ExchangeEntry.h"
#include "exchange/ImportError.h"

namespace {

constexpr std::string_view kColumns[] = {
    column::kNumber,         column::kDate,          column::kKM,         column::kWorkshopType,
    column::kWorkshopTypeCode, column::kWorkshopID,  column::kStatus,     column::kStatusCode,
    column::kCount,          column::kProcedures,    column::kDateBytes,
    column::kReserved,       column::kWorkshopIDBytes, column::kProcedureReserved};

constexpr std::string_view kNeededColumns[] = {column::kDate, column::kKM, column::kWorkshopTypeCode,
                                               column::kWorkshopID, column::kStatusCode, column::kProcedures};

// "Date, KM, Workshop type code, Workshop ID, Status code and Procedures"
std::string NeededColumnNames() {
  std::string names;
  for (std::size_t i = 0; i < std::size(kNeededColumns); ++i) {
    if (i > 0) names += i + 1 == std::size(kNeededColumns) ? " and " : ", ";
    names += kNeededColumns[i];
  }
  return names;
}

std::string SeparatorName(char separator) {
  switch (separator) {
    case kCsvSemicolon: return "semicolons";
    case kCsvTab: return "tabs";
    default: return "commas";
  }
}

}  // namespace

std::string HistoryToCsv(const THistoryList& list, char separator) {
  std::string csv(kUtf8ByteOrderMark);
  csv += CsvLine(std::vector<std::string>(std::begin(kColumns), std::end(kColumns)), separator);
  for (std::size_t row = 0; row < list.size(); ++row) {
    const TExportEntry e = ExportEntry(list[row], row, list.size());
    csv += CsvLine({std::to_string(e.number), e.date, std::to_string(e.km), e.workshopType,
                    std::to_string(e.workshopTypeCode), e.workshopID, e.status, std::to_string(e.statusCode),
                    std::to_string(e.procedures.size()), ProceduresCell(e.procedures),
                    e.dateBytes, e.reserved, e.workshopIDBytes, ProcedureReservedCell(e.procedures)},
                   separator);
  }
  return csv;
}

THistoryList HistoryFromCsv(std::string_view text) {
  const char separator = DetectCsvSeparator(text);
  const std::vector<TCsvRecord> records = ParseCsv(text, separator);
  if (records.empty()) throw TImportError(1, "no header row; the first line names the columns, as export writes it");
  const TCsvRecord& header = records.front();
  std::map<std::string, std::size_t, std::less<>> columns;
  for (std::size_t i = 0; i < header.fields.size(); ++i) {
    if (!columns.emplace(header.fields[i], i).second) {
      throw TImportError(header.line, "the column \"" + header.fields[i] + "\" is there twice; delete one of them");
    }
  }
  for (std::string_view needed : kNeededColumns) {
    if (!columns.contains(needed)) {
      throw TImportError(header.line, "the column \"" + std::string(needed) + "\" is missing; the header row needs the "
                                      "columns " + NeededColumnNames() + ", named as export names them, separated by "
                                      "commas, semicolons or tabs (this one has " + std::to_string(header.fields.size()) +
                                      (header.fields.size() == 1 ? " column" : " columns") + " separated by " +
                                      SeparatorName(separator) + ")");
    }
  }
  if (records.size() == 1) throw TImportError(header.line, "no entry below the header row; a history has at least one");

  THistoryList list;
  list.reserve(records.size() - 1);
  TImportRefusals refusals;
  for (std::size_t r = 1; r < records.size(); ++r) {
    const TCsvRecord& row = records[r];
    if (row.fields.size() != header.fields.size()) {
      throw TImportError(row.line, std::to_string(row.fields.size()) + " fields where the header row has " +
                                       std::to_string(header.fields.size()) + "; a field with a " +
                                       (separator == kCsvTab ? std::string("tab") : "\"" + std::string(1, separator) + "\"") +
                                       " in it must be in quotes");
    }
    const auto cell = [&](std::string_view name) -> std::optional<TImportCell> {
      const auto found = columns.find(name);
      if (found == columns.end()) return std::nullopt;
      return TImportCell{row.fields[found->second], row.line};
    };
    try {
      TImportEntry entry = EntryCells(row.line, cell);
      entry.procedures = ParseProcedureCells(*cell(column::kProcedures), cell(column::kProcedureReserved));
      list.push_back(ImportEntry(entry));
    } catch (const TImportError& refused) {
      refusals.Add(refused);
    }
  }
  refusals.ThrowIfAny();
  return list;
}
