#pragma once
// The code tables of a service entry and their texts.
//
// The main window's lists and the editor render the same codes with different texts: the entries
// list says "BMW Service" where the editor's drop-down says "BMW DEALER", and a status outside the
// table reads "UNKNOWN(7)" in the lists but "0 UNKNOWN(7)" in the editor's procedures list.
// Every view shows a code outside its table instead of refusing the entry.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "history/Translatable.h"

// --- Texts of the main window's entries list and procedures list ---

std::string WorkshopTypeText(uint8_t code);     // "Independent", "BMW Service", else "UNKNOWN"
std::string ServiceStatusText(uint8_t code);    // "ON TIME", "LATE", "INCOMPLETE", else "UNKNOWN(n)"
std::string ProcedureTypeText(uint8_t code);    // "Engine oil" ... "Vehicle check", else "UNKNOWN(n)"
std::string ProcedureStatusText(uint8_t code);  // "ON TIME", "LATE", "OVERDUE", else "UNKNOWN(n)"

// --- The editor's drop-down lists, their positions and their codes ---

struct TProcedureType {
  uint8_t code;
  std::string_view name;
};

// The procedure types, in the order of the editor's drop-down: the position in this table is the
// position in the list, the code is what the entry stores.
inline constexpr std::array<TProcedureType, 14> kProcedureTypes = {{
    {1, TARVELO_TR_NOOP("CodeTables", "Engine oil")},
    {2, TARVELO_TR_NOOP("CodeTables", "Front Brake")},
    {3, TARVELO_TR_NOOP("CodeTables", "Brake fluid")},
    {4, TARVELO_TR_NOOP("CodeTables", "Micro-filter")},
    {5, TARVELO_TR_NOOP("CodeTables", "Recirculating air filter")},
    {6, TARVELO_TR_NOOP("CodeTables", "Rear Brake")},
    {10, TARVELO_TR_NOOP("CodeTables", "Spark plugs")},
    {11, TARVELO_TR_NOOP("CodeTables", "Air filter element")},
    {12, TARVELO_TR_NOOP("CodeTables", "Fuel filter")},
    {20, TARVELO_TR_NOOP("CodeTables", "Pre-delivery inspection")},
    {21, TARVELO_TR_NOOP("CodeTables", "Service - running in check")},
    {32, TARVELO_TR_NOOP("CodeTables", "Statutory vehicle inspection")},
    {33, TARVELO_TR_NOOP("CodeTables", "Statutory emissions test")},
    {100, TARVELO_TR_NOOP("CodeTables", "Vehicle check")},
}};

inline constexpr std::array<std::string_view, 3> kServiceStatusItems = {TARVELO_TR_NOOP("CodeTables", "ON TIME"), TARVELO_TR_NOOP("CodeTables", "LATE"), TARVELO_TR_NOOP("CodeTables", "INCOMPLETE")};
inline constexpr std::array<std::string_view, 2> kWorkshopTypeItems = {TARVELO_TR_NOOP("CodeTables", "INDEPENDENT"), TARVELO_TR_NOOP("CodeTables", "BMW DEALER")};
inline constexpr std::array<std::string_view, 3> kProcedureStatusItems = {TARVELO_TR_NOOP("CodeTables", "ON TIME"), TARVELO_TR_NOOP("CodeTables", "LATE"), TARVELO_TR_NOOP("CodeTables", "OVERDUE")};

// Stored code for a position of the procedure type drop-down (0..13). Throws std::out_of_range
// otherwise.
uint8_t ProcedureCodeFromListPosition(int position);

// The table's name of a procedure type code, or nullopt for a code outside the table.
std::optional<std::string_view> ProcedureTypeName(uint8_t code);

// The editor's "Procedure" column: the name, or "UNKNOWN" for a code outside the table.
std::string EditorProcedureTypeText(uint8_t code);

// The editor's "Status" column: "1 ON TIME", "2 LATE", "3 OVERDUE", else "0 UNKNOWN(n)".
std::string EditorProcedureStatusText(uint8_t code);

// The "Status" text of a row added from the procedure status drop-down at position 0..2.
std::string EditorProcedureStatusTextForPosition(int position);

// The procedure status an entry stores again for the status it was loaded with: the number the
// editor's "Status" text begins with, so 1 to 3 stay and every other status (shown as
// "0 UNKNOWN(9)") becomes 0.
uint8_t StoredProcedureStatus(uint8_t loaded);

// Drop-down positions of stored codes (-1: the list shows no selection) and back.
int WorkshopTypeListPosition(uint8_t code);    // code 0 and 1 are positions 0 and 1
uint8_t WorkshopTypeCode(int position);        // no selection stores 255
int ServiceStatusListPosition(uint8_t code);   // code - 1 for 1..3
uint8_t ServiceStatusCode(int position);       // position + 1; no selection stores 0
