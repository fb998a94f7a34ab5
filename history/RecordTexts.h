#pragma once
// The texts of an entry's fields, and the cells of the main window's two lists. The desktop
// program's list models and `tarvelo-cli show` both take their texts from here.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "history/ServiceRecord.h"
#include "history/Translatable.h"

// Field texts. They expect a well-formed record.
std::string DateText(const TBuffer& rec);         // day.month.year, no leading zeros: "1.2.2020"
std::string KMText(const TBuffer& rec);           // unsigned decimal, no separators
std::string WorkshopIDText(const TBuffer& rec);   // UTF-8, up to the first zero byte
std::string CountText(const TBuffer& rec);        // ProcCount in decimal

enum class TTextAlignment { Left, Right, Center };

// The entries list: one row per entry, numbered from the bottom (the top row of N entries is N).
enum class TEntryColumn { Number, Date, KMStand, WorkshopType, WorkshopID, Status, Count };
inline constexpr std::size_t kEntryColumnCount = 7;
inline constexpr std::array<std::string_view, kEntryColumnCount> kEntryColumnCaptions = {
    "#",
    TARVELO_TR_NOOP("Columns", "Date"),
    TARVELO_TR_NOOP("Columns", "KM stand"),
    TARVELO_TR_NOOP("Columns", "Workshop type"),
    TARVELO_TR_NOOP("Columns", "Workshop ID"),
    TARVELO_TR_NOOP("Columns", "Status"),
    TARVELO_TR_NOOP("Columns", "CNT")};
inline constexpr std::array<TTextAlignment, kEntryColumnCount> kEntryColumnAlignments = {
    TTextAlignment::Left,   TTextAlignment::Right,  TTextAlignment::Right, TTextAlignment::Center,
    TTextAlignment::Center, TTextAlignment::Center, TTextAlignment::Right};

// The text of one cell of the entries list for the entry at row `row` of a list of `rowCount`.
std::string EntryCellText(const TBuffer& rec, std::size_t row, std::size_t rowCount, TEntryColumn column);

// The procedures list of the selected entry: one row per procedure, numbered from 1 at the top.
enum class TProcedureColumn { Number, ServiceType, Status };
inline constexpr std::size_t kProcedureColumnCount = 3;
inline constexpr std::array<std::string_view, kProcedureColumnCount> kProcedureColumnCaptions = {
    "#", TARVELO_TR_NOOP("Columns", "SERVICE TYPE"), TARVELO_TR_NOOP("Columns", "STATUS")};

// The text of one cell of the procedures list for procedure k (0-based) of rec.
std::string ProcedureCellText(const TBuffer& rec, std::size_t k, TProcedureColumn column);
