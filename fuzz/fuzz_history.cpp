// Any bytes as a history file: split them, render every text of every entry found, join the
// entries back into exactly the bytes that were split, and build every entry again from its
// decoded fields, as the editor does.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "history/CodePage.h"
#include "history/CodeTables.h"
#include "history/HistoryFile.h"
#include "history/RecordTexts.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// The bytes the editor writes back for an entry: the reserved bytes zero, and the workshop ID
// without what follows its first zero byte.
TBuffer AsTheEditorBuildsIt(TBuffer entry) {
  entry[kOffReserved] = 0;
  const auto id = entry.begin() + kOffWorkshopID;
  const auto end = std::find(id, id + kWorkshopIDSize, 0);
  std::fill(end, id + kWorkshopIDSize, 0);
  for (std::size_t i = 0; i < ProcCount(entry); ++i) {
    const std::size_t item = kRecordHeadSize + kProcedureEntrySize * i;
    std::fill(entry.begin() + item + 2, entry.begin() + item + kProcedureEntrySize, 0);
  }
  return entry;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const std::optional<THistoryList> list = SplitHistory(bytes);
  Check(list.has_value() == CountHistoryEntries(bytes).has_value());
  if (!list) return 0;

  for (std::size_t row = 0; row < list->size(); ++row) {
    const TBuffer& entry = (*list)[row];
    Check(IsWellFormedRecord(entry));
    for (std::size_t c = 0; c < kEntryColumnCount; ++c) {
      Check(!EntryCellText(entry, row, list->size(), static_cast<TEntryColumn>(c)).empty() ||
            static_cast<TEntryColumn>(c) == TEntryColumn::WorkshopID);
    }
    for (std::size_t k = 0; k < ProcCount(entry); ++k) {
      for (std::size_t c = 0; c < kProcedureColumnCount; ++c) {
        Check(!ProcedureCellText(entry, k, static_cast<TProcedureColumn>(c)).empty());
      }
      EditorProcedureTypeText(ProcTYP(entry, k));
      Check(StoredProcedureStatus(ProcStatus(entry, k)) <= 3);
      Check(EditorProcedureStatusText(ProcStatus(entry, k))[0] == '0' + StoredProcedureStatus(ProcStatus(entry, k)));
    }
    // The editor's round trip: decode, build, the same bytes but for what it never keeps.
    Check(BuildServiceRecord(DecodeServiceRecord(entry)) == AsTheEditorBuildsIt(entry));
    const std::string id = WorkshopIDBytes(entry);
    Check(Utf8ToAnsi(AnsiToUtf8(id), kWorkshopIDSize) == id);
  }

  const TBuffer joined = JoinHistory(*list);
  Check(joined.size() == size && std::equal(joined.begin(), joined.end(), data));
  return 0;
}
