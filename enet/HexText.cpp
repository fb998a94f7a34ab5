#include "enet/HexText.h"

#include <algorithm>

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
