#include "history/TarveloError.h"

std::string ErrorReportText(const std::string& text) {
  // Compared as unsigned bytes: a text ending in a UTF-8 character (bytes 0x80 and above) gets the
  // full stop too, as the character's code is above that of ".".
  if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) {
    return text + ".";
  }
  return text;
}
