// Any bytes as a history file: split them, render every text of every entry found, and join the
// entries back into exactly the bytes that were split.
#include <cstdint>
#include <cstdlib>

#include "HistoryFile.h"
#include "RecordTexts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const std::optional<THistoryList> list = SplitHistory(bytes);
  if (list.has_value() != CountHistoryEntries(bytes).has_value()) std::abort();
  if (!list) return 0;

  std::size_t chars = 0;
  for (std::size_t row = 0; row < list->size(); ++row) {
    const TBuffer& entry = (*list)[row];
    if (!IsWellFormedRecord(entry)) std::abort();
    for (std::size_t c = 0; c < kEntryColumnCount; ++c) {
      chars += EntryCellText(entry, row, list->size(), static_cast<EntryColumn>(c)).size();
    }
    for (std::size_t k = 0; k < ProcCount(entry); ++k) {
      for (std::size_t c = 0; c < kProcedureColumnCount; ++c) {
        chars += ProcedureCellText(entry, k, static_cast<ProcedureColumn>(c)).size();
      }
    }
  }
  if (chars == 0) std::abort();  // every entry has at least its date text

  const TBuffer joined = JoinHistory(*list);
  if (joined.size() != size || !std::equal(joined.begin(), joined.end(), data)) std::abort();
  return 0;
}
