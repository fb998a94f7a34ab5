#include "exchange/CsvText.h"

#include "exchange/ImportError.h"

namespace {

bool NeedsQuotes(std::string_view field, char separator) {
  if (field.find_first_of("\"\r\n") != std::string_view::npos) return true;
  if (field.find(separator) != std::string_view::npos) return true;
  return !field.empty() && (field.front() == ' ' || field.back() == ' ');
}

}  // namespace

std::string CsvLine(const std::vector<std::string>& fields, char separator) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += separator;
    if (!NeedsQuotes(fields[i], separator)) {
      line += fields[i];
      continue;
    }
    line += '"';
    for (char c : fields[i]) {
      if (c == '"') line += '"';
      line += c;
    }
    line += '"';
  }
  return line + "\r\n";
}

char DetectCsvSeparator(std::string_view text) {
  if (text.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) text.remove_prefix(kUtf8ByteOrderMark.size());
  std::size_t commas = 0, semicolons = 0, tabs = 0;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;  // a doubled quote inside a field toggles twice
    if (quoted) continue;
    if (c == '\n' || c == '\r') break;
    commas += c == kCsvComma;
    semicolons += c == kCsvSemicolon;
    tabs += c == kCsvTab;
  }
  if (semicolons > commas && semicolons >= tabs) return kCsvSemicolon;
  if (tabs > commas && tabs > semicolons) return kCsvTab;
  return kCsvComma;
}

std::vector<TCsvRecord> ParseCsv(std::string_view text, char separator) {
  if (text.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) text.remove_prefix(kUtf8ByteOrderMark.size());
  std::vector<TCsvRecord> records;
  std::size_t line = 1;
  std::size_t i = 0;
  const auto atLineEnd = [&](std::size_t at) { return at >= text.size() || text[at] == '\n' || text[at] == '\r'; };
  while (i < text.size()) {
    if (text[i] == '\n' || text[i] == '\r') {  // an empty line
      i += (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      ++line;
      continue;
    }
    TCsvRecord record;
    record.line = line;
    for (;;) {  // one field per turn
      std::string field;
      if (i < text.size() && text[i] == '"') {
        const std::size_t opened = line;
        ++i;
        for (;;) {
          if (i >= text.size()) throw TImportError(opened, "a quoted field is not closed; add its closing quote (a quote inside "
                                                          "a quoted field is written twice: \"\")");
          if (text[i] == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
              field += '"';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          if (text[i] == '\n') ++line;
          field += text[i++];
        }
        if (i < text.size() && text[i] != separator && !atLineEnd(i)) {
          throw TImportError(line, "text after the closing quote of a field; a quote inside a quoted "
                                        "field is written twice (\"\"), and the field ends at its closing quote");
        }
      } else {
        while (i < text.size() && text[i] != separator && !atLineEnd(i)) {
          if (text[i] == '"') throw TImportError(line, "a quote inside a field that does not begin with one; put the "
                                        "whole field in quotes and write the quote twice (\"\")");
          field += text[i++];
        }
      }
      record.fields.push_back(std::move(field));
      if (i < text.size() && text[i] == separator) {
        ++i;
        continue;
      }
      break;  // the end of the line or of the text
    }
    if (i < text.size()) {
      i += (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      ++line;
    }
    records.push_back(std::move(record));
  }
  return records;
}
