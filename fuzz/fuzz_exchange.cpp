// The exchange formats both ways. The input's first byte picks CSV (even) or JSON (odd), the rest
// is the text to import (in any separator and character set a spreadsheet saves): it is taken or
// refused with a TImportError, nothing else, and what is taken exports (in every separator) and
// imports again to the same bytes. The whole input is also tried as a history
// file: when it splits, both formats must give its bytes back.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "exchange/HistoryExchange.h"
#include "exchange/ImportError.h"
#include "history/HistoryFile.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void RoundTrip(const THistoryList& list) {
  const TBuffer bytes = JoinHistory(list);
  for (TExchangeFormat format : {TExchangeFormat::Csv, TExchangeFormat::Json}) {
    Check(JoinHistory(ImportHistory(ExportHistory(list, format), format)) == bytes);
  }
  for (char separator : {kCsvSemicolon, kCsvTab}) {
    Check(JoinHistory(ImportHistory(ExportHistory(list, TExchangeFormat::Csv, {separator}), TExchangeFormat::Csv)) == bytes);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const TExchangeFormat format = data[0] % 2 == 0 ? TExchangeFormat::Csv : TExchangeFormat::Json;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  try {
    RoundTrip(ImportHistory(text, format));
  } catch (const TImportError&) {
    // refused, with its line and reason
  }
  if (const std::optional<THistoryList> list = SplitHistory(std::span(data, size))) RoundTrip(*list);
  return 0;
}
