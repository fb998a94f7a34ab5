// What comes back from a spreadsheet that opened an exported CSV and saved it again: another
// separator, another character set, quotes around every cell, CRLF or LF, and cells the spreadsheet
// took for values and rewrote. Every such file gives the same bytes back, or is refused with the
// line and the reason; nothing is taken changed. The fixtures are written here the way LibreOffice
// Calc and Excel write their files.
#include <gtest/gtest.h>

#include "exchange/CsvText.h"
#include "exchange/ExchangeEntry.h"
#include "exchange/HexCells.h"
#include "exchange/HistoryExchange.h"
#include "exchange/ImportError.h"
#include "exchange/SpreadsheetText.h"
#include "exchange/TextEncoding.h"
#include "history/CodePage.h"
#include "history/HistoryFile.h"
#include "tests/TestEntries.h"

namespace {

using TCells = std::vector<std::vector<std::string>>;

THistoryList Sample() {
  THistoryLoad load = LoadHistoryFile(std::string(TARVELO_SOURCE_DIR) + "/examples/sample.kelta");
  EXPECT_TRUE(load.Loaded());
  return load.entries;
}

TBuffer WithID(TBuffer rec, std::string_view bytes) {
  for (std::size_t i = 0; i < kWorkshopIDSize; ++i) rec[kOffWorkshopID + i] = i < bytes.size() ? bytes[i] : 0;
  return rec;
}

// Workshop IDs that a spreadsheet reads as a value (or, "Müller", a text that shows a wrong
// character set), an entry with a reserved byte of 05, one with a date that is no calendar date.
THistoryList TrickyHistory() {
  THistoryList list;
  for (std::string_view id : {"true", "wahr", "\x80" "12", "12 \x80", "0042", "1E5", "12%", "3/4", "=A1", "5 Mar",
                              "-1", "M\xFCller", "M4021", "FALSCH"}) {
    list.push_back(WithID(ExampleEntryBytes(), id));
  }
  TBuffer reserved = ExampleEntryBytes();
  reserved[kOffReserved] = 0x05;
  list.push_back(reserved);
  TBuffer noDate = ExampleEntryBytes();
  noDate[kOffDay] = 40;
  noDate[kOffMonth] = 13;
  list.push_back(noDate);
  return list;
}

// The cells a spreadsheet shows after opening the export.
TCells Cells(const std::string& csv) {
  TCells cells;
  for (TCsvRecord& record : ParseCsv(csv)) cells.push_back(std::move(record.fields));
  return cells;
}

// The line a row of the export stands on (the header is line 1).
std::size_t LineOf(std::size_t row) { return row + 2; }

std::size_t ColumnOf(const TCells& cells, std::string_view name) {
  const auto& header = cells.front();
  return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) - header.begin());
}

struct TSave {
  char separator = ',';
  bool quoteAll = false;   // Calc's "Quote all text cells", Excel quoting what it likes
  std::string lineEnd = "\r\n";
};

// The cells as a spreadsheet writes them back: no byte order mark (the encoding adds one).
std::string Write(const TCells& cells, const TSave& save) {
  std::string text;
  for (const auto& row : cells) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) text += save.separator;
      const std::string& f = row[i];
      const bool quote = save.quoteAll || f.find_first_of(std::string("\"\r\n") + save.separator) != std::string::npos ||
                         (!f.empty() && (f.front() == ' ' || f.back() == ' '));
      if (!quote) {
        text += f;
        continue;
      }
      text += '"';
      for (char c : f) text += c == '"' ? std::string("\"\"") : std::string(1, c);
      text += '"';
    }
    text += save.lineEnd;
  }
  return text;
}

enum class TSaveEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Windows1252 };

const char* EncodingName(TSaveEncoding e) {
  switch (e) {
    case TSaveEncoding::Utf8: return "UTF-8";
    case TSaveEncoding::Utf8Bom: return "UTF-8 with BOM";
    case TSaveEncoding::Utf16LE: return "UTF-16 LE";
    case TSaveEncoding::Utf16BE: return "UTF-16 BE";
    case TSaveEncoding::Windows1252: return "Windows-1252";
  }
  return "";
}

