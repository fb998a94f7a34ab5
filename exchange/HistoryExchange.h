#pragma once
// Export and import of a history in either format, for `tarvelo-cli export`/`import` and the
// desktop program alike. The round trip .kelta -> export -> import gives the same bytes back for
// every valid history file, also after a spreadsheet opened the CSV and saved it again (in another
// separator or character set); what a spreadsheet rewrote is refused with its line, never taken.

#include <optional>
#include <string>
#include <string_view>

#include "exchange/CsvText.h"
#include "exchange/TextEncoding.h"
#include "history/HistoryFile.h"

enum class TExchangeFormat { Csv, Json };

// "csv" or "json" (either case) to the format; nullopt for anything else.
std::optional<TExchangeFormat> ExchangeFormatNamed(std::string_view name);

// The format a path's extension names (".csv", ".json", either case); nullopt for another one.
std::optional<TExchangeFormat> ExchangeFormatOfPath(const std::string& path);

// "comma", "semicolon" or "tab" (either case) to the CSV separator; nullopt for anything else.
std::optional<char> CsvSeparatorNamed(std::string_view name);

// The separator spreadsheets in a locale split CSV lines at: a semicolon where the locale writes
// decimals with a comma (German, French: "1,5"), else a comma.
char CsvSeparatorForDecimalPoint(char32_t decimalPoint);

struct TExportOptions {
  char csvSeparator = kCsvComma;  // CSV only
};

std::string ExportHistory(const THistoryList& list, TExchangeFormat format, const TExportOptions& options = {});

// The bytes of a CSV or JSON file (in any character set of TextEncoding.h) as a history. Throws
// TImportError ("Line 4: ...") when they are refused; never returns an empty list. encoding, when
// given, gets the character set the bytes were read in, also when the text is then refused.
THistoryList ImportHistory(std::string_view bytes, TExchangeFormat format, TTextEncoding* encoding = nullptr);

// A CSV or JSON file as a history: read whole, then imported. Unreadable: the "Cannot open file ..."
// text; refused: InvalidData with "Line 4: ..." as the problem (also when memory runs out). The
// note says the character set when it was not UTF-8 (EncodingNote), whether the file loaded or not.
THistoryLoad LoadExchangeFile(const std::string& path, TExchangeFormat format, const std::function<void()>& afterRead = {});
