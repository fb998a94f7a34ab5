#include "exchange/HexCells.h"

std::optional<TBuffer> ParseHexCell(std::string_view text, std::size_t size) {
  TBuffer bytes;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    if (i + 1 >= text.size()) return std::nullopt;
    const int high = HexDigitValue(text[i]);
    const int low = HexDigitValue(text[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<uint8_t>(high << 4 | low));
    i += 2;
  }
  if (bytes.size() != size) return std::nullopt;
  return bytes;
}
