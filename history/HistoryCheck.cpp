#include "history/HistoryCheck.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <map>
#include <optional>
#include <tuple>

#include "history/RecordTexts.h"

namespace {

// The kinds of finding, in the order they are listed for one entry.
enum class TFindingKind { NoCalendarDate, Future, KMTooLarge, KMGoesDown, Duplicate, NoProcedure, WorkshopID };

struct TRawFinding {
  std::size_t index;  // list index
  TFindingKind kind;
  std::string text;
};

using TDateKey = std::tuple<int, int, int>;  // year, month, day: ordered as the calendar orders them

TDateKey DateKey(const TBuffer& rec) { return {Year(rec), Month(rec), Day(rec)}; }
TDateKey DateKey(const TCalendarDate& d) { return {d.year, d.month, d.day}; }

bool HasCalendarDate(const TBuffer& rec) { return IsCalendarDate(Day(rec), Month(rec), Year(rec)); }

std::string CalendarDateText(const TCalendarDate& d) {
  return std::to_string(d.day) + "." + std::to_string(d.month) + "." + std::to_string(d.year);
}

std::string KMOn(const TBuffer& rec) { return ThousandsText(KMStand(rec)) + " km on " + DateText(rec); }

// The entry without its reserved bytes: two entries with the same key are the same service.
TBuffer DuplicateKey(const TBuffer& rec) {
  TBuffer key = rec;
  key[kOffReserved] = 0;
  for (std::size_t i = 0; i < ProcCount(rec); ++i) {
    const std::size_t item = kRecordHeadSize + kProcedureEntrySize * i;
    std::fill(key.begin() + static_cast<std::ptrdiff_t>(item + kOffProcReserved),
              key.begin() + static_cast<std::ptrdiff_t>(item + kProcedureEntrySize), 0);
  }
  return key;
}

// One UTF-8 character from the front of text; a byte that starts no valid sequence is taken alone.
char32_t TakeCharacter(std::string_view& text) {
  const auto b0 = static_cast<uint8_t>(text[0]);
  std::size_t length = 1;
  char32_t cp = b0;
  if (b0 >= 0xC0 && b0 < 0xE0) {
    length = 2, cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 < 0xF0) {
    length = 3, cp = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 < 0xF8) {
    length = 4, cp = b0 & 0x07;
  }
  if (length > text.size()) length = 1, cp = b0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto b = static_cast<uint8_t>(text[i]);
    if ((b & 0xC0) != 0x80) {
      length = 1, cp = b0;
      break;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  text.remove_prefix(length);
  return cp;
}

bool IsControlCharacter(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F); }

std::string CodePointText(char32_t cp) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(cp));
  return text;
}

void CheckDates(const THistoryList& list, const TCalendarDate& today, std::vector<TRawFinding>& out) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string entry = "Entry " + std::to_string(list.size() - i) + ": ";
    if (!HasCalendarDate(list[i])) {
      out.push_back({i, TFindingKind::NoCalendarDate, entry + DateText(list[i]) + " is not a calendar date."});
    } else if (DateKey(list[i]) > DateKey(today)) {
      out.push_back({i, TFindingKind::Future, entry + DateText(list[i]) + " is after today, " + CalendarDateText(today) + "."});
    }
  }
}

// Entries ordered by date (the bottom of the list first among equal dates): each entry's km must
// not be less than the highest km of the nearest earlier date. Entries without a calendar date or
// with a date in the future have findings of their own and take no part.
void CheckKMOrder(const THistoryList& list, const TCalendarDate& today, std::vector<TRawFinding>& out) {
  std::vector<std::size_t> dated;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (HasCalendarDate(list[i]) && DateKey(list[i]) <= DateKey(today)) dated.push_back(i);
  }
  // A total order (no two entries share an index), so a plain sort is stable enough.
  std::sort(dated.begin(), dated.end(), [&](std::size_t a, std::size_t b) {
    if (DateKey(list[a]) != DateKey(list[b])) return DateKey(list[a]) < DateKey(list[b]);
    return a > b;
  });
  std::optional<std::size_t> earlierBest;  // the highest km of the nearest earlier date
  std::optional<std::size_t> groupBest;    // the highest km of the date being walked
  for (std::size_t k = 0; k < dated.size(); ++k) {
    const std::size_t i = dated[k];
    if (k > 0 && DateKey(list[dated[k - 1]]) != DateKey(list[i])) {
      earlierBest = groupBest;
      groupBest.reset();
    }
    if (earlierBest && KMStand(list[i]) < KMStand(list[*earlierBest])) {
      out.push_back({i, TFindingKind::KMGoesDown,
                     "Entry " + std::to_string(list.size() - i) + ": " + KMOn(list[i]) + " is less than entry " +
                         std::to_string(list.size() - *earlierBest) + "'s " + KMOn(list[*earlierBest]) + "."});
    }
    if (!groupBest || KMStand(list[i]) > KMStand(list[*groupBest])) groupBest = i;
  }
}

