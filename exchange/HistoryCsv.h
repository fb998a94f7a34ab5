#pragma once
// A history as CSV for spreadsheet programs: a header row, then one row per entry in list order
// (the top entry first), the columns of ExchangeEntry.h in their order. UTF-8 with a byte order
// mark, CRLF line ends.

#include <string>
#include <string_view>

#include "HistoryList.h"

std::string HistoryToCsv(const THistoryList& list);

// The entries of a CSV text, rows in order. Columns are found by their header, in any order;
// unknown columns are left alone. Throws TImportError ("Line 4: ...") for a CSV quoting error, a
// missing column, a row of another width than the header, a value that breaks a rule (see
// ImportEntry), or no row at all.
THistoryList HistoryFromCsv(std::string_view text);
