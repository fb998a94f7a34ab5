#pragma once
// Why an import refuses its input: the line of the input where the trouble is, and the reason.

#include <cstddef>
#include <string>
#include <vector>

#include "history/TarveloError.h"

class TImportError : public ETarveloError {
 public:
  // what(): "Line 4: <reason>"
  TImportError(std::size_t line, const std::string& reason)
      : ETarveloError("Line " + std::to_string(line) + ": " + reason), line_(line) {}
  std::size_t Line() const { return line_; }

 private:
  friend class TImportRefusals;
  struct WholeText {};
  TImportError(WholeText, std::size_t line, const std::string& text) : ETarveloError(text), line_(line) {}
  std::size_t line_;
};

// The refusals of the entries of one input, so that all of them are told at once: a spreadsheet
// that rewrote five workshop IDs costs one round of corrections, not five.
class TImportRefusals {
 public:
  static constexpr std::size_t kMaxListed = 20;

  void Add(const TImportError& refusal) {
    if (listed_.size() < kMaxListed) {
      listed_.push_back(refusal);
    } else {
      ++more_;
    }
  }
  // Nothing when no entry was refused; one refusal as it is; several as one TImportError whose
  // what() holds each on a line of its own (at most kMaxListed, then how many more), and whose
  // Line() is the first one's.
  void ThrowIfAny() const {
    if (listed_.empty()) return;
    if (listed_.size() == 1 && more_ == 0) throw listed_.front();
    std::string text;
    for (const TImportError& refusal : listed_) text += (text.empty() ? "" : "\n") + std::string(refusal.what());
    if (more_ > 0) text += "\n... and " + std::to_string(more_) + " more entries refused";
    throw TImportError(TImportError::WholeText{}, listed_.front().Line(), text);
  }

 private:
  std::vector<TImportError> listed_;
  std::size_t more_ = 0;
};
