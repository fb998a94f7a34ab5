#pragma once
// A history as CSV for spreadsheet programs: a header row, then one row per entry in list order
// (the top entry first), the columns of ExchangeEntry.h in their order. UTF-8 with a byte order
// mark, CRLF line ends, the fields separated by commas, or by semicolons or tabs as spreadsheets
// in many locales write them.

#include <string>
#include <string_view>

#include "exchange/CsvText.h"
#include "history/HistoryList.h"

std::string HistoryToCsv(const THistoryList& list, char separator = kCsvComma);

// The entries of a CSV text (UTF-8; TextEncoding.h turns other character sets into it), rows in
// order. The separator is the one the header row shows (CsvText.h). Columns are found by their
// header, in any order; unknown columns are left alone. Throws TImportError ("Line 4: ...") for a
// CSV quoting error, a missing column, a row of another width than the header, a value that breaks
// a rule (see ImportEntry), or no row at all.
THistoryList HistoryFromCsv(std::string_view text);
