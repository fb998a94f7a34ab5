#include <gtest/gtest.h>

#include <cstdio>

#include "history/CodePage.h"
#include "history/CodeTables.h"
#include "history/RecordTexts.h"
#include "history/TarveloError.h"
#include "history/TextParsing.h"
#include "tests/TestEntries.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Cases of Windows-1252: the code page everywhere but on Windows, and there the
// ANSI code page of Western European systems (and Wine's default).
#ifdef _WIN32
#define REQUIRE_WINDOWS_1252()                                                                                   \
  do {                                                                                                           \
    if (GetACP() != 1252) GTEST_SKIP() << "the cases are Windows-1252's; this system's ANSI code page is " << GetACP(); \
  } while (0)
#else
#define REQUIRE_WINDOWS_1252() \
  do {                         \
  } while (0)
#endif

struct CodeCase {
  int code;
  const char* text;
};

TEST(ListTexts, WorkshopType) {
  for (const CodeCase& c : std::initializer_list<CodeCase>{
           {0, "Independent"}, {1, "BMW Service"}, {2, "UNKNOWN"}, {5, "UNKNOWN"}, {255, "UNKNOWN"}}) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(WorkshopTypeText(static_cast<uint8_t>(c.code)), c.text);
  }
}

TEST(ListTexts, ServiceStatus) {
  for (const CodeCase& c : std::initializer_list<CodeCase>{{0, "UNKNOWN(0)"},
                                                           {1, "ON TIME"},
                                                           {2, "LATE"},
                                                           {3, "INCOMPLETE"},
                                                           {4, "UNKNOWN(4)"},
                                                           {255, "UNKNOWN(255)"}}) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(ServiceStatusText(static_cast<uint8_t>(c.code)), c.text);
  }
}

TEST(ListTexts, ProcedureType) {
  for (const CodeCase& c : std::initializer_list<CodeCase>{{1, "Engine oil"},
                                                           {2, "Front Brake"},
                                                           {3, "Brake fluid"},
                                                           {4, "Micro-filter"},
                                                           {5, "Recirculating air filter"},
                                                           {6, "Rear Brake"},
                                                           {10, "Spark plugs"},
                                                           {11, "Air filter element"},
                                                           {12, "Fuel filter"},
                                                           {20, "Pre-delivery inspection"},
                                                           {21, "Service - running in check"},
                                                           {32, "Statutory vehicle inspection"},
                                                           {33, "Statutory emissions test"},
                                                           {100, "Vehicle check"},
                                                           {0, "UNKNOWN(0)"},
                                                           {7, "UNKNOWN(7)"},
                                                           {9, "UNKNOWN(9)"},
                                                           {99, "UNKNOWN(99)"},
                                                           {255, "UNKNOWN(255)"}}) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(ProcedureTypeText(static_cast<uint8_t>(c.code)), c.text);
  }
}

TEST(ListTexts, ProcedureStatusSaysOverdueWhereServiceStatusSaysIncomplete) {
  for (const CodeCase& c : std::initializer_list<CodeCase>{
           {0, "UNKNOWN(0)"}, {1, "ON TIME"}, {2, "LATE"}, {3, "OVERDUE"}, {9, "UNKNOWN(9)"}, {255, "UNKNOWN(255)"}}) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(ProcedureStatusText(static_cast<uint8_t>(c.code)), c.text);
  }
  EXPECT_EQ(ServiceStatusText(3), "INCOMPLETE");
}

TEST(EditorTexts, ProcedureListPositionsGiveTheTableCodes) {
  const uint8_t expected[] = {1, 2, 3, 4, 5, 6, 10, 11, 12, 20, 21, 32, 33, 100};
  for (int p = 0; p < 14; ++p) {
    SCOPED_TRACE(p);
    EXPECT_EQ(ProcedureCodeFromListPosition(p), expected[p]);
    EXPECT_EQ(EditorProcedureTypeText(expected[p]), kProcedureTypes[static_cast<std::size_t>(p)].name);
    EXPECT_EQ(ProcedureTypeText(expected[p]), kProcedureTypes[static_cast<std::size_t>(p)].name);
  }
  EXPECT_THROW(ProcedureCodeFromListPosition(-1), std::out_of_range);
  EXPECT_THROW(ProcedureCodeFromListPosition(14), std::out_of_range);
}

