#include "ui/HistoryUndo.h"

#include <QCoreApplication>

#include "ui/HistoryModel.h"

namespace {

// A command made of its two directions.
class TListCommand : public QUndoCommand {
 public:
  TListCommand(const QString& text, std::function<void()> redo, std::function<void()> undo)
      : QUndoCommand(text), redo_(std::move(redo)), undo_(std::move(undo)) {}
  void redo() override { redo_(); }
  void undo() override { undo_(); }

 private:
  std::function<void()> redo_, undo_;
};

}  // namespace

QUndoCommand* AddEntryCommand(THistoryModel& history, TBuffer entry) {
  return new TListCommand(
      QCoreApplication::translate("TFMain", "Add"), [&history, entry] { history.InsertAtFront(entry); }, [&history] { history.Remove(0); });
}

QUndoCommand* EditEntryCommand(THistoryModel& history, int row, TBuffer edited) {
  if (row < 0 || row >= history.Count()) {
    return new TListCommand(
        QCoreApplication::translate("TFMain", "Edit"), [&history, edited] { history.InsertAt(history.Count(), edited); },
        [&history] { history.Remove(history.Count() - 1); });
  }
  TBuffer before = history.Entry(row);
  return new TListCommand(
      QCoreApplication::translate("TFMain", "Edit"), [&history, row, edited] { history.Replace(history.index(row), edited); },
      [&history, row, before] { history.Replace(history.index(row), before); });
}

QUndoCommand* DeleteEntryCommand(THistoryModel& history, int row) {
  TBuffer deleted = history.Entry(row);
  return new TListCommand(
      QCoreApplication::translate("TFMain", "Delete"), [&history, row] { history.Remove(row); },
      [&history, row, deleted] { history.InsertAt(row, deleted); });
}

QUndoCommand* ClearListCommand(std::function<void()> clear, std::function<void()> show) {
  return new TListCommand(QCoreApplication::translate("TFMain", "Clear"), std::move(clear), std::move(show));
}
