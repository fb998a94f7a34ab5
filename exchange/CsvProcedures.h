#pragma once
// The CSV's two procedure cells. A CSV row is flat, so an entry's procedures stand in one cell as
// the procedures list shows them, each with its code, which a spreadsheet keeps as text:
//   "Engine oil (1): ON TIME (1); Micro-filter (4): ON TIME (1)"
// and their reserved bytes, when any is not zero, in a second cell, one item per procedure:
//   "00 00 00 00 00 00; 00 00 00 00 00 01"
// JSON holds the procedures as a list and needs neither.

#include <optional>
#include <string>
#include <vector>

#include "exchange/ExchangeEntry.h"

std::string ProceduresCell(const std::vector<TExportProcedure>& procedures);
// Empty when all reserved bytes are zero.
std::string ProcedureReservedCell(const std::vector<TExportProcedure>& procedures);

// The two cells back into procedures (a text may be left out: "(1): (1)"; the reserved cell is
// empty or holds an item for each procedure). Throws TImportError.
std::vector<TImportProcedure> ParseProcedureCells(const TImportCell& procedures, const std::optional<TImportCell>& reserved);
