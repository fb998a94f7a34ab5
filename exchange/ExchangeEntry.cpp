#include "exchange/ExchangeEntry.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "exchange/HexCells.h"
#include "exchange/ImportError.h"
#include "exchange/SpreadsheetText.h"
#include "exchange/TextEncoding.h"
#include "history/CodePage.h"
#include "history/CodeTables.h"
#include "history/HistoryCheck.h"
#include "history/TextParsing.h"

namespace {

constexpr std::size_t kDateSize = 4;            // day, month, year (2 bytes)

std::size_t ProcedureOffset(std::size_t i) { return kRecordHeadSize + kProcedureEntrySize * i; }

std::string DateCell(int day, int month, int year) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  return text;
}

// The workshop ID's text with every byte that is a control character shown as "?".
std::string ReadableWorkshopID(std::string_view bytes) {
  std::string text;
  for (char byte : bytes) {
    const std::string character = AnsiToUtf8(std::string_view(&byte, 1));
    text += HasControlCharacter(character) ? "?" : character;
  }
  return text;
}

// Whether the text of the workshop ID gives back all 7 bytes of its field.
bool TextGivesWorkshopIDBack(std::span<const uint8_t> field, const std::string& bytes, const std::string& text) {
  const bool zeroAfter = std::all_of(field.begin() + static_cast<std::ptrdiff_t>(bytes.size()), field.end(),
                                     [](uint8_t b) { return b == 0; });
  return zeroAfter && !HasControlCharacter(text) && Utf8ToAnsi(text) == bytes;
}

// The workshop ID field as the text cell shows it, and whether the bytes cell must be given beside
// it: when the text does not give the field back, or when a spreadsheet may rewrite the text.
struct TWorkshopIDCells {
  std::string text;
  bool bytesNeeded = false;
};

TWorkshopIDCells WorkshopIDCells(std::span<const uint8_t> field) {
  const std::string bytes(reinterpret_cast<const char*>(field.data()),
                          std::find(field.begin(), field.end(), uint8_t{0}) - field.begin());
  const std::string text = AnsiToUtf8(bytes);
  if (!TextGivesWorkshopIDBack(field, bytes, text)) return {ReadableWorkshopID(bytes), true};
  // A text that a spreadsheet turns into a value, or that looks like UTF-8 read in the code page
  // ("Ã¼", which import refuses without its bytes), gets its bytes too.
  return {text, SpreadsheetMayRewrite(text) || LooksDecodedTwice(text)};
}

// A whole number of digits only, at most max.
std::optional<uint32_t> ParseNumber(std::string_view text, uint32_t max) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > max) return std::nullopt;
  return static_cast<uint32_t>(value);
}

const TImportCell& Needed(const std::optional<TImportCell>& cell, std::string_view name, std::size_t line) {
  if (!cell) throw TImportError(line, "no " + QuotedValue(name) + "; add it, as export writes it");
  return *cell;
}


uint8_t ParseCode(const TImportCell& cell, std::string_view name) {
  const auto value = ParseNumber(cell.text, 255);
  if (!value) throw TImportError(cell.line, std::string(name) + " " + QuotedValue(cell.text) + " is not a whole number from 0 to 255");
  return static_cast<uint8_t>(*value);
}

TBuffer ParseBytes(const TImportCell& cell, std::string_view name, std::size_t size, std::string_view what) {
  auto bytes = ParseHexCell(cell.text, size);
  if (!bytes) {
    throw TImportError(cell.line, std::string(name) + " " + QuotedValue(cell.text) + " is not " + std::string(what) +
                                      " of hex");
  }
  return *bytes;
}

// The head's reserved byte: two hex digits, or one, as a spreadsheet leaves "05" after it took it
// for the number 5.
uint8_t ParseReservedByte(const TImportCell& cell) {
  const std::string_view text = TrimmedSpaces(cell.text);
  if (text.size() == 1) return ParseBytes({"0" + std::string(text), cell.line}, column::kReserved, 1, "1 byte")[0];
  return ParseBytes(cell, column::kReserved, 1, "1 byte")[0];
}

