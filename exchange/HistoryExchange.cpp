#include "exchange/HistoryExchange.h"

#include <algorithm>
#include <filesystem>

#include "exchange/HistoryCsv.h"
#include "exchange/HistoryJson.h"
#include "exchange/ImportError.h"

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

std::optional<char> CsvSeparatorNamed(std::string_view name) {
  const std::string lower = Lower(name);
  if (lower == "comma") return kCsvComma;
  if (lower == "semicolon") return kCsvSemicolon;
  if (lower == "tab") return kCsvTab;
  return std::nullopt;
}

char CsvSeparatorForDecimalPoint(char32_t decimalPoint) { return decimalPoint == U',' ? kCsvSemicolon : kCsvComma; }

std::string ExportHistory(const THistoryList& list, TExchangeFormat format, const TExportOptions& options) {
  switch (format) {
    case TExchangeFormat::Csv: return HistoryToCsv(list, options.csvSeparator);
    case TExchangeFormat::Json: return HistoryToJson(list);
  }
  return {};
}

THistoryList ImportHistory(std::string_view bytes, TExchangeFormat format, TTextEncoding* encoding) {
  const TDecodedText text = DecodeExchangeText(bytes);
  if (encoding) *encoding = text.encoding;
  return format == TExchangeFormat::Csv ? HistoryFromCsv(text.utf8) : HistoryFromJson(text.utf8);
}

THistoryLoad LoadExchangeFile(const std::string& path, TExchangeFormat format, const std::function<void()>& afterRead) {
  TTextEncoding encoding = TTextEncoding::Utf8;
  const auto import = [format, &encoding](std::span<const uint8_t> bytes) {
    return ImportHistory(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), format, &encoding);
  };
  THistoryLoad load = LoadHistoryFileAs(path, import, afterRead);
  load.note = EncodingNote(encoding);
  return load;
}
