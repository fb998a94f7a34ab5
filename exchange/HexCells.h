#pragma once
// Raw bytes in a cell of a spreadsheet or a JSON text: upper-case hex pairs with a space between
// them ("41 00 42", as BytesToSpacedHexText writes them), so that a spreadsheet program keeps the
// cell as text and its leading zeros. Read back here.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "history/Bytes.h"

// The bytes of a hex cell, strictly: pairs of hex digits (either case), spaces anywhere between
// pairs; nullopt for anything else, an odd digit or a count other than size.
std::optional<TBuffer> ParseHexCell(std::string_view text, std::size_t size);
