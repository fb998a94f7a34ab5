#include "CodeTables.h"

#include <stdexcept>

#include "TextParsing.h"

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
    case kWorkshopIndependent: return "Independent";
    case kWorkshopBMWDealer: return "BMW Service";
    default: return "UNKNOWN";
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
  if (p >= 0 && p <= 5) return static_cast<uint8_t>(p + 1);
  if (p >= 6 && p <= 8) return static_cast<uint8_t>(p + 4);
  if (p >= 9 && p <= 10) return static_cast<uint8_t>(p + 11);
  if (p >= 11 && p <= 12) return static_cast<uint8_t>(p + 21);
  if (p == 13) return 100;
  throw std::out_of_range("procedure type list position " + std::to_string(p));
}

std::optional<std::string_view> ProcedureTypeName(uint8_t code) {
  for (std::size_t p = 0; p < kProcedureTypeCount; ++p) {
    if (ProcedureCodeFromListPosition(static_cast<int>(p)) == code) return kProcedureTypeItems[p];
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

uint8_t ProcedureStatusFromRowText(std::string_view rowText) {
  return static_cast<uint8_t>(ParseIntegerText(rowText.substr(0, 1)));
}

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
