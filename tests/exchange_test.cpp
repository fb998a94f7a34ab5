#include <gtest/gtest.h>

#include <random>

#include "exchange/CsvProcedures.h"
#include "exchange/CsvText.h"
#include "exchange/ExchangeEntry.h"
#include "exchange/HexCells.h"
#include "exchange/HistoryCsv.h"
#include "exchange/HistoryExchange.h"
#include "exchange/HistoryJson.h"
#include "exchange/ImportError.h"
#include "history/HistoryFile.h"
#include "tests/TestEntries.h"

namespace {

constexpr TExchangeFormat kFormats[] = {TExchangeFormat::Csv, TExchangeFormat::Json};

const char* FormatName(TExchangeFormat f) { return f == TExchangeFormat::Csv ? "csv" : "json"; }

THistoryList Sample() {
  THistoryLoad load = LoadHistoryFile(std::string(TARVELO_SOURCE_DIR) + "/examples/sample.kelta");
  EXPECT_TRUE(load.Loaded());
  return load.entries;
}

// Any well-formed entry: every field from the generator, reserved bytes included.
TBuffer RandomEntry(std::mt19937& random, std::size_t procedures) {
  std::uniform_int_distribution<int> byte(0, 255);
  TBuffer rec(RecordSize(procedures));
  for (uint8_t& b : rec) b = static_cast<uint8_t>(byte(random));
  rec[kOffProcCount] = static_cast<uint8_t>(procedures);
  return rec;
}

// Bends a random entry towards what a history usually holds, or towards one of its corners.
void Shape(std::mt19937& random, TBuffer& rec) {
  const auto chance = [&](int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; };
  if (chance(60)) {  // a calendar date
    rec[kOffDay] = static_cast<uint8_t>(std::uniform_int_distribution<int>(1, 28)(random));
    rec[kOffMonth] = static_cast<uint8_t>(std::uniform_int_distribution<int>(1, 12)(random));
    StoreBigEndian16(&rec[kOffYear], static_cast<uint16_t>(std::uniform_int_distribution<int>(1, 9999)(random)));
  }
  if (chance(60)) rec[kOffReserved] = 0;
  if (chance(50)) {  // a workshop ID of printable text, zero-filled
    const std::size_t length = std::uniform_int_distribution<std::size_t>(0, kWorkshopIDSize)(random);
    for (std::size_t i = 0; i < kWorkshopIDSize; ++i) {
      rec[kOffWorkshopID + i] = i < length ? static_cast<uint8_t>(std::uniform_int_distribution<int>(0x20, 0x7E)(random)) : 0;
    }
  }
  if (chance(50)) {  // procedures with zero reserved bytes
    for (std::size_t i = 0; i < ProcCount(rec); ++i) {
      const std::size_t item = kRecordHeadSize + kProcedureEntrySize * i;
      std::fill(rec.begin() + static_cast<std::ptrdiff_t>(item + 2), rec.begin() + static_cast<std::ptrdiff_t>(item + 8), 0);
    }
  }
}

TBuffer WithDate(TBuffer rec, int day, int month, int year) {
  rec[kOffDay] = static_cast<uint8_t>(day);
  rec[kOffMonth] = static_cast<uint8_t>(month);
  StoreBigEndian16(&rec[kOffYear], static_cast<uint16_t>(year));
  return rec;
}

TBuffer WithIDBytes(TBuffer rec, std::string_view bytes) {
  for (std::size_t i = 0; i < kWorkshopIDSize; ++i) rec[kOffWorkshopID + i] = i < bytes.size() ? bytes[i] : 0;
  return rec;
}

// The histories of the round trip: the sample, fixed corner cases, and 3,000 random histories of
// 1 to 6 entries (seed 20260601).
std::vector<THistoryList> RoundTripHistories() {
  std::vector<THistoryList> histories = {Sample()};
  const TBuffer example = ExampleEntryBytes();
  // Every byte value in every position of the workshop ID, with zero bytes before and after.
  for (std::size_t position = 0; position < kWorkshopIDSize; ++position) {
    THistoryList list;
    for (int b = 0; b < 256; ++b) {
      std::string id = "ABCDEFG";
      id[position] = static_cast<char>(b);
      list.push_back(WithIDBytes(example, id));
      std::string afterZero(kWorkshopIDSize, '\0');
      afterZero[position] = static_cast<char>(b);
      list.push_back(WithIDBytes(example, afterZero));
    }
    histories.push_back(std::move(list));
  }
  // Each bad date, each unknown code, 0 and 255 procedures, the largest km.
  histories.push_back({WithDate(example, 40, 13, 2023), WithDate(example, 0, 0, 0), WithDate(example, 29, 2, 2023),
                       WithDate(example, 31, 4, 2020), WithDate(example, 1, 1, 10000), WithDate(example, 255, 255, 65535),
                       WithDate(example, 29, 2, 2024), WithDate(example, 1, 1, 1), WithDate(example, 31, 12, 9999)});
  std::mt19937 random(20260601);
  THistoryList extremes = {RandomEntry(random, 0), RandomEntry(random, 255), RandomEntry(random, 1)};
  StoreBigEndian32(&extremes[2][kOffKMStand], UINT32_MAX);
  histories.push_back(extremes);
  for (int h = 0; h < 3000; ++h) {
    THistoryList list;
    const int entries = std::uniform_int_distribution<int>(1, 6)(random);
    for (int e = 0; e < entries; ++e) {
      const std::size_t procedures = std::uniform_int_distribution<int>(0, 9)(random) == 0
                                         ? std::uniform_int_distribution<std::size_t>(0, 255)(random)
                                         : std::uniform_int_distribution<std::size_t>(0, 6)(random);
      TBuffer rec = RandomEntry(random, procedures);
      Shape(random, rec);
      list.push_back(std::move(rec));
    }
    histories.push_back(std::move(list));
  }
  return histories;
}

TEST(ExchangeRoundTrip, EveryHistoryComesBackByteForByteInBothFormats) {
  const std::vector<THistoryList> histories = RoundTripHistories();
  ASSERT_EQ(histories.size(), 1u + 7u + 2u + 3000u);
  std::size_t entries = 0, rawIDs = 0, rawDates = 0, reserved = 0, procedureReserved = 0;
  for (std::size_t h = 0; h < histories.size(); ++h) {
    SCOPED_TRACE("history " + std::to_string(h));
    const TBuffer bytes = JoinHistory(histories[h]);
    for (TExchangeFormat format : kFormats) {
      SCOPED_TRACE(FormatName(format));
      const std::string text = ExportHistory(histories[h], format);
      THistoryList back;
      try {
        back = ImportHistory(text, format);
      } catch (const TImportError& e) {
        FAIL() << e.what() << "\n" << text.substr(0, 2000);
      }
      ASSERT_EQ(JoinHistory(back), bytes) << text.substr(0, 2000);
    }
    for (std::size_t row = 0; row < histories[h].size(); ++row) {
      const TExportEntry e = ExportEntry(histories[h][row], row, histories[h].size());
      ++entries;
      rawIDs += !e.workshopIDBytes.empty();
      rawDates += !e.dateBytes.empty();
      reserved += !e.reserved.empty();
      procedureReserved += !ProcedureReservedCell(e.procedures).empty();
    }
  }
  // The corners were there: raw workshop IDs, raw dates, reserved bytes, in many entries each.
  EXPECT_GT(entries, 12000u);
  EXPECT_GT(rawIDs, 2000u);
  EXPECT_GT(rawDates, 1000u);
  EXPECT_GT(reserved, 1000u);
  EXPECT_GT(procedureReserved, 1000u);
}

TEST(ExchangeCsv, TheSampleAsTheSpreadsheetGetsIt) {
  const std::string csv = HistoryToCsv(Sample());
  const std::string expected =
      "\xEF\xBB\xBF#,Date,KM,Workshop type,Workshop type code,Workshop ID,Status,Status code,CNT,Procedures,"
      "Date bytes,Reserved,Workshop ID bytes,Procedure reserved\r\n"
      "9,2024-03-14,98450,BMW Service,1,M4021,ON TIME,1,3,Engine oil (1): ON TIME (1); Micro-filter (4): ON TIME (1); "
      "Vehicle check (100): ON TIME (1),,,,\r\n"
      "8,2023-09-02,86120,Independent,0,KFZ-BAU,LATE,2,3,Brake fluid (3): LATE (2); Front Brake (2): ON TIME (1); "
      "Rear Brake (6): OVERDUE (3),,,,\r\n"
      "7,2023-01-21,79300,BMW Service,1,M4021,ON TIME,1,5,Engine oil (1): ON TIME (1); Air filter element (11): ON TIME (1); "
      "Spark plugs (10): ON TIME (1); Statutory vehicle inspection (32): ON TIME (1); "
      "Statutory emissions test (33): ON TIME (1),,,,\r\n"
      "6,2021-06-08,61875,Independent,0,M\xC3\xBCller,INCOMPLETE,3,2,Engine oil (1): ON TIME (1); Fuel filter (12): OVERDUE (3),"
      ",,,\r\n";
  EXPECT_EQ(csv.substr(0, expected.size()), expected);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 10);
  EXPECT_TRUE(csv.ends_with("1,2017-06-12,12,BMW Service,1,M4021,ON TIME,1,1,Pre-delivery inspection (20): ON TIME (1),,,,\r\n"));
}

