#include "history/Bytes.h"

#include <bit>
#include <cstring>
#include <string>

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

std::optional<TBuffer> ParseTypedHex(std::string_view text, std::string& problem) {
  const std::string quoted = "\"" + std::string(text) + "\"";
  TBuffer bytes;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    // One group of digits between spaces: whole bytes only.
    std::size_t end = i;
    while (end < text.size() && text[end] != ' ') {
      const char c = text[end];
      if (HexDigitValue(c) < 0) {
        problem = quoted + " holds \"" + std::string(1, c) + "\" at character " + std::to_string(end + 1) +
                  ", which is no hex digit; write bytes as two digits 0-9 or A-F each, such as 3101A080";
        return std::nullopt;
      }
      ++end;
    }
    const std::string_view group = text.substr(i, end - i);
    if (group.size() % 2 != 0) {
      problem = quoted + " is not whole bytes: \"" + std::string(group) + "\" has " + std::to_string(group.size()) +
                (group.size() == 1 ? " hex digit" : " hex digits") + "; write two digits for every byte, such as 0A for 10";
      return std::nullopt;
    }
    for (std::size_t k = 0; k < group.size(); k += 2) {
      bytes.push_back(static_cast<uint8_t>(HexDigitValue(group[k]) << 4 | HexDigitValue(group[k + 1])));
    }
    i = end;
  }
  if (bytes.empty()) {
    problem = quoted + " holds no byte; write at least one, as two hex digits";
    return std::nullopt;
  }
  return bytes;
}