TEST(EditorTexts, CodesOutsideTheTables) {
  EXPECT_EQ(EditorProcedureTypeText(9), "UNKNOWN");
  EXPECT_EQ(EditorProcedureTypeText(0), "UNKNOWN");
  for (const CodeCase& c : std::initializer_list<CodeCase>{{1, "1 ON TIME"},
                                                           {2, "2 LATE"},
                                                           {3, "3 OVERDUE"},
                                                           {0, "0 UNKNOWN(0)"},
                                                           {7, "0 UNKNOWN(7)"},
                                                           {9, "0 UNKNOWN(9)"},
                                                           {255, "0 UNKNOWN(255)"}}) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(EditorProcedureStatusText(static_cast<uint8_t>(c.code)), c.text);
  }
  EXPECT_EQ(EditorProcedureStatusTextForPosition(0), "1 ON TIME");
  EXPECT_EQ(EditorProcedureStatusTextForPosition(2), "3 OVERDUE");
}

// What the editor stores again is the number its "Status" text begins with.
TEST(EditorTexts, AStatusStoresTheNumberItsTextBeginsWith) {
  for (const int loaded : {0, 1, 2, 3, 4, 7, 9, 255}) {
    SCOPED_TRACE(loaded);
    const auto code = static_cast<uint8_t>(loaded);
    EXPECT_EQ(std::string(1, static_cast<char>('0' + StoredProcedureStatus(code))), EditorProcedureStatusText(code).substr(0, 1));
  }
  EXPECT_EQ(StoredProcedureStatus(2), 2);
  EXPECT_EQ(StoredProcedureStatus(9), 0);
}

TEST(EditorTexts, DropDownPositionsAndStoredCodes) {
  EXPECT_EQ(WorkshopTypeListPosition(0), 0);
  EXPECT_EQ(WorkshopTypeListPosition(1), 1);
  EXPECT_EQ(WorkshopTypeListPosition(5), -1);
  EXPECT_EQ(WorkshopTypeCode(1), 1);
  EXPECT_EQ(WorkshopTypeCode(-1), 255);
  EXPECT_EQ(ServiceStatusListPosition(1), 0);
  EXPECT_EQ(ServiceStatusListPosition(3), 2);
  EXPECT_EQ(ServiceStatusListPosition(0), -1);
  EXPECT_EQ(ServiceStatusListPosition(7), -1);
  EXPECT_EQ(ServiceStatusCode(2), 3);
  EXPECT_EQ(ServiceStatusCode(-1), 0);
}

TEST(FieldTexts, DateKmIdAndCount) {
  const TBuffer rec = ExampleEntryBytes();
  EXPECT_EQ(DateText(rec), "1.2.2020");
  EXPECT_EQ(KMText(rec), "1000");
  EXPECT_EQ(WorkshopIDText(rec), "A1");
  EXPECT_EQ(CountText(rec), "2");

  TBuffer other = rec;
  other[0] = 1;
  other[1] = 12;
  EXPECT_EQ(DateText(other), "1.12.2020");
  other[0] = 5;
  other[1] = 3;
  StoreBigEndian16(&other[2], 2019);
  EXPECT_EQ(DateText(other), "5.3.2019");
  std::fill(other.begin() + 5, other.begin() + 9, 0xFF);
  EXPECT_EQ(KMText(other), "4294967295");
}

TEST(FieldTexts, WorkshopIdGoesThroughTheCodePage) {
  REQUIRE_WINDOWS_1252();
  TBuffer rec = ExampleEntryBytes();
  const uint8_t id[] = {'M', 0xFC, 'l', 'l', 'e', 'r', 0x80};
  std::copy(std::begin(id), std::end(id), rec.begin() + 10);
  EXPECT_EQ(WorkshopIDText(rec), "M\xC3\xBCller\xE2\x82\xAC");  // "Müller€"
}

