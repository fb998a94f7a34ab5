#pragma once
// Hexadecimal texts at the edge of the diagnostic exchange.

#include <optional>
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

// A request typed by hand (`tarvelo-cli request`): the target's and the request's hex texts are
// converted as one text, target first, as above; the first byte is the target, the rest the request.
// nullopt when the texts do not hold even the target's byte.
struct THexRequest {
  uint8_t target = 0;
  TBuffer request;
};
std::optional<THexRequest> HexRequest(std::string_view target, std::string_view request);
