#pragma once
// Hexadecimal texts at the edge of the diagnostic exchange, read back into bytes (history/Bytes.h
// writes them).

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "history/Bytes.h"

// Hex text to bytes as the exchange once converted its requests: spaces are removed and either case
// is taken; the text gives length / 2 bytes (an odd last character is ignored), and conversion
// stops at the first pair that is not two hex digits, the bytes from there on staying zero. Nothing
// a user types goes through it any more (see ParseTypedHex); the tests and benchmarks write their
// frames with it, always in well-formed hex.
TBuffer HexTextToBytes(std::string_view text);

// Hex text a user typed (`tarvelo-cli request`): whole bytes of two hex digits each, either case,
// spaces allowed between bytes ("31 01 A0 80", "3101a080"). The bytes, or, when the text is no such
// thing, nullopt and the reason in words the user can act on (problem).
std::optional<TBuffer> ParseTypedHex(std::string_view text, std::string& problem);
