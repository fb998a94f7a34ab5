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

// --- Texts of the main window's entries list and procedures list ---

std::string WorkshopTypeText(uint8_t code);     // "Independent", "BMW Service", else "UNKNOWN"
std::string ServiceStatusText(uint8_t code);    // "ON TIME", "LATE", "INCOMPLETE", else "UNKNOWN(n)"
std::string ProcedureTypeText(uint8_t code);    // "Engine oil" ... "Vehicle check", else "UNKNOWN(n)"
std::string ProcedureStatusText(uint8_t code);  // "ON TIME", "LATE", "OVERDUE", else "UNKNOWN(n)"

// --- The editor's drop-down lists, their positions and their codes ---

inline constexpr std::size_t kProcedureTypeCount = 14;

// The procedure type drop-down, in order; the position gives the stored code.
inline constexpr std::array<std::string_view, kProcedureTypeCount> kProcedureTypeItems = {
    "Engine oil",
    "Front Brake",
    "Brake fluid",
    "Micro-filter",
    "Recirculating air filter",
    "Rear Brake",
    "Spark plugs",
    "Air filter element",
    "Fuel filter",
    "Pre-delivery inspection",
    "Service - running in check",
    "Statutory vehicle inspection",
    "Statutory emissions test",
    "Vehicle check",
};

inline constexpr std::array<std::string_view, 3> kServiceStatusItems = {"ON TIME", "LATE", "INCOMPLETE"};
inline constexpr std::array<std::string_view, 2> kWorkshopTypeItems = {"INDEPENDENT", "BMW DEALER"};
inline constexpr std::array<std::string_view, 3> kProcedureStatusItems = {"ON TIME", "LATE", "OVERDUE"};

// Stored code for a position of the procedure type drop-down (0..13): p + 1 for 0..5, p + 4 for
// 6..8, p + 11 for 9 and 10, p + 21 for 11 and 12, 100 for 13. Throws std::out_of_range otherwise.
uint8_t ProcedureCodeFromListPosition(int position);

// The table's name of a procedure type code, or nullopt for a code outside the table.
std::optional<std::string_view> ProcedureTypeName(uint8_t code);

// The editor's "Procedure" column: the name, or "UNKNOWN" for a code outside the table.
std::string EditorProcedureTypeText(uint8_t code);

// The editor's "Status" column: "1 ON TIME", "2 LATE", "3 OVERDUE", else "0 UNKNOWN(n)".
std::string EditorProcedureStatusText(uint8_t code);

// The "Status" text of a row added from the procedure status drop-down at position 0..2.
std::string EditorProcedureStatusTextForPosition(int position);

// The procedure status that a "Status" row text stores: the number its first character forms, so
// "0 UNKNOWN(9)" stores 0. Throws TarveloError ("'x' is not a valid integer value") when the first
// character is not a digit.
uint8_t ProcedureStatusFromRowText(std::string_view rowText);

// Drop-down positions of stored codes (-1: the list shows no selection) and back.
int WorkshopTypeListPosition(uint8_t code);    // code 0 and 1 are positions 0 and 1
uint8_t WorkshopTypeCode(int position);        // no selection stores 255
int ServiceStatusListPosition(uint8_t code);   // code - 1 for 1..3
uint8_t ServiceStatusCode(int position);       // position + 1; no selection stores 0
