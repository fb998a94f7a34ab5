#pragma once
// Plain-text tables for the terminal: columns as wide as their widest cell, each aligned as the
// desktop program aligns the same column.

#include <string>
#include <string_view>
#include <vector>

#include "history/RecordTexts.h"

struct TTextColumn {
  std::string caption;
  TTextAlignment alignment = TTextAlignment::Left;
};

class TTextTableLayout {
 public:
  explicit TTextTableLayout(std::vector<TTextColumn> columns);

  // Widens the columns so that the cells of this row fit.
  void Fit(const std::vector<std::string>& cells);

  // One line: the cells padded to the column widths, two spaces apart, no trailing spaces.
  std::string FormatRow(const std::vector<std::string>& cells) const;
  std::string FormatHeader() const;

 private:
  std::vector<TTextColumn> columns_;
  std::vector<std::size_t> widths_;
};

// Width of UTF-8 text in characters.
std::size_t DisplayWidth(std::string_view utf8);
