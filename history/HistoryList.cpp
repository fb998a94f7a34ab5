#include "history/HistoryList.h"

bool IsListIndex(const THistoryList& list, int index) {
  return index >= 0 && static_cast<std::size_t>(index) < list.size();
}

void InsertEntryAtFront(THistoryList& list, const TBuffer& entry) { list.insert(list.begin(), entry); }

void ReplaceEntryAt(THistoryList& list, int index, const TBuffer& entry) {
  if (IsListIndex(list, index)) {
    list[static_cast<std::size_t>(index)] = entry;
  } else {
    list.push_back(entry);
  }
}

bool RemoveEntryAt(THistoryList& list, int index) {
  if (!IsListIndex(list, index)) return false;
  list.erase(list.begin() + index);
  return true;
}
