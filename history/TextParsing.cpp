#include "history/TextParsing.h"

#include <limits>
#include <optional>
#include <string>

#include "history/TarveloError.h"

namespace {

constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;

std::optional<uint32_t> ParseDigits(std::string_view text) {
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > std::numeric_limits<uint32_t>::max()) return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

}  // namespace

uint32_t ParseIntegerText(std::string_view text) {
  if (auto value = ParseDigits(text)) return *value;
  throw ETarveloError("'" + std::string(text) + "' is not a valid integer value");
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsCalendarDate(int day, int month, int year) {
  if (year < kFirstYear || year > kLastYear || month < 1 || month > 12) return false;
  return day >= 1 && day <= DaysInMonth(year, month);
}

TCalendarDate ParseDateText(std::string_view text) {
  const auto invalid = [&] { return ETarveloError("'" + std::string(text) + "' is not a valid date"); };
  const std::size_t first = text.find('.');
  const std::size_t second = first == std::string_view::npos ? first : text.find('.', first + 1);
  if (second == std::string_view::npos) throw invalid();
  const auto day = ParseDigits(text.substr(0, first));
  const auto month = ParseDigits(text.substr(first + 1, second - first - 1));
  const auto year = ParseDigits(text.substr(second + 1));
  if (!day || !month || !year) throw invalid();
  if (*year > kLastYear || *month > 12 || *day > 31) throw invalid();  // before the narrowing below
  const TCalendarDate date{static_cast<int>(*day), static_cast<int>(*month), static_cast<int>(*year)};
  if (!IsCalendarDate(date.day, date.month, date.year)) throw invalid();
  return date;
}
