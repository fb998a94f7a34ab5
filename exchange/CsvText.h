#pragma once
// CSV as spreadsheet programs read and write it (RFC 4180): fields separated by commas, a field
// with a comma, a quote, a line break or a space at either end in double quotes, a quote inside
// doubled. Written with CRLF line ends after a UTF-8 byte order mark (so that Excel reads UTF-8);
// read with or without the mark, with CRLF or LF line ends.

#include <string>
#include <string_view>
#include <vector>

// One line of CSV, CRLF included.
std::string CsvLine(const std::vector<std::string>& fields);

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

struct TCsvRecord {
  std::size_t line = 0;  // the line of the input the record starts on, from 1
  std::vector<std::string> fields;
};

// The records of a CSV text; empty lines are skipped. Throws TImportError for a quoted field that
// is not closed, a quote inside an unquoted field, or text after a closing quote.
std::vector<TCsvRecord> ParseCsv(std::string_view text);