TEST(ExchangeEntry, TheCellsOfOddEntries) {
  struct Case {
    const char* name;
    TBuffer rec;
    std::string date, dateBytes, workshopID, workshopIDBytes, reserved, procedureReserved, procedures;
  };
  TBuffer odd = WithDate(WithIDBytes(ExampleEntryBytes(), std::string("A\0B", 3)), 40, 13, 2023);
  odd[kOffReserved] = 0x7E;
  odd[kOffWorkshopTYP] = 9;
  odd[kOffSVCStatus] = 0;
  odd[kRecordHeadSize + 8 + 0] = 7;      // the second procedure's type
  odd[kRecordHeadSize + 8 + 1] = 9;      // and status
  odd[kRecordHeadSize + 8 + 7] = 0x01;   // its last reserved byte
  const std::vector<Case> cases = {
      {"the example entry", ExampleEntryBytes(), "2020-02-01", "", "A1", "", "", "",
       "Engine oil (1): ON TIME (1); Vehicle check (100): OVERDUE (3)"},
      {"bytes after a zero in the ID, day 40 of month 13, reserved bytes, unknown codes", odd, "2023-13-40",
       "28 0D 07 E7", "A", "41 00 42 00 00 00 00", "7E", "00 00 00 00 00 00; 00 00 00 00 00 01",
       "Engine oil (1): ON TIME (1); UNKNOWN(7) (7): UNKNOWN(9) (9)"},
      {"bytes Windows-1252 leaves undefined, a control byte", WithIDBytes(ExampleEntryBytes(), "\x81\x8D\x8F\x90\x9D\x09Z"),
       "2020-02-01", "", "??????Z", "81 8D 8F 90 9D 09 5A", "", "",
       "Engine oil (1): ON TIME (1); Vehicle check (100): OVERDUE (3)"},
      {"all seven bytes, no zero", WithIDBytes(ExampleEntryBytes(), "M\xFC" "ller\xE9"), "2020-02-01", "",
       "M\xC3\xBCller\xC3\xA9", "", "", "", "Engine oil (1): ON TIME (1); Vehicle check (100): OVERDUE (3)"},
      {"an ID a spreadsheet would take for a number", WithIDBytes(ExampleEntryBytes(), "0042"), "2020-02-01", "", "0042",
       "30 30 34 32 00 00 00", "", "", "Engine oil (1): ON TIME (1); Vehicle check (100): OVERDUE (3)"},
      {"an ID a spreadsheet would take for a formula", WithIDBytes(ExampleEntryBytes(), "=A1"), "2020-02-01", "", "=A1",
       "3D 41 31 00 00 00 00", "", "", "Engine oil (1): ON TIME (1); Vehicle check (100): OVERDUE (3)"},
      {"a date or an exponent", WithIDBytes(ExampleEntryBytes(), "1E5"), "2020-02-01", "", "1E5", "31 45 35 00 00 00 00",
       "", "", "Engine oil (1): ON TIME (1); Vehicle check (100): OVERDUE (3)"},
      {"letters, digits and a dash say it all", WithIDBytes(ExampleEntryBytes(), "B-1187"), "2020-02-01", "", "B-1187", "",
       "", "", "Engine oil (1): ON TIME (1); Vehicle check (100): OVERDUE (3)"},
      {"an empty ID and year 0", WithDate(WithIDBytes(ExampleEntryBytes(), ""), 1, 1, 0), "0000-01-01", "01 01 00 00", "",
       "", "", "", "Engine oil (1): ON TIME (1); Vehicle check (100): OVERDUE (3)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TExportEntry e = ExportEntry(c.rec, 0, 1);
    EXPECT_EQ(e.date, c.date);
    EXPECT_EQ(e.dateBytes, c.dateBytes);
    EXPECT_EQ(e.workshopID, c.workshopID);
    EXPECT_EQ(e.workshopIDBytes, c.workshopIDBytes);
    EXPECT_EQ(e.reserved, c.reserved);
    EXPECT_EQ(ProcedureReservedCell(e.procedures), c.procedureReserved);
    EXPECT_EQ(ProceduresCell(e.procedures), c.procedures);
  }
}

TEST(ExchangeCsv, ParsesQuotingLineEndsAndTheByteOrderMark) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<TCsvRecord> records;
  };
  const std::vector<Case> cases = {
      {"plain, CRLF", "a,b\r\n1,2\r\n", {{1, {"a", "b"}}, {2, {"1", "2"}}}},
      {"LF, no line end at the end, BOM", "\xEF\xBB\xBF" "a,b\n1,2", {{1, {"a", "b"}}, {2, {"1", "2"}}}},
      {"quotes, commas, a doubled quote and a line break inside a field", "a,\"x, \"\"y\"\"\nz\",c\n1,,\"\"\n",
       {{1, {"a", "x, \"y\"\nz", "c"}}, {3, {"1", "", ""}}}},
      {"empty lines are skipped", "a\n\n\r\nb\n", {{1, {"a"}}, {4, {"b"}}}},
      {"empty fields at the end", "a,,\n", {{1, {"a", "", ""}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<TCsvRecord> records = ParseCsv(c.text);
    ASSERT_EQ(records.size(), c.records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
      EXPECT_EQ(records[i].line, c.records[i].line);
      EXPECT_EQ(records[i].fields, c.records[i].fields);
    }
  }
  EXPECT_EQ(CsvLine({"a", "b,c", "say \"hi\"", " x", "line\nbreak", ""}),
            "a,\"b,c\",\"say \"\"hi\"\"\",\" x\",\"line\nbreak\",\r\n");
}

TEST(ExchangeHex, CellsBothWays) {
  EXPECT_EQ(BytesToSpacedHexText(TBuffer{0x41, 0x00, 0xFF}), "41 00 FF");
  EXPECT_EQ(BytesToSpacedHexText(TBuffer{}), "");
  EXPECT_EQ(ParseHexCell("41 00 ff", 3), (TBuffer{0x41, 0x00, 0xFF}));
  EXPECT_EQ(ParseHexCell("4100FF", 3), (TBuffer{0x41, 0x00, 0xFF}));
  for (const char* bad : {"41 00", "41 00 FF 00", "4 100 FF", "41 0G FF", "41,00,FF", "0x41 00 FF"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(ParseHexCell(bad, 3), std::nullopt);
  }
}

const std::string kHeader =
    "#,Date,KM,Workshop type,Workshop type code,Workshop ID,Status,Status code,CNT,Procedures,"
    "Date bytes,Reserved,Workshop ID bytes,Procedure reserved\n";
const std::string kGoodRow =
    "1,2020-02-01,1000,BMW Service,1,A1,LATE,2,2,Engine oil (1): ON TIME (1); Vehicle check (100): OVERDUE (3),,,,\n";

// A row of the columns above: date, km, workshop ID, status code, procedures, the four raw cells.
std::string Row(const std::string& date, const std::string& km, const std::string& id, const std::string& status,
                const std::string& procedures, const std::string& raw = ",,,") {
  return "1," + date + "," + km + ",,1," + id + ",," + status + ",," + procedures + "," + raw + "\n";
}

struct RefusalCase {
  const char* name;
  std::string text;
  std::string error;
};

TEST(ExchangeImport, CsvRefusalsSayTheLineAndWhy) {
  const std::string oil = "Engine oil (1): ON TIME (1)";
  const std::vector<RefusalCase> cases = {
      {"empty", "", "Line 1: no header row; the first line names the columns, as export writes it"},
      {"only the header", kHeader, "Line 1: no entry below the header row; a history has at least one"},
      {"a missing column", "Date,Workshop type code,Workshop ID,Status code,Procedures\n2020-02-01,1,A1,2,(1): (1)\n",
       "Line 1: the column \"KM\" is missing; the header row needs the columns Date, KM, Workshop type code, Workshop "
       "ID, Status code and Procedures, named as export names them, separated by commas, semicolons or tabs (this one "
       "has 5 columns separated by commas)"},
      {"a column twice", "Date,KM,Date\n", "Line 1: the column \"Date\" is there twice; delete one of them"},
      {"an open quote", kHeader + kGoodRow + "1,\"2020-02-01,1000\n", "Line 3: a quoted field is not closed; add its closing quote (a quote inside a "
       "quoted field is written twice: \"\")"},
      {"a quote inside a field", kHeader + "1,20\"20,1000\n", "Line 2: a quote inside a field that does not begin with one; "
       "put the whole field in quotes and write the quote twice (\"\")"},
      {"text after a closing quote", kHeader + "1,\"2020\"-02-01\n", "Line 2: text after the closing quote of a field; a quote "
       "inside a quoted field is written twice (\"\"), and the field ends at its closing quote"},
      {"a short row", kHeader + kGoodRow + "1,2020-02-01\n", "Line 3: 2 fields where the header row has 14; a field with a "
       "\",\" in it must be in quotes"},
      {"a date that is not a date", kHeader + kGoodRow + kGoodRow + Row("2020-02-30", "1000", "A1", "2", oil),
       "Line 4: Date \"2020-02-30\" is not a calendar date written YYYY-MM-DD (or D.M.YYYY)"},
      {"a date as a spreadsheet may write it", kHeader + Row("02/01/2020", "1000", "A1", "2", oil),
       "Line 2: Date \"02/01/2020\" is not a calendar date written YYYY-MM-DD (or D.M.YYYY)"},
      {"a date the editor would not take", kHeader + Row("30.2.2020", "1000", "A1", "2", oil),
       "Line 2: Date \"30.2.2020\" is not a calendar date written YYYY-MM-DD (or D.M.YYYY)"},
      {"a German date saved with a short year", kHeader + Row("21.01.23", "1000", "A1", "2", oil),
       "Line 2: Date \"21.01.23\" has a year of 2 digits; write the year in full (YYYY-MM-DD or D.M.YYYY): a "
       "spreadsheet that saves dates with short years drops the century"},
      {"a date typed with a short year", kHeader + Row("21.1.23", "1000", "A1", "2", oil),
       "Line 2: Date \"21.1.23\" has a year of 2 digits; write the year in full (YYYY-MM-DD or D.M.YYYY): a "
       "spreadsheet that saves dates with short years drops the century"},
      {"a date with a one-digit year", kHeader + Row("1.1.5", "1000", "A1", "2", oil),
       "Line 2: Date \"1.1.5\" has a year of 1 digit; write the year in full (YYYY-MM-DD or D.M.YYYY): a "
       "spreadsheet that saves dates with short years drops the century"},
      {"an ISO date with a short year", kHeader + Row("23-01-21", "1000", "A1", "2", oil),
       "Line 2: Date \"23-01-21\" is not a calendar date written YYYY-MM-DD (or D.M.YYYY)"},
      {"no date", kHeader + Row("", "1000", "A1", "2", oil), "Line 2: Date is empty; write the date as YYYY-MM-DD"},
      {"date bytes that are not 4 bytes", kHeader + Row("", "1000", "A1", "2", oil, "28 0D 07,,,"),
       "Line 2: Date bytes \"28 0D 07\" is not 4 bytes (day, month, year) of hex"},
      {"km with a separator", kHeader + Row("2020-02-01", "\"1,000\"", "A1", "2", oil),
       "Line 2: KM \"1,000\" is not a whole number from 0 to 4294967295"},
      {"km too large", kHeader + Row("2020-02-01", "4294967296", "A1", "2", oil),
       "Line 2: KM \"4294967296\" is not a whole number from 0 to 4294967295"},
      {"a code out of range", kHeader + Row("2020-02-01", "1000", "A1", "256", oil),
       "Line 2: Status code \"256\" is not a whole number from 0 to 255"},
      {"a negative code", kHeader + "1,2020-02-01,1000,,-1,A1,,2,,(1): (1),,,,\n",
       "Line 2: Workshop type code \"-1\" is not a whole number from 0 to 255"},
      {"a procedure code out of range", kHeader + Row("2020-02-01", "1000", "A1", "2", oil + "; Brake (300): LATE (2)"),
       "Line 2: procedure 2's type code \"300\" is not a whole number from 0 to 255"},
      {"procedures without codes", kHeader + Row("2020-02-01", "1000", "A1", "2", "Engine oil: ON TIME"),
       "Line 2: Procedures \"Engine oil: ON TIME\" are not \"TYPE (code): STATUS (code)\" items separated by \";\", "
       "for example \"Engine oil (1): ON TIME (1)\""},
      {"a workshop ID over 7 bytes", kHeader + Row("2020-02-01", "1000", "ABCDEFGH", "2", oil),
       "Line 2: Workshop ID \"ABCDEFGH\" takes 8 bytes in the code page, at most 7 fit"},
      {"a workshop ID the code page cannot hold", kHeader + Row("2020-02-01", "1000", "A\xD0\x96", "2", oil),
       "Line 2: Workshop ID \"A\xD0\x96\" holds \"\xD0\x96\", which the code page cannot hold"},
      {"a workshop ID that is no UTF-8", kHeader + Row("2020-02-01", "1000", "A\xFC", "2", oil),
       "Line 2: Workshop ID \"A\xFC\" holds \"\xFC\", which the code page cannot hold"},
      {"workshop ID bytes that are not 7", kHeader + Row("2020-02-01", "1000", "A", "2", oil, ",,41,"),
       "Line 2: Workshop ID bytes \"41\" is not 7 bytes of hex"},
      {"reserved that is not a byte", kHeader + Row("2020-02-01", "1000", "A", "2", oil, ",1FF,,"),
       "Line 2: Reserved \"1FF\" is not 1 byte of hex"},
      {"procedure reserved for another count",
       kHeader + Row("2020-02-01", "1000", "A", "2", oil + "; (2): (2)", ",,,00 00 00 00 00 01"),
       "Line 2: Procedure reserved \"00 00 00 00 00 01\" has 1 items for 2 procedures"},
      {"a status text that is not the code's", kHeader + "1,2020-02-01,1000,,1,A1,ON TIME,2,,(1): (1),,,,\n",
       "Line 2: Status \"ON TIME\" is not the text of Status code 2 (\"LATE\")"},
      {"a count that is not the procedures'", kHeader + "1,2020-02-01,1000,,1,A1,,2,3,(1): (1),,,,\n",
       "Line 2: CNT \"3\" is not the text of the number of procedures (\"1\")"},
      {"a procedure text that is not its code's", kHeader + Row("2020-02-01", "1000", "A1", "2", "Engine oil (1): LATE (1)"),
       "Line 2: procedure 1's status \"LATE\" is not the text of status code 1 (\"ON TIME\")"},
      {"256 procedures", kHeader + Row("2020-02-01", "1000", "A1", "2", [&] {
         std::string procedures = oil;
         for (int i = 1; i < 256; ++i) procedures += "; " + oil;
         return procedures;
       }()),
       "Line 2: 256 procedures, at most 255 fit in an entry"},
  };
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      HistoryFromCsv(c.text);
      ADD_FAILURE() << "taken";
    } catch (const TImportError& e) {
      EXPECT_EQ(std::string(e.what()), c.error);
    }
  }
}

TEST(ExchangeImport, CsvTakesColumnsInAnyOrderTextsLeftOutAndTheListsDates) {
  struct Case {
    const char* name;
    std::string csv;
  };
  const std::vector<Case> cases = {
      {"as exported", kHeader + kGoodRow},
      {"other columns, in another order, the texts left out",
       "Notes,Procedures,Status code,Workshop ID,Workshop type code,KM,Date\nfirst,(1): (1); (100): (3),2,A1,1,1000,2020-02-01\n"},
      {"the date as the lists show it, LF, no byte order mark, an empty line at the end",
       "Date,KM,Workshop type code,Workshop ID,Status code,Procedures\n1.2.2020,1000,1,A1,2,"
       "Engine oil (1): ON TIME (1);Vehicle check(100):OVERDUE (3)\n\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(JoinHistory(HistoryFromCsv(c.csv)), ExampleEntryBytes());
  }
}

TEST(ExchangeImport, JsonRefusalsSayTheLineAndWhy) {
  const std::string good = R"({"Date": "2020-02-01", "KM": 1000, "Workshop type code": 1, "Workshop ID": "A1",
  "Status code": 2, "Procedures": [{"Type code": 1, "Status code": 1}, {"Type code": 100, "Status code": 3}]})";
  const std::vector<RefusalCase> cases = {
      {"a syntax error", "{\n  \"entries\": [\n    {\"Date\": }\n  ]\n}",
       "Line 3: JSON syntax error while parsing value - unexpected '}'; expected '[', '{', or a literal"},
      {"not an object", "[]", "Line 1: no \"entries\" list in a JSON object; the text must be {\"entries\": [...]}, "
                     "as export writes it"},
      {"no entries", "{\"entries\": []}", "Line 1: the \"entries\" list is empty; a history has at least one entry"},
      {"a missing key", "{\"entries\": [\n" + good + ",\n{\"Date\": \"2020-02-01\",\n \"Workshop type code\": 1}]}",
       "Line 4: no \"KM\"; add it, as export writes it"},
      {"a date that is not a date", "{\"entries\": [\n{\"KM\": 5,\n \"Date\": \"2020-13-01\"}]}",
       "Line 3: Date \"2020-13-01\" is not a calendar date written YYYY-MM-DD (or D.M.YYYY)"},
      {"km as a negative number", "{\"entries\": [{\"Date\": \"2020-02-01\",\n\"KM\": -5}]}",
       "Line 2: KM \"-5\" is not a whole number from 0 to 4294967295"},
      {"km as a fraction", "{\"entries\": [{\"Date\": \"2020-02-01\",\n\"KM\": 5.5}]}",
       "Line 2: KM \"5.5\" is not a whole number from 0 to 4294967295"},
      {"km as a list", "{\"entries\": [{\"Date\": \"2020-02-01\",\n\n\"KM\": [5]}]}",
       "Line 3: \"KM\" is array, not a number or a text; write it as export writes it"},
      {"a code out of range", "{\"entries\": [\n{\"Date\": \"2020-02-01\", \"KM\": 1, \"Workshop type code\": 1,\n"
                              "\"Workshop ID\": \"A\", \"Status code\": 2, \"Procedures\": [\n{\"Type code\": 1,\n"
                              "\"Status code\": 999}]}]}",
       "Line 5: procedure 1's status code \"999\" is not a whole number from 0 to 255"},
      {"a procedure without its type code", "{\"entries\": [\n{\"Date\": \"2020-02-01\", \"KM\": 1, \"Workshop type code\": 1,\n"
                                            "\"Workshop ID\": \"A\", \"Status code\": 2, \"Procedures\": [\n{\"Status code\": 1}]}]}",
       "Line 4: no \"procedure 1's Type code\"; add it, as export writes it"},
      {"a workshop ID over 7 bytes", "{\"entries\": [{\"Date\": \"2020-02-01\", \"KM\": 1, \"Workshop type code\": 1,\n"
                                     "\"Workshop ID\": \"\\u00e9\\u00e9\\u00e9\\u00e9\\u00e9\\u00e9\\u00e9\\u00e9\"}]}",
       "Line 2: Workshop ID \"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\" takes 8 bytes in the code "
       "page, at most 7 fit"},
      {"a zero character in the workshop ID", "{\"entries\": [{\"Date\": \"2020-02-01\", \"KM\": 1, \"Workshop type code\": 1,\n"
                                              "\"Workshop ID\": \"A\\u0000B\"}]}",
       "Line 2: Workshop ID \"A\\x00B\" holds a zero character; give its bytes in \"Workshop ID bytes\""},
      {"entries twice", "{\"entries\": [" + good + "],\n\"entries\": [" + good + "]}",
       "Line 3: the key \"entries\" is there twice in one object (first on line 1); remove one of them, as only one "
       "can count"},
      {"a key twice in an entry", "{\"entries\": [{\"Date\": \"2020-02-01\",\n\"KM\": 5,\n\"KM\": 6}]}",
       "Line 3: the key \"KM\" is there twice in one object (first on line 2); remove one of them, as only one can count"},
      {"a number beyond every range", "{\"entries\": [{\"Date\": \"2020-02-01\",\n\"KM\": 1e999}]}",
       "Line 2: KM \"1e999\" is a number out of every range; write a whole number, as export writes it"},
      {"km as typed with an exponent", "{\"entries\": [{\"Date\": \"2020-02-01\",\n\"KM\": 1e2}]}",
       "Line 2: KM \"1e2\" is not a whole number from 0 to 4294967295"},
      {"km too large for any integer", "{\"entries\": [{\"Date\": \"2020-02-01\",\n\"KM\": 123456789012345678901234}]}",
       "Line 2: KM \"123456789012345678901234\" is not a whole number from 0 to 4294967295"},
      {"a code as typed", "{\"entries\": [{\"Date\": \"2020-02-01\", \"KM\": 1,\n\"Workshop type code\": 1.0}]}",
       "Line 2: Workshop type code \"1.0\" is not a whole number from 0 to 255"},
      {"a date with a short year", "{\"entries\": [{\"Date\": \"1.2.20\", \"KM\": 1}]}",
       "Line 1: Date \"1.2.20\" has a year of 2 digits; write the year in full (YYYY-MM-DD or D.M.YYYY): a spreadsheet "
       "that saves dates with short years drops the century"},
      {"procedures not a list", "{\"entries\": [{\"Date\": \"2020-02-01\", \"KM\": 1, \"Workshop type code\": 1,\n"
                                "\"Workshop ID\": \"A\", \"Status code\": 2,\n\"Procedures\": 3}]}",
       "Line 3: \"Procedures\" is not a list; write it as [...], as export does"},
  };
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      HistoryFromJson(c.text);
      ADD_FAILURE() << "taken";
    } catch (const TImportError& e) {
      EXPECT_EQ(std::string(e.what()), c.error);
    }
  }
  EXPECT_EQ(JoinHistory(HistoryFromJson("{\"entries\": [" + good + "]}")), ExampleEntryBytes());
}

TEST(ExchangeFormat, NamesAndExtensions) {
  EXPECT_EQ(ExchangeFormatNamed("csv"), TExchangeFormat::Csv);
  EXPECT_EQ(ExchangeFormatNamed("JSON"), TExchangeFormat::Json);
  EXPECT_EQ(ExchangeFormatNamed("xml"), std::nullopt);
  EXPECT_EQ(ExchangeFormatOfPath("a/b.CSV"), TExchangeFormat::Csv);
  EXPECT_EQ(ExchangeFormatOfPath("b.json"), TExchangeFormat::Json);
  EXPECT_EQ(ExchangeFormatOfPath("b.kelta"), std::nullopt);
  EXPECT_EQ(ExchangeFormatOfPath("csv"), std::nullopt);
  EXPECT_EQ(ExchangeFormatOfPath(""), std::nullopt);
}

}  // namespace
