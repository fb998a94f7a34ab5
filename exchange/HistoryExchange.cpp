#include "HistoryExchange.h"

#include <algorithm>
#include <filesystem>

#include "HistoryCsv.h"
#include "HistoryJson.h"

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return lower;
}

}  // namespace

std::optional<TExchangeFormat> ExchangeFormatNamed(std::string_view name) {
  const std::string lower = Lower(name);
  if (lower == "csv") return TExchangeFormat::Csv;
  if (lower == "json") return TExchangeFormat::Json;
  return std::nullopt;
}

std::optional<TExchangeFormat> ExchangeFormatOfPath(const std::string& path) {
  const std::string extension = std::filesystem::path(path).extension().string();
  if (extension.empty()) return std::nullopt;
  return ExchangeFormatNamed(std::string_view(extension).substr(1));
}

std::string ExportHistory(const THistoryList& list, TExchangeFormat format) {
  return format == TExchangeFormat::Csv ? HistoryToCsv(list) : HistoryToJson(list);
}

THistoryList ImportHistory(std::string_view text, TExchangeFormat format) {
  return format == TExchangeFormat::Csv ? HistoryFromCsv(text) : HistoryFromJson(text);
}
