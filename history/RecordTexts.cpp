#include "history/RecordTexts.h"

#include "history/CodePage.h"
#include "history/CodeTables.h"

std::string DateText(const TBuffer& rec) {
  return std::to_string(Day(rec)) + "." + std::to_string(Month(rec)) + "." + std::to_string(Year(rec));
}

std::string KMText(const TBuffer& rec) { return std::to_string(KMStand(rec)); }

std::string WorkshopIDText(const TBuffer& rec) { return AnsiToUtf8(WorkshopIDBytes(rec)); }

std::string CountText(const TBuffer& rec) { return std::to_string(ProcCount(rec)); }

std::string EntryCellText(const TBuffer& rec, std::size_t row, std::size_t rowCount, TEntryColumn column) {
  switch (column) {
    case TEntryColumn::Number: return std::to_string(rowCount - row);
    case TEntryColumn::Date: return DateText(rec);
    case TEntryColumn::KMStand: return KMText(rec);
    case TEntryColumn::WorkshopType: return WorkshopTypeText(WorkshopTYP(rec));
    case TEntryColumn::WorkshopID: return WorkshopIDText(rec);
    case TEntryColumn::Status: return ServiceStatusText(SVCStatus(rec));
    case TEntryColumn::Count: return CountText(rec);
  }
  return {};
}

std::string ProcedureCellText(const TBuffer& rec, std::size_t k, TProcedureColumn column) {
  switch (column) {
    case TProcedureColumn::Number: return std::to_string(k + 1);
    case TProcedureColumn::ServiceType: return ProcedureTypeText(ProcTYP(rec, k));
    case TProcedureColumn::Status: return ProcedureStatusText(ProcStatus(rec, k));
  }
  return {};
}
