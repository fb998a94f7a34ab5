#include <gtest/gtest.h>

#include "history/HistoryCheck.h"
#include "history/HistoryFile.h"
#include "tests/TestEntries.h"

namespace {

constexpr TCalendarDate kToday{15, 5, 2025};

// An entry of the given date and km, otherwise the example entry (BMW dealer "A1", two procedures).
TBuffer Entry(int day, int month, int year, uint32_t km) {
  TServiceFields f = ExampleFields();
  f.day = static_cast<uint8_t>(day);
  f.month = static_cast<uint8_t>(month);
  f.year = static_cast<uint16_t>(year);
  f.km = km;
  return BuildServiceRecord(f);
}

TBuffer WithWorkshopIDBytes(TBuffer rec, std::string_view bytes) {
  std::fill(rec.begin() + kOffWorkshopID, rec.begin() + kOffWorkshopID + kWorkshopIDSize, 0);
  std::copy(bytes.begin(), bytes.end(), rec.begin() + kOffWorkshopID);
  return rec;
}

TBuffer WithoutProcedures(const TBuffer& rec) {
  TServiceFields f = DecodeServiceRecord(rec);
  f.procedures.clear();
  return BuildServiceRecord(f);
}

struct CheckCase {
  const char* name;
  THistoryList list;  // top entry first
  std::vector<std::string> lines;
};

TEST(HistoryCheck, FindingsForEachKindOfProblem) {
  TBuffer reserved = Entry(3, 3, 2021, 500);
  reserved[kOffReserved] = 0x5A;
  const std::vector<CheckCase> cases = {
      {"ordered", {Entry(2, 9, 2022, 86120), Entry(21, 1, 2020, 79300), Entry(1, 1, 2019, 12)}, {}},
      {"km go down as the dates go up, entries in list order",
       {Entry(21, 1, 2023, 79300), Entry(2, 9, 2022, 86120), Entry(1, 1, 2019, 12)},
       {"WARN: Entry 3: 79,300 km on 21.1.2023 is less than entry 2's 86,120 km on 2.9.2022."}},
      {"km go down, the list not in date order: compared by date, not by place",
       {Entry(2, 9, 2022, 86120), Entry(1, 1, 2019, 12), Entry(21, 1, 2023, 79300)},
       {"WARN: Entry 1: 79,300 km on 21.1.2023 is less than entry 3's 86,120 km on 2.9.2022."}},
      {"one km typed too high gives one finding, for the entry after it",
       {Entry(1, 1, 2024, 30000), Entry(1, 1, 2023, 200000), Entry(1, 1, 2022, 10000)},
       {"WARN: Entry 3: 30,000 km on 1.1.2024 is less than entry 2's 200,000 km on 1.1.2023."}},
      {"two entries of one date in any km order; the next date compares with the higher",
       {Entry(5, 5, 2022, 900), Entry(4, 4, 2022, 1000), Entry(4, 4, 2022, 2000)},
       {"WARN: Entry 3: 900 km on 5.5.2022 is less than entry 1's 2,000 km on 4.4.2022."}},
      {"equal km on later dates is fine", {Entry(2, 2, 2022, 1000), Entry(1, 1, 2022, 1000)}, {}},
      {"date in the future; today itself is not",
       {Entry(16, 5, 2025, 5000), Entry(15, 5, 2025, 4000)},
       {"WARN: Entry 2: 16.5.2025 is after today, 15.5.2025."}},
      {"no calendar dates: day 40, month 13, 29 February of a common year, year 0 and 10000",
       {Entry(40, 1, 2023, 1), Entry(1, 13, 2023, 2), Entry(29, 2, 2023, 3), Entry(29, 2, 2024, 4), Entry(1, 1, 0, 5),
        Entry(0, 1, 2020, 6), Entry(1, 1, 10000, 7)},
       {"WARN: Entry 7: 40.1.2023 is not a calendar date.", "WARN: Entry 6: 1.13.2023 is not a calendar date.",
        "WARN: Entry 5: 29.2.2023 is not a calendar date.", "WARN: Entry 3: 1.1.0 is not a calendar date.",
        "WARN: Entry 2: 0.1.2020 is not a calendar date.", "WARN: Entry 1: 1.1.10000 is not a calendar date."}},
      {"the same entry twice (reserved bytes aside), and a third time",
       {Entry(3, 3, 2021, 500), reserved, Entry(3, 3, 2021, 500), Entry(3, 3, 2021, 501)},
       {"WARN: Entry 3: the same as entry 4 (3.3.2021, 500 km).",
        "WARN: Entry 2: the same as entry 4 (3.3.2021, 500 km)."}},
      {"an entry with no procedure",
       {WithoutProcedures(Entry(1, 1, 2020, 1))},
       {"WARN: Entry 1: no procedure; the editor asks for at least one."}},
      {"km the editor cannot take: 8 digits",
       {Entry(1, 1, 2020, 10000000), Entry(1, 1, 2019, 9999999)},
       {"WARN: Entry 2: 10,000,000 km is more than the editor takes (9,999,999)."}},
      {"workshop IDs the editor would not take",
       {WithWorkshopIDBytes(Entry(1, 1, 2020, 5), ""), WithWorkshopIDBytes(Entry(1, 1, 2020, 4), "AB\x81"),
        WithWorkshopIDBytes(Entry(1, 1, 2020, 3), "\x09X"), WithWorkshopIDBytes(Entry(1, 1, 2020, 2), "X\x7F"),
        WithWorkshopIDBytes(Entry(1, 1, 2020, 1), "M\xFCller\xA0")},  // "Müller" and a no-break space: fine
       {"WARN: Entry 5: the workshop ID is empty.",
        "WARN: Entry 4: the workshop ID holds a control character (U+0081 at character 3).",
        "WARN: Entry 3: the workshop ID holds a control character (U+0009 at character 1).",
        "WARN: Entry 2: the workshop ID holds a control character (U+007F at character 2)."}},
      {"several findings for one entry, in a fixed order",
       {WithWorkshopIDBytes(WithoutProcedures(Entry(1, 1, 2030, 12345678)), ""), Entry(1, 1, 2020, 7)},
       {"WARN: Entry 2: 1.1.2030 is after today, 15.5.2025.",
        "WARN: Entry 2: 12,345,678 km is more than the editor takes (9,999,999).",
        "WARN: Entry 2: no procedure; the editor asks for at least one.", "WARN: Entry 2: the workshop ID is empty."}},
      {"an empty list", {}, {}},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> lines;
    for (const TFinding& f : CheckHistory(c.list, kToday)) {
      EXPECT_EQ(f.severity, TFindingSeverity::Warning);
      EXPECT_EQ(f.text.rfind("Entry " + std::to_string(f.entryNumber) + ": ", 0), 0u) << f.text;
      lines.push_back(FindingLine(f));
    }
    EXPECT_EQ(lines, c.lines);
  }
}

TEST(HistoryCheck, TheSampleHasNoFinding) {
  const THistoryLoad sample = LoadHistoryFile(std::string(TARVELO_SOURCE_DIR) + "/examples/sample.kelta");
  ASSERT_TRUE(sample.Loaded());
  EXPECT_EQ(CheckHistory(sample.entries, kToday), std::vector<TFinding>{});
  EXPECT_EQ(CheckHistory(sample.entries, LocalToday()), std::vector<TFinding>{});
}

TEST(HistoryCheck, ThousandsText) {
  const std::vector<std::pair<uint64_t, const char*>> cases = {
      {0, "0"}, {12, "12"}, {999, "999"}, {1000, "1,000"}, {79300, "79,300"}, {9999999, "9,999,999"},
      {4294967295u, "4,294,967,295"}};
  for (const auto& [value, text] : cases) {
    SCOPED_TRACE(value);
    EXPECT_EQ(ThousandsText(value), text);
  }
}

TEST(HistoryCheck, WorkshopIDProblemAsTheEditorSeesIt) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"A1", ""},
      {"KFZ-BAU", ""},
      {"M\xC3\xBCller", ""},                         // "Müller": 6 characters, 7 bytes of UTF-8
      {"\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC", ""},  // 7 x "€"
      {"", "is empty"},
      {"ABCDEFGH", "has 8 characters, at most 7 fit"},
      {"A\nB", "holds a control character (U+000A at character 2)"},
      {"\xC2\x9D", "holds a control character (U+009D at character 1)"},
  };
  for (const auto& [text, problem] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(WorkshopIDProblem(text), problem);
  }
}

TEST(HistoryCheck, LocalTodayIsACalendarDate) {
  const TCalendarDate today = LocalToday();
  EXPECT_TRUE(IsCalendarDate(today.day, today.month, today.year));
  EXPECT_GE(today.year, 2025);
}

}  // namespace
