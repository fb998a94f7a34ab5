#include "HistoryCsv.h"

#include <map>

#include "CsvText.h"
#include "ExchangeEntry.h"
#include "ImportError.h"

namespace {

constexpr std::string_view kColumns[] = {
    column::kNumber,         column::kDate,          column::kKM,         column::kWorkshopType,
    column::kWorkshopTypeCode, column::kWorkshopID,  column::kStatus,     column::kStatusCode,
    column::kCount,          column::kProcedures,    column::kDateBytes,
    column::kReserved,       column::kWorkshopIDBytes, column::kProcedureReserved};

constexpr std::string_view kNeededColumns[] = {column::kDate, column::kKM, column::kWorkshopTypeCode,
                                               column::kWorkshopID, column::kStatusCode, column::kProcedures};

}  // namespace

std::string HistoryToCsv(const THistoryList& list) {
  std::string csv(kUtf8ByteOrderMark);
  csv += CsvLine(std::vector<std::string>(std::begin(kColumns), std::end(kColumns)));
  for (std::size_t row = 0; row < list.size(); ++row) {
    const TExportEntry e = ExportEntry(list[row], row, list.size());
    csv += CsvLine({std::to_string(e.number), e.date, std::to_string(e.km), e.workshopType,
                    std::to_string(e.workshopTypeCode), e.workshopID, e.status, std::to_string(e.statusCode),
                    std::to_string(e.procedures.size()), ProceduresCell(e.procedures),
                    e.dateBytes, e.reserved, e.workshopIDBytes, ProcedureReservedCell(e.procedures)});
  }
  return csv;
}

THistoryList HistoryFromCsv(std::string_view text) {
  const std::vector<TCsvRecord> records = ParseCsv(text);
  if (records.empty()) throw TImportError(1, "no header row");
  const TCsvRecord& header = records.front();
  std::map<std::string, std::size_t, std::less<>> columns;
  for (std::size_t i = 0; i < header.fields.size(); ++i) {
    if (!columns.emplace(header.fields[i], i).second) {
      throw TImportError(header.line, "the column \"" + header.fields[i] + "\" is there twice");
    }
  }
  for (std::string_view needed : kNeededColumns) {
    if (!columns.contains(needed)) throw TImportError(header.line, "the column \"" + std::string(needed) + "\" is missing");
  }
  if (records.size() == 1) throw TImportError(header.line, "no entry below the header row");

  THistoryList list;
  list.reserve(records.size() - 1);
  for (std::size_t r = 1; r < records.size(); ++r) {
    const TCsvRecord& row = records[r];
    if (row.fields.size() != header.fields.size()) {
      throw TImportError(row.line, std::to_string(row.fields.size()) + " fields where the header row has " +
                                       std::to_string(header.fields.size()));
    }
    const auto cell = [&](std::string_view name) -> std::optional<TImportCell> {
      const auto found = columns.find(name);
      if (found == columns.end()) return std::nullopt;
      return TImportCell{row.fields[found->second], row.line};
    };
    TImportEntry entry;
    entry.line = row.line;
    entry.date = cell(column::kDate);
    entry.km = cell(column::kKM);
    entry.workshopType = cell(column::kWorkshopType);
    entry.workshopTypeCode = cell(column::kWorkshopTypeCode);
    entry.workshopID = cell(column::kWorkshopID);
    entry.status = cell(column::kStatus);
    entry.statusCode = cell(column::kStatusCode);
    entry.count = cell(column::kCount);
    entry.dateBytes = cell(column::kDateBytes);
    entry.reserved = cell(column::kReserved);
    entry.workshopIDBytes = cell(column::kWorkshopIDBytes);
    entry.procedures = ParseProcedureCells(*cell(column::kProcedures), cell(column::kProcedureReserved));
    list.push_back(ImportEntry(entry));
  }
  return list;
}
