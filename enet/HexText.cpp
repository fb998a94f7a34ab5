#include "HexText.h"

#include <algorithm>

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

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

std::string BytesToSpacedHexText(std::string_view bytes) {
  return BytesToSpacedHexText(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

std::string BytesToSpacedHexText(std::span<const uint8_t> bytes) {
  const std::string hex = BytesToHexText(bytes);
  std::string text;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    if (i > 0) text += ' ';
    text.append(hex, i, 2);
  }
  return text;
}

TBuffer HexTextToBytes(std::string_view text) {
  std::string clean;
  clean.reserve(text.size());
  for (char c : text) {
    if (c == ' ') continue;
    clean += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  TBuffer bytes(clean.size() / 2, 0);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const int high = HexDigitValue(clean[2 * i]);
    const int low = HexDigitValue(clean[2 * i + 1]);
    if (high < 0 || low < 0) break;
    bytes[i] = static_cast<uint8_t>(high << 4 | low);
  }
  return bytes;
}

std::optional<THexRequest> HexRequest(std::string_view target, std::string_view request) {
  std::string text(target);
  text += request;
  const TBuffer bytes = HexTextToBytes(text);
  if (bytes.empty()) return std::nullopt;
  return THexRequest{bytes[0], TBuffer(bytes.begin() + 1, bytes.end())};
}
