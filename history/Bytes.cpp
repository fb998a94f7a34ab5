#include "history/Bytes.h"

#include <bit>
#include <cstring>

namespace {

constexpr bool kLittleEndianHost = std::endian::native == std::endian::little;
constexpr char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

uint16_t LoadBigEndian16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, sizeof v);
  return kLittleEndianHost ? Swap16(v) : v;
}

uint32_t LoadBigEndian32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return kLittleEndianHost ? Swap32(v) : v;
}

void StoreBigEndian16(uint8_t* p, uint16_t v) {
  if (kLittleEndianHost) v = Swap16(v);
  std::memcpy(p, &v, sizeof v);
}

void StoreBigEndian32(uint8_t* p, uint32_t v) {
  if (kLittleEndianHost) v = Swap32(v);
  std::memcpy(p, &v, sizeof v);
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string BytesToHexText(std::span<const uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    text += kHexDigits[b >> 4];
    text += kHexDigits[b & 0x0F];
  }
  return text;
}

std::string BytesToHexText(std::string_view bytes) {
  return BytesToHexText(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

std::string BytesToSpacedHexText(std::span<const uint8_t> bytes) {
  std::string text;
  text.reserve(bytes.size() * 3);
  for (uint8_t b : bytes) {
    if (!text.empty()) text += ' ';
    text += kHexDigits[b >> 4];
    text += kHexDigits[b & 0x0F];
  }
  return text;
}

std::string BytesToSpacedHexText(std::string_view bytes) {
  return BytesToSpacedHexText(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}
