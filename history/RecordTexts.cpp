#include "history/RecordTexts.h"

#include "history/CodePage.h"
#include "history/CodeTables.h"

std::string DateText(const TBuffer& rec) {
  return std::to_string(Day(rec)) + "." + std::to_string(Month(rec)) + "." + std::to_string(Year(rec));
}

std::string KMText(const TBuffer& rec) { return std::to_string(KMStand(rec)); }

std::string WorkshopIDText(const TBuffer& rec) { return AnsiToUtf8(WorkshopIDBytes(rec)); }

std::string CountText(const TBuffer& rec) { return std::to_string(ProcCount(rec)); }

std::string EntryCellText(const TBuffer& rec, std::size_t row, std::size_t rowCount, EntryColumn column) {
  switch (column) {
    case EntryColumn::Number: return std::to_string(rowCount - row);
    case EntryColumn::Date: return DateText(rec);
    case EntryColumn::KMStand: return KMText(rec);
    case EntryColumn::WorkshopType: return WorkshopTypeText(WorkshopTYP(rec));
    case EntryColumn::WorkshopID: return WorkshopIDText(rec);
    case EntryColumn::Status: return ServiceStatusText(SVCStatus(rec));
    case EntryColumn::Count: return CountText(rec);
  }
  return {};
}

std::string ProcedureCellText(const TBuffer& rec, std::size_t k, ProcedureColumn column) {
  switch (column) {
    case ProcedureColumn::Number: return std::to_string(k + 1);
    case ProcedureColumn::ServiceType: return ProcedureTypeText(ProcTYP(rec, k));
    case ProcedureColumn::Status: return ProcedureStatusText(ProcStatus(rec, k));
  }
  return {};
}
