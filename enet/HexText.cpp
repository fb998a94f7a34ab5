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
