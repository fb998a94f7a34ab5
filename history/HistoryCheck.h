#pragma once
// Checks a history before it is written: bytes can split into whole entries and still say what
// no service could have been. Every finding is a warning: the history is still valid and can be
// written, but it is likely wrong. `tarvelo-cli check` prints them; the desktop program may show
// the same texts.
//
// What is looked at, entry by entry:
//   - the date: a calendar date (days 1..28/29/30/31, months 1..12, years 1..9999), not after today;
//   - the km: at most 9,999,999 (the editor takes 7 digits), and not less than that of the entry
//     of the nearest earlier date (entries ordered by date; among entries of one date the highest);
//   - the same entry twice (all bytes but the reserved ones equal);
//   - at least one procedure;
//   - the workshop ID as the editor takes it: 1 to 7 characters, none a control character.
//
// Entries are named by their number in the main window's list: of N entries the top one (index 0)
// is entry N, the bottom one entry 1.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "history/HistoryList.h"
#include "history/TextParsing.h"

enum class TFindingSeverity { Warning };

struct TFinding {
  std::size_t entryNumber = 0;  // as the entries list shows it
  TFindingSeverity severity = TFindingSeverity::Warning;
  std::string text;  // one line, "Entry 7: ..." and a full stop
  friend bool operator==(const TFinding&, const TFinding&) = default;
};

// The findings for the list, in list order (top entry first), for each entry in the order of the
// list above. today is the date that counts as today (dates after it are in the future).
std::vector<TFinding> CheckHistory(const THistoryList& list, const TCalendarDate& today);

// Today's date on this computer's calendar (local time).
TCalendarDate LocalToday();

// "WARN" for a warning: the word a line of findings begins with.
std::string_view SeverityWord(TFindingSeverity severity);

// "WARN: Entry 7: ..." as tarvelo-cli prints a finding.
std::string FindingLine(const TFinding& finding);

// Numbers with a comma between thousands: "79,300", "9,999,999", "0".
std::string ThousandsText(uint64_t value);

// Why the editor would not take this workshop ID (UTF-8 text), or empty when it would: "is empty",
// "holds a control character (U+0081 at character 3)", "has 8 characters, at most 7 fit".
std::string WorkshopIDProblem(std::string_view utf8);

// Whether UTF-8 text holds a control character (U+0000..U+001F, U+007F..U+009F).
bool HasControlCharacter(std::string_view utf8);

// The largest km the editor takes (7 digits).
inline constexpr uint32_t kMaxEditorKM = 9'999'999;
inline constexpr std::size_t kMaxWorkshopIDCharacters = 7;
