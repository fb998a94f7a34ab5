#pragma once
// The one error type that the core raises towards the user: a file that cannot be read or
// created, a text that is not a valid integer or date. It carries the exact text the user sees;
// the desktop program's error report and the CLI both show it through ErrorReportText.

#include <stdexcept>
#include <string>

class ETarveloError : public std::runtime_error {
 public:
  explicit ETarveloError(const std::string& text) : std::runtime_error(text) {}
};

// The text as the error report shows it: a full stop is appended when the code of the last
// character is above that of "." (so "...file." and "...1.2" stay as they are, "...directory"
// gets one).
std::string ErrorReportText(const std::string& text);
