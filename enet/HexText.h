#pragma once
// Hexadecimal texts at the edge of the diagnostic exchange.

#include <span>
#include <string>
#include <string_view>

#include "ServiceRecord.h"

// Bytes as upper-case hex, two digits per byte, high half first, no separators: "7101A080".
std::string BytesToHexText(std::span<const uint8_t> bytes);
std::string BytesToHexText(std::string_view bytes);

// Bytes as upper-case hex pairs with a space between them: "7F 31 13".
std::string BytesToSpacedHexText(std::span<const uint8_t> bytes);
std::string BytesToSpacedHexText(std::string_view bytes);

// A request's hex text to bytes, as the exchange converts it: spaces are removed and either case
// is taken; the text gives length / 2 bytes (an odd last character is ignored). Conversion stops
// at the first pair that is not two hex digits; the bytes from there on stay zero.
TBuffer HexTextToBytes(std::string_view text);
