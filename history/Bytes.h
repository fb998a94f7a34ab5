#pragma once
// Bytes: the buffer every layer passes around, big-endian numbers in it, and the two ways of
// writing bytes as hex text, and the reading of hex a user typed. The one home of byte order and
// of hex formatting.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

using TBuffer = std::vector<uint8_t>;  // one entry (a service record), a file's bytes, a frame

// 16- and 32-bit byte swaps; the only place where byte order is turned.
constexpr uint16_t Swap16(uint16_t v) { return static_cast<uint16_t>((v >> 8) | (v << 8)); }
constexpr uint32_t Swap32(uint32_t v) {
  return (v >> 24) | ((v >> 8) & 0x0000FF00u) | ((v << 8) & 0x00FF0000u) | (v << 24);
}

// Big-endian loads and stores at p, through the swaps above on little-endian machines.
uint16_t LoadBigEndian16(const uint8_t* p);
uint32_t LoadBigEndian32(const uint8_t* p);
void StoreBigEndian16(uint8_t* p, uint16_t v);
void StoreBigEndian32(uint8_t* p, uint32_t v);

// The value of one hex digit of either case ('0'-'9', 'A'-'F', 'a'-'f'), or -1 for any other character.
int HexDigitValue(char c);

// Bytes as upper-case hex, two digits per byte, high half first, no separators: "7101A080".
std::string BytesToHexText(std::span<const uint8_t> bytes);
std::string BytesToHexText(std::string_view bytes);

// Bytes as upper-case hex pairs with a space between them: "7F 31 13" (the log's bytes of the car,
// and the bytes cells of spreadsheets and JSON, which a spreadsheet program keeps as text).
std::string BytesToSpacedHexText(std::span<const uint8_t> bytes);
std::string BytesToSpacedHexText(std::string_view bytes);

// Hex text a user typed (`tarvelo-cli request`, a bytes cell of a spreadsheet): whole bytes of two hex digits each, either case,
// spaces allowed between bytes ("31 01 A0 80", "3101a080"). The bytes, or, when the text is no such
// thing, nullopt and the reason in words the user can act on (problem).
std::optional<TBuffer> ParseTypedHex(std::string_view text, std::string& problem);
