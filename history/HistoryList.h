#pragma once
// Operations on the history list: index 0 is the top row of the main window's entries list.
// Every element is a whole entry and owns its bytes; the operations copy what they are given.

#include <vector>

#include "history/ServiceRecord.h"

// The service history: index 0 is the newest entry, the top row of the entries list.
using THistoryList = std::vector<TBuffer>;

// Inserts a copy of entry at index 0; the former elements move down by one.
void InsertEntryAtFront(THistoryList& list, const TBuffer& entry);

// Replaces the element at index with a copy of entry, so that the entry keeps its place. When
// index is not an index of the list, nothing is removed and the copy is appended at the end.
void ReplaceEntryAt(THistoryList& list, int index, const TBuffer& entry);

// Removes the element at index; the later elements move up by one. Returns false (and changes
// nothing) when index is not an index of the list.
bool RemoveEntryAt(THistoryList& list, int index);

bool IsListIndex(const THistoryList& list, int index);
