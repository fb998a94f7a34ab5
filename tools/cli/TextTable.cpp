#include "tools/cli/TextTable.h"

#include <algorithm>

namespace {
constexpr std::string_view kColumnGap = "  ";
}

std::size_t DisplayWidth(std::string_view utf8) {
  // Count every byte that does not continue a multi-byte character.
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

TTextTableLayout::TTextTableLayout(std::vector<TTextColumn> columns) : columns_(std::move(columns)) {
  for (const TTextColumn& column : columns_) widths_.push_back(DisplayWidth(column.caption));
}

void TTextTableLayout::Fit(const std::vector<std::string>& cells) {
  for (std::size_t i = 0; i < cells.size() && i < widths_.size(); ++i) {
    widths_[i] = std::max(widths_[i], DisplayWidth(cells[i]));
  }
}

std::string TTextTableLayout::FormatRow(const std::vector<std::string>& cells) const {
  std::string line;
  for (std::size_t i = 0; i < widths_.size(); ++i) {
    const std::string& cell = i < cells.size() ? cells[i] : std::string();
    const std::size_t room = widths_[i] - std::min(widths_[i], DisplayWidth(cell));
    std::size_t before = 0;
    switch (columns_[i].alignment) {
      case TTextAlignment::Left: before = 0; break;
      case TTextAlignment::Right: before = room; break;
      case TTextAlignment::Center: before = room / 2; break;
    }
    if (i > 0) line += kColumnGap;
    line.append(before, ' ');
    line += cell;
    line.append(room - before, ' ');
  }
  line.erase(line.find_last_not_of(' ') + 1);
  return line;
}

std::string TTextTableLayout::FormatHeader() const {
  std::vector<std::string> captions;
  for (const TTextColumn& column : columns_) captions.push_back(column.caption);
  return FormatRow(captions);
}