// "2024-03-14" (four digits, two, two) or, as the lists and the editor write it, "14.3.2024"; a
// calendar date either way, the year in four digits: a spreadsheet that saves "21.01.2023" as
// "21.01.23" has dropped the century, which must not come back as the year 23.
void PutDate(const TImportCell& cell, TBuffer& rec) {
  const std::string_view t = cell.text;
  const auto invalid = [&] {
    return TImportError(cell.line, "Date " + QuotedValue(t) + " is not a calendar date written YYYY-MM-DD (or D.M.YYYY)");
  };
  if (t.empty()) throw TImportError(cell.line, "Date is empty; write the date as YYYY-MM-DD");
  TCalendarDate date;
  if (t.find('.') != std::string_view::npos) {
    const std::string_view year = t.substr(t.rfind('.') + 1);
    if (!year.empty() && year.size() < 4 && std::all_of(year.begin(), year.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      throw TImportError(cell.line, "Date " + QuotedValue(t) + " has a year of " + std::to_string(year.size()) +
                                        (year.size() == 1 ? " digit" : " digits") +
                                        "; write the year in full (YYYY-MM-DD or D.M.YYYY): a spreadsheet that saves "
                                        "dates with short years drops the century");
    }
    if (year.size() != 4) throw invalid();
    try {
      date = ParseDateText(t);
    } catch (const ETarveloError&) {
      throw invalid();
    }
  } else {
    if (t.size() != 10 || t[4] != '-' || t[7] != '-') throw invalid();
    const auto year = ParseNumber(t.substr(0, 4), 9999);
    const auto month = ParseNumber(t.substr(5, 2), 99);
    const auto day = ParseNumber(t.substr(8, 2), 99);
    if (!year || !month || !day) throw invalid();
    date = {static_cast<int>(*day), static_cast<int>(*month), static_cast<int>(*year)};
    if (!IsCalendarDate(date.day, date.month, date.year)) throw invalid();
  }
  rec[kOffDay] = static_cast<uint8_t>(date.day);
  rec[kOffMonth] = static_cast<uint8_t>(date.month);
  StoreBigEndian16(&rec[kOffYear], static_cast<uint16_t>(date.year));
}

// A text cell and the bytes cell beside it that say different things: a spreadsheet rewrote the
// text, or the text was edited and the bytes were left. Neither is taken without the user's word.
TImportError Disagreement(const TImportCell& text, std::string_view textColumn, const TImportCell& bytes,
                          std::string_view bytesColumn, const std::string& bytesText) {
  return TImportError(text.line, std::string(textColumn) + " " + QuotedValue(text.text) + " does not match " +
                                     std::string(bytesColumn) + " " + QuotedValue(bytes.text) + ", which is " +
                                     QuotedValue(bytesText) + " (a spreadsheet may have rewritten the text, or it was "
                                     "edited without the bytes): to take " + QuotedValue(text.text) + ", clear the " +
                                     std::string(bytesColumn) + " cell; to keep " + QuotedValue(bytesText) +
                                     ", clear the " + std::string(textColumn) + " cell");
}

void PutWorkshopIDText(const TImportCell& cell, TBuffer& rec) {
  const std::string name = "Workshop ID " + QuotedValue(cell.text);
  if (const std::optional<std::string> refused = FirstCharacterOutsideCodePage(cell.text)) {
    throw TImportError(cell.line, name + " holds " + QuotedValue(*refused) + ", which the code page cannot hold");
  }
  const std::string bytes = Utf8ToAnsi(cell.text);
  if (bytes.size() > kWorkshopIDSize) {
    throw TImportError(cell.line, name + " takes " + std::to_string(bytes.size()) + " bytes in the code page, at most " +
                                      std::to_string(kWorkshopIDSize) + " fit");
  }
  if (bytes.find('\0') != std::string::npos) {
    throw TImportError(cell.line, name + " holds a zero character; give its bytes in \"Workshop ID bytes\"");
  }
  if (LooksDecodedTwice(cell.text)) {
    throw TImportError(cell.line, name + " looks like " + QuotedValue(Utf8ToAnsi(cell.text)) +
                                      " read in the wrong character set (UTF-8 read as Western 8-bit text); open the "
                                      "file that export wrote again as \"Unicode (UTF-8)\", or give the ID's bytes "
                                      "in \"Workshop ID bytes\"");
  }
  std::memcpy(&rec[kOffWorkshopID], bytes.data(), bytes.size());
}

void ExpectText(const std::optional<TImportCell>& cell, std::string_view name, const std::string& expected,
                const std::string& ofWhat) {
  if (!CellGiven(cell) || cell->text == expected) return;
  throw TImportError(cell->line, std::string(name) + " " + QuotedValue(cell->text) + " is not the text of " + ofWhat + " (" +
                                     QuotedValue(expected) + ")");
}

}  // namespace

