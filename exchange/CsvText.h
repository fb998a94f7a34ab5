#pragma once
// CSV as spreadsheet programs read and write it (RFC 4180): fields separated by commas (or, as
// spreadsheets in many locales save them, semicolons or tabs), a field with the separator, a quote,
// a line break or a space at either end in double quotes, a quote inside doubled. Written with CRLF
// line ends; read with CRLF or LF line ends. The character set is TextEncoding's business: these
// functions see UTF-8.

#include <string>
#include <string_view>
#include <vector>

inline constexpr char kCsvComma = ',';
inline constexpr char kCsvSemicolon = ';';
inline constexpr char kCsvTab = '\t';

// One line of CSV, CRLF included.
std::string CsvLine(const std::vector<std::string>& fields, char separator = kCsvComma);

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

struct TCsvRecord {
  std::size_t line = 0;  // the line of the input the record starts on, from 1
  std::vector<std::string> fields;
};

// The separator of a CSV text as its first line shows it: of comma, semicolon and tab the one that
// stands there most often outside quotes (a comma when none does, or on a tie).
char DetectCsvSeparator(std::string_view text);

// The records of a CSV text; empty lines are skipped, a byte order mark at the start too. Throws
// TImportError for a quoted field that is not closed, a quote inside an unquoted field, or text
// after a closing quote.
std::vector<TCsvRecord> ParseCsv(std::string_view text, char separator = kCsvComma);
