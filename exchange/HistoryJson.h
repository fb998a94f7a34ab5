#pragma once
// A history as JSON: {"entries": [ ... ]}, one object per entry in list order (the top entry
// first) with the keys of ExchangeEntry.h; "Procedures" is a list of objects with "Service type",
// "Type code", "Status", "Status code" (and "Reserved" when not zero). The raw keys ("Date bytes",
// "Reserved", "Workshop ID bytes") are there only when they hold something.

#include <string>
#include <string_view>

#include "history/HistoryList.h"

std::string HistoryToJson(const THistoryList& list);

// The entries of a JSON text. Numbers may also be given as text ("KM": "98450"); texts for
// reading ("Workshop type", "Status", "CNT", a procedure's "Service type" and "Status") may be left
// out. Throws TImportError ("Line 12: ...") for a syntax error, no "entries" list, a missing key,
// a value that breaks a rule (see ImportEntry), or no entry at all.
THistoryList HistoryFromJson(std::string_view text);