std::string QuotedValue(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    const auto b = static_cast<uint8_t>(c);
    if (b < 0x20 || b == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", b);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string_view TrimmedSpaces(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

bool CellGiven(const std::optional<TImportCell>& cell) { return cell && !cell->text.empty(); }

TExportEntry ExportEntry(const TBuffer& rec, std::size_t row, std::size_t rowCount) {
  TExportEntry e;
  e.number = rowCount - row;
  e.date = DateCell(Day(rec), Month(rec), Year(rec));
  if (!IsCalendarDate(Day(rec), Month(rec), Year(rec))) e.dateBytes = BytesToSpacedHexText(std::span(rec).subspan(kOffDay, kDateSize));
  e.km = KMStand(rec);
  e.workshopType = WorkshopTypeText(WorkshopTYP(rec));
  e.workshopTypeCode = WorkshopTYP(rec);
  const auto field = std::span(rec).subspan(kOffWorkshopID, kWorkshopIDSize);
  const TWorkshopIDCells id = WorkshopIDCells(field);
  e.workshopID = id.text;
  if (id.bytesNeeded) e.workshopIDBytes = BytesToSpacedHexText(field);
  e.status = ServiceStatusText(SVCStatus(rec));
  e.statusCode = SVCStatus(rec);
  if (rec[kOffReserved] != 0) e.reserved = BytesToSpacedHexText(std::span(rec).subspan(kOffReserved, 1));
  for (std::size_t i = 0; i < ProcCount(rec); ++i) {
    TExportProcedure p;
    p.typeCode = ProcTYP(rec, i);
    p.serviceType = ProcedureTypeText(p.typeCode);
    p.statusCode = ProcStatus(rec, i);
    p.status = ProcedureStatusText(p.statusCode);
    const auto reserved = std::span(rec).subspan(ProcedureOffset(i) + kOffProcReserved, kProcedureReservedSize);
    if (std::any_of(reserved.begin(), reserved.end(), [](uint8_t b) { return b != 0; })) p.reserved = BytesToSpacedHexText(reserved);
    e.procedures.push_back(std::move(p));
  }
  return e;
}

TBuffer ImportEntry(const TImportEntry& entry) {
  const std::size_t n = entry.procedures.size();
  if (n > kMaxProcedures) {
    throw TImportError(entry.line, std::to_string(n) + " procedures, at most " + std::to_string(kMaxProcedures) +
                                       " fit in an entry");
  }
  TBuffer rec(RecordSize(n), 0);
  if (CellGiven(entry.dateBytes)) {
    const TBuffer date = ParseBytes(*entry.dateBytes, column::kDateBytes, kDateSize, "4 bytes (day, month, year)");
    std::copy(date.begin(), date.end(), rec.begin() + kOffDay);
    const std::string shown = DateCell(Day(rec), Month(rec), Year(rec));
    if (CellGiven(entry.date) && entry.date->text != shown) {
      throw Disagreement(*entry.date, column::kDate, *entry.dateBytes, column::kDateBytes, shown);
    }
  } else {
    PutDate(Needed(entry.date, column::kDate, entry.line), rec);
  }
  const TImportCell& km = Needed(entry.km, column::kKM, entry.line);
  const auto kmValue = ParseNumber(km.text, UINT32_MAX);
  if (!kmValue) throw TImportError(km.line, "KM " + QuotedValue(km.text) + " is not a whole number from 0 to 4294967295");
  StoreBigEndian32(&rec[kOffKMStand], *kmValue);
  if (CellGiven(entry.reserved)) rec[kOffReserved] = ParseReservedByte(*entry.reserved);

  const TImportCell& typeCode = Needed(entry.workshopTypeCode, column::kWorkshopTypeCode, entry.line);
  rec[kOffWorkshopTYP] = ParseCode(typeCode, column::kWorkshopTypeCode);
  ExpectText(entry.workshopType, column::kWorkshopType, WorkshopTypeText(rec[kOffWorkshopTYP]),
             "Workshop type code " + typeCode.text);
  if (CellGiven(entry.workshopIDBytes)) {
    const TBuffer id = ParseBytes(*entry.workshopIDBytes, column::kWorkshopIDBytes, kWorkshopIDSize, "7 bytes");
    std::copy(id.begin(), id.end(), rec.begin() + kOffWorkshopID);
    const std::string shown = WorkshopIDCells(id).text;
    if (CellGiven(entry.workshopID) && entry.workshopID->text != shown) {
      throw Disagreement(*entry.workshopID, column::kWorkshopID, *entry.workshopIDBytes, column::kWorkshopIDBytes, shown);
    }
  } else {
    PutWorkshopIDText(Needed(entry.workshopID, column::kWorkshopID, entry.line), rec);
  }
  const TImportCell& statusCode = Needed(entry.statusCode, column::kStatusCode, entry.line);
  rec[kOffSVCStatus] = ParseCode(statusCode, column::kStatusCode);
  ExpectText(entry.status, column::kStatus, ServiceStatusText(rec[kOffSVCStatus]), "Status code " + statusCode.text);

  if (!entry.proceduresGiven) {
    throw TImportError(entry.line, "no " + QuotedValue(column::kProcedures) + "; add it, as export writes it (an empty list "
                                   "for an entry without procedures)");
  }
  rec[kOffProcCount] = static_cast<uint8_t>(n);
  ExpectText(entry.count, column::kCount, std::to_string(n), "the number of procedures");
  for (std::size_t i = 0; i < n; ++i) {
    const TImportProcedure& p = entry.procedures[i];
    const std::string which = "procedure " + std::to_string(i + 1) + "'s ";
    const TImportCell& type = Needed(p.typeCode, which + std::string(procedure_key::kTypeCode), p.line);
    const TImportCell& status = Needed(p.statusCode, which + std::string(procedure_key::kStatusCode), p.line);
    const std::size_t item = ProcedureOffset(i);
    rec[item + kOffProcTYP] = ParseCode(type, which + "type code");
    rec[item + kOffProcStatus] = ParseCode(status, which + "status code");
    ExpectText(p.serviceType, which + "service type", ProcedureTypeText(rec[item + kOffProcTYP]), "type code " + type.text);
    ExpectText(p.status, which + "status", ProcedureStatusText(rec[item + kOffProcStatus]), "status code " + status.text);
    if (CellGiven(p.reserved)) {
      const TBuffer reserved = ParseBytes(*p.reserved, which + "reserved bytes", kProcedureReservedSize, "6 bytes");
      std::copy(reserved.begin(), reserved.end(), rec.begin() + static_cast<std::ptrdiff_t>(item + kOffProcReserved));
    }
  }
  return rec;
}

TImportEntry EntryCells(std::size_t line, const TCellLookup& cell) {
  TImportEntry entry;
  entry.line = line;
  entry.date = cell(column::kDate);
  entry.km = cell(column::kKM);
  entry.workshopType = cell(column::kWorkshopType);
  entry.workshopTypeCode = cell(column::kWorkshopTypeCode);
  entry.workshopID = cell(column::kWorkshopID);
  entry.status = cell(column::kStatus);
  entry.statusCode = cell(column::kStatusCode);
  entry.count = cell(column::kCount);
  entry.dateBytes = cell(column::kDateBytes);
  entry.reserved = cell(column::kReserved);
  entry.workshopIDBytes = cell(column::kWorkshopIDBytes);
  return entry;
}