std::u32string CodePointsOf(std::string_view utf8) {
  std::u32string points;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<uint8_t>(utf8[i]);
    const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t cp = n == 1 ? b : b & (0xFF >> (n + 1));
    for (std::size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<uint8_t>(utf8[i + k]) & 0x3F);
    points += cp;
    i += n;
  }
  return points;
}

std::string Encode(const std::string& utf8, TSaveEncoding encoding) {
  switch (encoding) {
    case TSaveEncoding::Utf8: return utf8;
    case TSaveEncoding::Utf8Bom: return std::string(kUtf8ByteOrderMark) + utf8;
    case TSaveEncoding::Windows1252: return Utf8ToAnsi(utf8);
    case TSaveEncoding::Utf16LE:
    case TSaveEncoding::Utf16BE: {
      const bool le = encoding == TSaveEncoding::Utf16LE;
      std::string bytes = le ? "\xFF\xFE" : "\xFE\xFF";
      const auto unit = [&](char16_t u) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        bytes += le ? lo : hi;
        bytes += le ? hi : lo;
      };
      for (char32_t cp : CodePointsOf(utf8)) {
        if (cp < 0x10000) {
          unit(static_cast<char16_t>(cp));
        } else {
          unit(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
          unit(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        }
      }
      return bytes;
    }
  }
  return utf8;
}

constexpr TSaveEncoding kEncodings[] = {TSaveEncoding::Utf8, TSaveEncoding::Utf8Bom, TSaveEncoding::Utf16LE,
                                        TSaveEncoding::Utf16BE, TSaveEncoding::Windows1252};

std::vector<TSave> Saves() {
  std::vector<TSave> saves;
  for (char separator : {',', ';', '\t'}) {
    for (bool quoteAll : {false, true}) {
      for (const char* lineEnd : {"\r\n", "\n"}) saves.push_back({separator, quoteAll, lineEnd});
    }
  }
  return saves;
}

std::string SaveName(const TSave& save, TSaveEncoding encoding) {
  return std::string(save.separator == ',' ? "comma" : save.separator == ';' ? "semicolon" : "tab") +
         (save.quoteAll ? ", all quoted" : "") + (save.lineEnd == "\n" ? ", LF" : ", CRLF") + ", " + EncodingName(encoding);
}

std::string RefusalOf(const std::string& bytes) {
  try {
    ImportHistory(bytes, TExchangeFormat::Csv);
  } catch (const TImportError& e) {
    return e.what();
  }
  return "taken";
}

// Every separator, character set, byte order mark, quoting and line end a spreadsheet saves in:
// the same bytes back, and the character set said when it is not UTF-8.
TEST(ExchangeSpreadsheet, EverySaveOfAnUntouchedExportComesBackByteForByte) {
  for (const THistoryList& history : {Sample(), TrickyHistory()}) {
    const TCells cells = Cells(ExportHistory(history, TExchangeFormat::Csv));
    for (const TSave& save : Saves()) {
      for (TSaveEncoding encoding : kEncodings) {
        SCOPED_TRACE(SaveName(save, encoding));
        const std::string bytes = Encode(Write(cells, save), encoding);
        TTextEncoding read = TTextEncoding::Utf8;
        THistoryList back;
        try {
          back = ImportHistory(bytes, TExchangeFormat::Csv, &read);
        } catch (const TImportError& e) {
          FAIL() << e.what();
        }
        EXPECT_EQ(JoinHistory(back), JoinHistory(history));
        const TTextEncoding expected = encoding == TSaveEncoding::Utf16LE       ? TTextEncoding::Utf16LE
                                       : encoding == TSaveEncoding::Utf16BE     ? TTextEncoding::Utf16BE
                                       : encoding == TSaveEncoding::Windows1252 ? TTextEncoding::CodePage
                                                                                : TTextEncoding::Utf8;
        EXPECT_EQ(read, expected);
      }
    }
  }
  EXPECT_EQ(EncodingNote(TTextEncoding::CodePage), "read as Windows-1252, as the file is not UTF-8");
  EXPECT_EQ(EncodingNote(TTextEncoding::Utf8), "");
}

// The export protects every workshop ID that a spreadsheet would rewrite with its bytes.
TEST(ExchangeSpreadsheet, IDsThatASpreadsheetRewritesCarryTheirBytes) {
  for (std::string_view id : {"true", "TRUE", "Wahr", "falsch", "vrai", "faux", "verdadero", "falso", "vero", "waar",
                              "\xE2\x82\xAC" "12", "12 \xE2\x82\xAC", "$12", "0042", "1E5", "12%", "3/4", "5 Mar",
                              "1:30", "12 AM", "=A1", "+1", "-1", "@x", "#N/A", " A1", "A1 ", "1.5", "1,5", "12.3.24"}) {
    EXPECT_TRUE(SpreadsheetMayRewrite(id)) << id;
  }
  for (std::string_view id : {"M4021", "KFZ-BAU", "M\xC3\xBCller", "A1", "BMW", "Truex", "AUTOHAUS"}) {
    EXPECT_FALSE(SpreadsheetMayRewrite(id)) << id;
  }
  const THistoryList tricky = TrickyHistory();
  const TCells cells = Cells(ExportHistory(tricky, TExchangeFormat::Csv));
  const std::size_t bytesColumn = ColumnOf(cells, column::kWorkshopIDBytes);
  for (std::size_t row = 0; row < 11; ++row) EXPECT_FALSE(cells[row + 1][bytesColumn].empty()) << cells[row + 1][5];
  EXPECT_TRUE(cells[12][bytesColumn].empty());  // "Müller" stays text only
  EXPECT_TRUE(cells[13][bytesColumn].empty());  // "M4021"
}

struct TRewriteCase {
  const char* name;
  std::size_t row;           // of TrickyHistory
  std::string_view column;
  std::string rewritten;     // the cell as the spreadsheet saves it
  std::string outcome;       // "same bytes", or the refusal's start
  TBuffer entry = {};        // for a taken change: the entry it gives
};

// Cells rewritten as spreadsheets rewrite them, or edited by the user: each in every separator
// and character set, taken only where nothing is lost, else refused with the line.
TEST(ExchangeSpreadsheet, RewrittenCellsAreRefusedWithTheirLineOrTakenExactly) {
  const THistoryList tricky = TrickyHistory();
  const std::string id = std::string(column::kWorkshopID);
  const auto mismatch = [&](std::size_t row, const std::string& text, const std::string& bytes) {
    return "Line " + std::to_string(LineOf(row)) + ": Workshop ID \"" + text + "\" does not match Workshop ID bytes \"" +
           bytes + "\"";
  };
  const std::vector<TRewriteCase> cases = {
      {"true as TRUE", 0, column::kWorkshopID, "TRUE", mismatch(0, "TRUE", "74 72 75 65 00 00 00")},
      {"wahr as WAHR (German)", 1, column::kWorkshopID, "WAHR", mismatch(1, "WAHR", "77 61 68 72 00 00 00")},
      {"\xE2\x82\xAC" "12 as 12", 2, column::kWorkshopID, "12", mismatch(2, "12", "80 31 32 00 00 00 00")},
      {"12 \xE2\x82\xAC as 12", 3, column::kWorkshopID, "12", mismatch(3, "12", "31 32 20 80 00 00 00")},
      {"0042 as 42", 4, column::kWorkshopID, "42", mismatch(4, "42", "30 30 34 32 00 00 00")},
      {"1E5 as 100000", 5, column::kWorkshopID, "100000", mismatch(5, "100000", "31 45 35 00 00 00 00")},
      {"12% as 0.12", 6, column::kWorkshopID, "0.12", mismatch(6, "0.12", "31 32 25 00 00 00 00")},
      {"3/4 as a date", 7, column::kWorkshopID, "03/04/26", mismatch(7, "03/04/26", "33 2F 34 00 00 00 00")},
      {"=A1 as its result", 8, column::kWorkshopID, "0", mismatch(8, "0", "3D 41 31 00 00 00 00")},
      {"5 Mar as a date", 9, column::kWorkshopID, "05-Mar", mismatch(9, "05-Mar", "35 20 4D 61 72 00 00")},
      {"-1 as a number", 10, column::kWorkshopID, "-1.00", mismatch(10, "-1.00", "2D 31 00 00 00 00 00")},
      {"FALSCH as FALSE", 13, column::kWorkshopID, "FALSE", mismatch(13, "FALSE", "46 41 4C 53 43 48 00")},
      // The user edits the ID and leaves its bytes: refused, with how to take the edit.
      {"an edited ID beside its old bytes", 4, column::kWorkshopID, "0043",
       mismatch(4, "0043", "30 30 34 32 00 00 00") + ", which is \"0042\" (a spreadsheet may have rewritten the text, "
       "or it was edited without the bytes): to take \"0043\", clear the Workshop ID bytes cell; to keep \"0042\", "
       "clear the Workshop ID cell"},
      // ... and clears the bytes cell: the text is taken.
      {"the bytes cell cleared", 4, column::kWorkshopIDBytes, "", "taken", WithID(ExampleEntryBytes(), "0042")},
      {"a date edited beside its bytes", 15, column::kDate, "2020-12-31",
       "Line 17: Date \"2020-12-31\" does not match Date bytes \"28 0D 07 E4\", which is \"2020-13-40\""},
      {"a date typed with a short year", 13, column::kDate, "1.2.20",
       "Line 15: Date \"1.2.20\" has a year of 2 digits; write the year in full (YYYY-MM-DD or D.M.YYYY)"},
      {"a German date with a short year", 13, column::kDate, "01.02.20",
       "Line 15: Date \"01.02.20\" has a year of 2 digits; write the year in full"},
      {"a German date in full", 13, column::kDate, "01.02.2020", "same bytes"},
      {"the reserved byte 05 as 5", 14, column::kReserved, "5", "same bytes"},
      {"the reserved byte as 05", 14, column::kReserved, "05", "same bytes"},
      {"the reserved byte as 500", 14, column::kReserved, "500", "Line 16: Reserved \"500\" is not 1 byte of hex"},
      {"an ID with a space added at the end", 12, column::kWorkshopID, "M4021 ", "taken",
       WithID(ExampleEntryBytes(), "M4021 ")},
  };
  const TCells exported = Cells(ExportHistory(tricky, TExchangeFormat::Csv));
  for (const TRewriteCase& c : cases) {
    TCells cells = exported;
    cells[c.row + 1][ColumnOf(cells, c.column)] = c.rewritten;
    for (TSave save : {TSave{',', false, "\r\n"}, TSave{';', true, "\r\n"}, TSave{'\t', false, "\n"}}) {
      for (TSaveEncoding encoding : {TSaveEncoding::Utf8Bom, TSaveEncoding::Windows1252, TSaveEncoding::Utf16LE}) {
        SCOPED_TRACE(std::string(c.name) + ", " + SaveName(save, encoding));
        const std::string bytes = Encode(Write(cells, save), encoding);
        if (c.outcome == "same bytes" || c.outcome == "taken") {
          THistoryList back;
          try {
            back = ImportHistory(bytes, TExchangeFormat::Csv);
          } catch (const TImportError& e) {
            FAIL() << e.what();
          }
          THistoryList expected = tricky;
          if (c.outcome == "taken") expected[c.row] = c.entry;
          EXPECT_EQ(JoinHistory(back), JoinHistory(expected));
        } else {
          const std::string refusal = RefusalOf(bytes);
          EXPECT_EQ(refusal.substr(0, c.outcome.size()), c.outcome) << refusal;
        }
      }
    }
  }
}

// A UTF-8 export that a spreadsheet opened as Western 8-bit text and saved again as UTF-8: "Müller"
// is "MÃ¼ller", and the byte order mark "ï»¿". Refused, with how to open it right.
TEST(ExchangeSpreadsheet, AFileReadInTheWrongCharacterSetIsRefused) {
  const std::string exported = ExportHistory(Sample(), TExchangeFormat::Csv);
  const std::string withMark = AnsiToUtf8(exported);
  EXPECT_EQ(RefusalOf(withMark),
            "Line 1: the file begins with \"\xC3\xAF\xC2\xBB\xC2\xBF\", the UTF-8 byte order mark read as Western 8-bit "
            "text: a spreadsheet opened this UTF-8 file in the wrong character set, which also turns \"\xC3\xBC\" into "
            "\"\xC3\x83\xC2\xBC\"; open the file that export wrote again, choose the character set \"Unicode (UTF-8)\" "
            "when the spreadsheet asks, and save it again");
  // Calc quotes the first cell, mark and all.
  TCells cells = Cells(withMark);
  EXPECT_EQ(RefusalOf(Write(cells, {';', true, "\r\n"})).substr(0, 30), "Line 1: the file begins with \"");
  // Without the mark, the workshop ID shows it.
  const std::string noMark = AnsiToUtf8(exported.substr(kUtf8ByteOrderMark.size()));
  const std::string refusal = RefusalOf(noMark);
  EXPECT_NE(refusal.find("Line 5: Workshop ID \"M\xC3\x83\xC2\xBCller\" looks like \"M\xC3\xBCller\" read in the wrong "
                         "character set (UTF-8 read as Western 8-bit text); open the file that export wrote again as "
                         "\"Unicode (UTF-8)\""),
            std::string::npos)
      << refusal;
  // A UTF-8 mark before bytes that are not UTF-8: saved in another character set after it was read.
  const std::string mixed = std::string(kUtf8ByteOrderMark) + Utf8ToAnsi(exported.substr(kUtf8ByteOrderMark.size()));
  EXPECT_EQ(RefusalOf(mixed).substr(0, 80),
            "Line 5: the file begins with the UTF-8 byte order mark, but holds the byte 0xFC,");
  // UTF-16 that lost its mark.
  const std::string utf16 = Encode(exported.substr(kUtf8ByteOrderMark.size()), TSaveEncoding::Utf16LE).substr(2);
  EXPECT_EQ(RefusalOf(utf16).substr(0, 60), "Line 1: the file holds a zero byte beside every character, a");
}

// Several refused entries are told at once, each with its line.
TEST(ExchangeSpreadsheet, EveryRefusedEntryIsToldAtOnce) {
  TCells cells = Cells(ExportHistory(TrickyHistory(), TExchangeFormat::Csv));
  cells[1][5] = "TRUE";
  cells[2][5] = "WAHR";
  const std::string refusal = RefusalOf(Write(cells, {}));
  EXPECT_EQ(refusal.substr(0, 36), "Line 2: Workshop ID \"TRUE\" does not ");
  EXPECT_NE(refusal.find("\nLine 3: Workshop ID \"WAHR\" does not "), std::string::npos) << refusal;
}

// Which separator the header row shows, and the name the CLI and the desktop program give it.
TEST(ExchangeSpreadsheet, SeparatorsByHeaderNameAndLocale) {
  EXPECT_EQ(DetectCsvSeparator("#,Date,KM\r\n"), ',');
  EXPECT_EQ(DetectCsvSeparator("#;Date;KM\r\n1;2,5;3\r\n"), ';');
  EXPECT_EQ(DetectCsvSeparator("#\tDate\tKM\n"), '\t');
  EXPECT_EQ(DetectCsvSeparator("\"a;b\",Date\n"), ',');
  EXPECT_EQ(CsvSeparatorNamed("semicolon"), ';');
  EXPECT_EQ(CsvSeparatorNamed("TAB"), '\t');
  EXPECT_EQ(CsvSeparatorNamed("comma"), ',');
  EXPECT_EQ(CsvSeparatorNamed(";"), std::nullopt);
  EXPECT_EQ(CsvSeparatorForDecimalPoint(U','), ';');
  EXPECT_EQ(CsvSeparatorForDecimalPoint(U'.'), ',');
  EXPECT_EQ(CsvSeparatorForDecimalPoint(U'\u066B'), ',');  // Arabic decimal separator
  const std::string semicolons = ExportHistory(Sample(), TExchangeFormat::Csv, {kCsvSemicolon});
  EXPECT_EQ(semicolons.substr(0, 20), "\xEF\xBB\xBF#;Date;KM;Worksho");
}

}  // namespace