TEST(EntryCells, ExampleEntryRowAndProcedures) {
  const TBuffer rec = ExampleEntryBytes();
  const char* expected[] = {"2", "1.2.2020", "1000", "BMW Service", "A1", "LATE", "2"};
  for (std::size_t c = 0; c < kEntryColumnCount; ++c) {
    SCOPED_TRACE(kEntryColumnCaptions[c]);
    EXPECT_EQ(EntryCellText(rec, 0, 2, static_cast<TEntryColumn>(c)), expected[c]);
  }
  EXPECT_EQ(EntryCellText(rec, 2, 3, TEntryColumn::Number), "1");
  EXPECT_EQ(ProcedureCellText(rec, 0, TProcedureColumn::Number), "1");
  EXPECT_EQ(ProcedureCellText(rec, 0, TProcedureColumn::ServiceType), "Engine oil");
  EXPECT_EQ(ProcedureCellText(rec, 0, TProcedureColumn::Status), "ON TIME");
  EXPECT_EQ(ProcedureCellText(rec, 1, TProcedureColumn::Number), "2");
  EXPECT_EQ(ProcedureCellText(rec, 1, TProcedureColumn::ServiceType), "Vehicle check");
  EXPECT_EQ(ProcedureCellText(rec, 1, TProcedureColumn::Status), "OVERDUE");
}

struct CodePageCase {
  const char* name;
  std::string utf8;
  std::size_t maxBytes;
  std::string ansi;
};

TEST(CodePage, Utf8ToAnsi) {
  REQUIRE_WINDOWS_1252();
  const CodePageCase cases[] = {
      {"ascii", "A1", 7, "A1"},
      {"latin-1", "M\xC3\xBCller", 7, "M\xFCller"},
      {"euro sign", "\xE2\x82\xAC" "5", 7, "\x80" "5"},
      {"not in the code page", "\xE6\x9D\xB1" "A", 7, "?A"},
      {"emoji", "\xF0\x9F\x9A\x97", 7, "?"},
      {"malformed byte", "A\xFF" "B", 7, "A?B"},
      {"cut short sequence", "A\xC3", 7, "A?"},
      {"cut at seven characters", "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F" "ABCD", 7, "\xE4\xF6\xFC\xDF" "ABC"},
      {"no limit", "ABCDEFGHIJ", std::string::npos, "ABCDEFGHIJ"},
  };
  for (const CodePageCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8ToAnsi(c.utf8, c.maxBytes), c.ansi);
  }
}

// The characters Utf8ToAnsi would have to replace are the ones the editor refuses.
TEST(CodePage, TheFirstCharacterOutsideTheCodePage) {
  REQUIRE_WINDOWS_1252();
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"A1", std::nullopt},
      {"M\xC3\xBCller", std::nullopt},
      {"\xE2\x82\xAC\xC3\xA9" "1234", std::nullopt},                      // the euro sign is in it
      {"\xE2\x82\xAC\xD0\x96\xC3\xA9" "1234", std::string("\xD0\x96")},  // Zhe is not
      {"AB\xF0\x9F\x9A\x97", std::string("\xF0\x9F\x9A\x97")},
      {"", std::nullopt},
  };
  for (const auto& [utf8, refused] : cases) {
    SCOPED_TRACE(utf8);
    EXPECT_EQ(FirstCharacterOutsideCodePage(utf8), refused);
    EXPECT_EQ(Utf8ToAnsi(utf8).find('?') != std::string::npos, refused.has_value());
  }
}

TEST(CodePage, EveryByteSurvivesARoundTrip) {
  REQUIRE_WINDOWS_1252();
  for (int b = 1; b < 256; ++b) {
    const std::string ansi(1, static_cast<char>(b));
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(ansi)), ansi) << "byte " << b;
  }
}

