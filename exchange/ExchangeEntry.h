#pragma once
// One entry as the exchange formats hold it: the texts the windows show, the codes behind them,
// and the raw bytes that neither says (empty when there are none). CSV and JSON both write it from
// here and build their entries back through ImportEntry, so the rules are the same for both.
//
// Lossless: ImportEntry(cells of ExportEntry(rec)) gives rec's bytes back for every well-formed
// entry, with unknown codes, non-zero reserved bytes, dates that are no calendar date and every
// byte of the workshop ID field.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/ServiceRecord.h"

// The columns of the CSV and the keys of a JSON entry, in this order.
namespace column {
inline constexpr std::string_view kNumber = "#";  // as the list shows it; for reading, import keeps the row order
inline constexpr std::string_view kDate = "Date";  // YYYY-MM-DD; import also takes D.M.YYYY (4-digit years)
inline constexpr std::string_view kKM = "KM";
inline constexpr std::string_view kWorkshopType = "Workshop type";  // text, for reading
inline constexpr std::string_view kWorkshopTypeCode = "Workshop type code";
inline constexpr std::string_view kWorkshopID = "Workshop ID";
inline constexpr std::string_view kStatus = "Status";  // text, for reading
inline constexpr std::string_view kStatusCode = "Status code";
inline constexpr std::string_view kCount = "CNT";
// CSV: "Engine oil (1): ON TIME (1); Vehicle check (100): OVERDUE (3)", texts and codes; JSON: a list.
inline constexpr std::string_view kProcedures = "Procedures";
inline constexpr std::string_view kDateBytes = "Date bytes";            // day, month, year as in the entry, hex
inline constexpr std::string_view kReserved = "Reserved";               // the head's reserved byte, hex
inline constexpr std::string_view kWorkshopIDBytes = "Workshop ID bytes";  // all 7 bytes of the field, hex
inline constexpr std::string_view kProcedureReserved = "Procedure reserved";  // CSV only: 6 bytes per procedure
}  // namespace column

// The keys of one procedure in JSON.
namespace procedure_key {
inline constexpr std::string_view kServiceType = "Service type";
inline constexpr std::string_view kTypeCode = "Type code";
inline constexpr std::string_view kStatus = "Status";
inline constexpr std::string_view kStatusCode = "Status code";
inline constexpr std::string_view kReserved = "Reserved";
}  // namespace procedure_key

struct TExportProcedure {
  std::string serviceType;  // "Engine oil", "UNKNOWN(7)"
  uint8_t typeCode = 0;
  std::string status;  // "ON TIME", "UNKNOWN(9)"
  uint8_t statusCode = 0;
  std::string reserved;  // the item's 6 reserved bytes as hex, empty when all are zero
};

struct TExportEntry {
  std::size_t number = 0;
  std::string date;  // "2024-03-14"; a date that is no calendar date as its numbers, "2023-13-40"
  uint32_t km = 0;
  std::string workshopType;  // "BMW Service"
  uint8_t workshopTypeCode = 0;
  std::string workshopID;  // UTF-8 up to the first zero byte, control characters as "?"
  std::string status;      // "ON TIME"
  uint8_t statusCode = 0;
  std::vector<TExportProcedure> procedures;
  std::string dateBytes;        // 4 bytes of hex when the date is no calendar date, else empty
  std::string reserved;         // 1 byte of hex when not zero, else empty
  // 7 bytes of hex when the text does not give the field's bytes back, or when a spreadsheet may
  // rewrite the text (SpreadsheetText.h: "0042", "true", "12 €", "3/4", "=A1"), or when the text
  // looks like UTF-8 read in the code page ("Ã¼"); else empty
  std::string workshopIDBytes;
};

// The entry at row of a list of rowCount rows (the number as the entries list shows it).
TExportEntry ExportEntry(const TBuffer& rec, std::size_t row, std::size_t rowCount);

// A value as read, and the line of the input it stands on.
struct TImportCell {
  std::string text;
  std::size_t line = 0;
};

struct TImportProcedure {
  std::size_t line = 0;
  std::optional<TImportCell> typeCode, statusCode;  // needed
  std::optional<TImportCell> serviceType, status;   // when given, must be the codes' texts
  std::optional<TImportCell> reserved;              // 6 bytes of hex; zero when missing or empty
};

struct TImportEntry {
  std::size_t line = 0;  // where the entry starts
  // Needed.
  std::optional<TImportCell> date, km, workshopTypeCode, workshopID, statusCode;
  // When given and not empty, the texts must be those of the codes, the count that of the procedures.
  std::optional<TImportCell> workshopType, status, count;
  // Raw bytes; when given and not empty they give the bytes (date, workshop ID) or the reserved byte
  // (one or two hex digits). A date or workshop ID text given beside its bytes must be the text
  // export writes for them; else the entry is refused, as a spreadsheet may have rewritten the
  // text or the user edited it and left the bytes.
  std::optional<TImportCell> dateBytes, reserved, workshopIDBytes;
  std::vector<TImportProcedure> procedures;
  bool proceduresGiven = true;  // false: the input has no procedures at all (not even an empty list)
};

// The entry's bytes. Throws TImportError ("Line 4: ...", with what to do) for the first value that
// breaks a rule: among them a date whose year has fewer than four digits, a text and bytes that
// disagree, and a workshop ID without bytes that looks like UTF-8 read in the code page ("MÃ¼ller").
TBuffer ImportEntry(const TImportEntry& entry);

// The entry's cells, each looked up by its column's name (nullopt: the column is not there); the
// procedures are the format's own and are left to the caller.
using TCellLookup = std::function<std::optional<TImportCell>(std::string_view column)>;
TImportEntry EntryCells(std::size_t line, const TCellLookup& cell);

// For the formats' own cells and their refusals: a value in quotes, control bytes as \x00, so that
// a refusal stays one line of text; a cell without the spaces at either end; a cell that is there
// and not empty.
std::string QuotedValue(std::string_view text);
std::string_view TrimmedSpaces(std::string_view text);
bool CellGiven(const std::optional<TImportCell>& cell);
