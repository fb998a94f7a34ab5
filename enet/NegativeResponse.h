#pragma once
// The names of UDS (ISO 14229-1) negative response codes, for messages a person reads.

#include <cstdint>
#include <string>

// "incorrectMessageLengthOrInvalidFormat" for 0x13; reserved ranges by their range names.
std::string NegativeResponseName(uint8_t code);