#ifdef _WIN32
// On Windows the workshop ID goes through the system's ANSI code page (CP_ACP): "Müller" is
// stored as the bytes Windows itself makes of it, and the list shows "Müller" again.
TEST(CodePage, TheWorkshopIdGoesThroughTheSystemsAnsiCodePage) {
  const std::wstring wide = L"M\u00FCller";
  char bytes[16];
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), bytes, sizeof bytes, nullptr, nullptr);
  ASSERT_GT(n, 0);
  const std::string stored = Utf8ToAnsi("M\xC3\xBCller", 7);
  EXPECT_EQ(stored, std::string(bytes, static_cast<std::size_t>(n)));
  TBuffer rec = ExampleEntryBytes();
  std::fill(rec.begin() + 10, rec.begin() + 17, 0);
  std::copy(stored.begin(), stored.end(), rec.begin() + 10);
  EXPECT_EQ(WorkshopIDText(rec), "M\xC3\xBCller");
  std::printf("ANSI code page %u: \"M\xC3\xBCller\" is stored as", GetACP());
  for (const char c : stored) std::printf(" %02X", static_cast<unsigned char>(c));
  std::printf("\n");
  REQUIRE_WINDOWS_1252();
  EXPECT_EQ(stored, "M\xFCller");
}
#endif

TEST(TextParsing, Integers) {
  EXPECT_EQ(ParseIntegerText("0"), 0u);
  EXPECT_EQ(ParseIntegerText("9999999"), 9999999u);
  EXPECT_EQ(ParseIntegerText("0042"), 42u);
  EXPECT_EQ(ParseIntegerText("4294967295"), 4294967295u);
  for (const char* bad : {"", "12a", " 1", "-5", "+5", "4294967296", "1.5"}) {
    SCOPED_TRACE(bad);
    try {
      ParseIntegerText(bad);
      ADD_FAILURE() << "accepted";
    } catch (const ETarveloError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' is not a valid integer value");
    }
  }
}

TEST(TextParsing, Dates) {
  EXPECT_EQ(ParseDateText("1.2.2020"), (TCalendarDate{1, 2, 2020}));
  EXPECT_EQ(ParseDateText("15.12.2019"), (TCalendarDate{15, 12, 2019}));
  EXPECT_EQ(ParseDateText("29.2.2024"), (TCalendarDate{29, 2, 2024}));
  EXPECT_EQ(ParseDateText("31.12.9999"), (TCalendarDate{31, 12, 9999}));
  for (const char* bad : {"31.4.2020", "1.13.2020", "29.2.2023", "29.2.1900", "0.1.2020", "1.0.2020", "1.1.0",
                          "1.1.10000", "1.2", "1..2020", "a.b.c", "", "1.2.2020.", "1.2.20x"}) {
    SCOPED_TRACE(bad);
    try {
      ParseDateText(bad);
      ADD_FAILURE() << "accepted";
    } catch (const ETarveloError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' is not a valid date");
    }
  }
}

TEST(ErrorReport, FullStopWhenTheLastCharacterSortsAboveIt) {
  const std::pair<const char*, const char*> cases[] = {
      {"Cannot open file \"x\". No such file or directory", "Cannot open file \"x\". No such file or directory."},
      {"'12a' is not a valid integer value", "'12a' is not a valid integer value."},
      {"Done.", "Done."},
      {"Ends with a comma,", "Ends with a comma,"},
      {"Ends with a hyphen-", "Ends with a hyphen-"},
      {"Ends with a slash/", "Ends with a slash/."},
      {"'1.2.20' is not a valid date", "'1.2.20' is not a valid date."},
      {"Version 1", "Version 1."},
      {"Ends in a bracket)", "Ends in a bracket)"},
      {"Ends in a quote'", "Ends in a quote'"},
      {"", ""},
  };
  for (const auto& [text, shown] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ErrorReportText(text), shown);
  }
}

}  // namespace
