#include "history/CodeTables.h"

#include <stdexcept>


namespace {

constexpr uint8_t kWorkshopIndependent = 0;
constexpr uint8_t kWorkshopBMWDealer = 1;
constexpr uint8_t kNoWorkshopType = 255;
constexpr uint8_t kNoServiceStatus = 0;

std::string Unknown(uint8_t code) { return "UNKNOWN(" + std::to_string(code) + ")"; }

// Texts of status codes 1..3, or nullopt.
template <std::size_t N>
std::optional<std::string_view> StatusItem(const std::array<std::string_view, N>& items, uint8_t code) {
  if (code >= 1 && code <= items.size()) return items[code - 1];
  return std::nullopt;
}

}  // namespace

std::string WorkshopTypeText(uint8_t code) {
  switch (code) {
    case kWorkshopIndependent: return TARVELO_TR_NOOP("CodeTables", "Independent");
    case kWorkshopBMWDealer: return TARVELO_TR_NOOP("CodeTables", "BMW Service");
    default: return TARVELO_TR_NOOP("CodeTables", "UNKNOWN");
  }
}

std::string ServiceStatusText(uint8_t code) {
  if (auto item = StatusItem(kServiceStatusItems, code)) return std::string(*item);
  return Unknown(code);
}

std::string ProcedureTypeText(uint8_t code) {
  if (auto name = ProcedureTypeName(code)) return std::string(*name);
  return Unknown(code);
}

std::string ProcedureStatusText(uint8_t code) {
  if (auto item = StatusItem(kProcedureStatusItems, code)) return std::string(*item);
  return Unknown(code);
}

uint8_t ProcedureCodeFromListPosition(int p) {
  if (p < 0 || p >= static_cast<int>(kProcedureTypes.size())) {
    throw std::out_of_range("procedure type list position " + std::to_string(p));
  }
  return kProcedureTypes[static_cast<std::size_t>(p)].code;
}

std::optional<std::string_view> ProcedureTypeName(uint8_t code) {
  for (const TProcedureType& type : kProcedureTypes) {
    if (type.code == code) return type.name;
  }
  return std::nullopt;
}

std::string EditorProcedureTypeText(uint8_t code) {
  return std::string(ProcedureTypeName(code).value_or("UNKNOWN"));
}

std::string EditorProcedureStatusText(uint8_t code) {
  if (auto item = StatusItem(kProcedureStatusItems, code)) {
    return std::to_string(code) + " " + std::string(*item);
  }
  return "0 " + Unknown(code);
}

std::string EditorProcedureStatusTextForPosition(int position) {
  return EditorProcedureStatusText(static_cast<uint8_t>(position + 1));
}

uint8_t StoredProcedureStatus(uint8_t loaded) { return StatusItem(kProcedureStatusItems, loaded) ? loaded : 0; }

int WorkshopTypeListPosition(uint8_t code) {
  return code < kWorkshopTypeItems.size() ? code : -1;
}

uint8_t WorkshopTypeCode(int position) {
  if (position >= 0 && position < static_cast<int>(kWorkshopTypeItems.size())) {
    return static_cast<uint8_t>(position);
  }
  return kNoWorkshopType;
}

int ServiceStatusListPosition(uint8_t code) {
  return StatusItem(kServiceStatusItems, code) ? code - 1 : -1;
}

uint8_t ServiceStatusCode(int position) {
  if (position >= 0 && position < static_cast<int>(kServiceStatusItems.size())) {
    return static_cast<uint8_t>(position + 1);
  }
  return kNoServiceStatus;
}
