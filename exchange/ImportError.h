#pragma once
// Why an import refuses its input: the line of the input where the trouble is, and the reason.

#include <cstddef>
#include <string>

#include "TarveloError.h"

class TImportError : public TarveloError {
 public:
  // what(): "Line 4: <reason>"
  TImportError(std::size_t line, const std::string& reason)
      : TarveloError("Line " + std::to_string(line) + ": " + reason), line_(line) {}
  std::size_t Line() const { return line_; }

 private:
  std::size_t line_;
};
