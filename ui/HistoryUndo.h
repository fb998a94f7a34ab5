#pragma once
// The changes of the history list that "Undo" (Ctrl+Z) takes back and "Redo" (Ctrl+Y) makes
// again: an entry added, edited or deleted, and the list cleared from the screen. Each command
// keeps the bytes it needs, so an undone edit gives the entry back byte for byte.
//
// They rely on the stack being the only way the list changes between "Open"s: the main window
// pushes every change through them and empties the stack when a file replaces the list.

#include <QUndoCommand>
#include <functional>

#include "history/ServiceRecord.h"

class THistoryModel;

// A new entry on top of the list.
QUndoCommand* AddEntryCommand(THistoryModel& history, TBuffer entry);
// The entry at row replaced by edited (row not in the list: edited added at the end, as the
// editor does when its entry went meanwhile).
QUndoCommand* EditEntryCommand(THistoryModel& history, int row, TBuffer edited);
// The entry at row deleted.
QUndoCommand* DeleteEntryCommand(THistoryModel& history, int row);
// "Clear": the lists on the screen emptied (the entries stay); undone, they show again.
QUndoCommand* ClearListCommand(std::function<void()> clear, std::function<void()> show);