void CheckEachEntry(const THistoryList& list, std::vector<TRawFinding>& out) {
  std::map<TBuffer, std::size_t> firstSeen;  // the topmost entry of each kind
  for (std::size_t i = 0; i < list.size(); ++i) {
    const TBuffer& rec = list[i];
    const std::string entry = "Entry " + std::to_string(list.size() - i) + ": ";
    if (KMStand(rec) > kMaxEditorKM) {
      out.push_back({i, TFindingKind::KMTooLarge,
                     entry + ThousandsText(KMStand(rec)) + " km is more than the editor takes (" +
                         ThousandsText(kMaxEditorKM) + ")."});
    }
    const auto [seen, inserted] = firstSeen.emplace(DuplicateKey(rec), i);
    if (!inserted) {
      out.push_back({i, TFindingKind::Duplicate,
                     entry + "the same as entry " + std::to_string(list.size() - seen->second) + " (" + DateText(rec) +
                         ", " + ThousandsText(KMStand(rec)) + " km)."});
    }
    if (ProcCount(rec) == 0) {
      out.push_back({i, TFindingKind::NoProcedure, entry + "no procedure; the editor asks for at least one."});
    }
    if (const std::string problem = WorkshopIDProblem(WorkshopIDText(rec)); !problem.empty()) {
      out.push_back({i, TFindingKind::WorkshopID, entry + "the workshop ID " + problem + "."});
    }
  }
}

}  // namespace

std::vector<TFinding> CheckHistory(const THistoryList& list, const TCalendarDate& today) {
  std::vector<TRawFinding> raw;
  CheckDates(list, today, raw);
  CheckKMOrder(list, today, raw);
  CheckEachEntry(list, raw);
  // Each kind of finding comes at most once per entry: index and kind order them totally.
  std::sort(raw.begin(), raw.end(), [](const TRawFinding& a, const TRawFinding& b) {
    return std::tie(a.index, a.kind) < std::tie(b.index, b.kind);
  });
  std::vector<TFinding> findings;
  findings.reserve(raw.size());
  for (TRawFinding& f : raw) findings.push_back({list.size() - f.index, TFindingSeverity::Warning, std::move(f.text)});
  return findings;
}

TCalendarDate LocalToday() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return {local.tm_mday, local.tm_mon + 1, local.tm_year + 1900};
}

std::string_view SeverityWord(TFindingSeverity severity) {
  switch (severity) {
    case TFindingSeverity::Warning: return "WARN";
  }
  return "WARN";
}

std::string FindingLine(const TFinding& finding) {
  return std::string(SeverityWord(finding.severity)) + ": " + finding.text;
}

std::string ThousandsText(uint64_t value) {
  const std::string digits = std::to_string(value);
  std::string text;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return text;
}

std::string WorkshopIDProblem(std::string_view utf8) {
  if (utf8.empty()) return "is empty";
  std::size_t characters = 0;
  while (!utf8.empty()) {
    const char32_t cp = TakeCharacter(utf8);
    ++characters;
    if (IsControlCharacter(cp)) {
      return "holds a control character (" + CodePointText(cp) + " at character " + std::to_string(characters) + ")";
    }
  }
  if (characters > kMaxWorkshopIDCharacters) {
    return "has " + std::to_string(characters) + " characters, at most " + std::to_string(kMaxWorkshopIDCharacters) +
           " fit";
  }
  return {};
}

bool HasControlCharacter(std::string_view utf8) {
  while (!utf8.empty()) {
    if (IsControlCharacter(TakeCharacter(utf8))) return true;
  }
  return false;
}
