#include "exchange/HexCells.h"

std::optional<TBuffer> ParseHexCell(std::string_view text, std::size_t size) {
  std::string notUsed;  // a refusal names the cell and what it must hold instead
  std::optional<TBuffer> bytes = ParseTypedHex(text, notUsed);
  if (!bytes || bytes->size() != size) return std::nullopt;
  return bytes;
}
