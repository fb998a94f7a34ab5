#pragma once
// Export and import of a history in either format, for `tarvelo-cli export`/`import` and the
// desktop program alike. The round trip .kelta -> export -> import gives the same bytes back for
// every valid history file.

#include <optional>
#include <string>
#include <string_view>

#include "HistoryList.h"

enum class TExchangeFormat { Csv, Json };

// "csv" or "json" (either case) to the format; nullopt for anything else.
std::optional<TExchangeFormat> ExchangeFormatNamed(std::string_view name);

// The format a path's extension names (".csv", ".json", either case); nullopt for another one.
std::optional<TExchangeFormat> ExchangeFormatOfPath(const std::string& path);

std::string ExportHistory(const THistoryList& list, TExchangeFormat format);

// Throws TImportError ("Line 4: ...") when the text is refused; never returns an empty list.
THistoryList ImportHistory(std::string_view text, TExchangeFormat format);
