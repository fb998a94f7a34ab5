#pragma once
// The exchange's old reading of hex texts into bytes, kept for the tests' and benchmarks' frames
// (history/Bytes.h writes hex texts and reads the ones users type).

#include <string_view>

#include "history/Bytes.h"

// Hex text to bytes as the exchange once converted its requests: spaces are removed and either case
// is taken; the text gives length / 2 bytes (an odd last character is ignored), and conversion
// stops at the first pair that is not two hex digits, the bytes from there on staying zero. Nothing
// a user types goes through it any more (see ParseTypedHex in history/Bytes.h); the tests and
// benchmarks write their frames with it, always in well-formed hex.
TBuffer HexTextToBytes(std::string_view text);
