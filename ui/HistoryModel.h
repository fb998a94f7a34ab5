#pragma once
// THistoryModel: the service history the windows share, one row per entry, index 0 on top. It owns
// the list and announces every change the way Qt's models do: a new file as a reset, an added
// entry as an insert at row 0, a deleted one as a removal, an edited one as a change of its row.
// So a QPersistentModelIndex of an entry follows it through inserts and removals by itself, and
// becomes invalid when the entry goes (or a file replaces the list).

#include <QAbstractListModel>
#include <QPersistentModelIndex>

#include "history/HistoryList.h"

class THistoryModel : public QAbstractListModel {
  Q_OBJECT
 public:
  using QAbstractListModel::QAbstractListModel;

  // The list, index 0 on top (the list the file, the writer and the lists work from).
  const THistoryList& SHRecord() const { return list_; }
  const TBuffer& Entry(int row) const { return list_[static_cast<std::size_t>(row)]; }
  int Count() const { return static_cast<int>(list_.size()); }

  // A history file's entries replace the whole list.
  void ReplaceAll(THistoryList entries);
  // A new entry goes on top; the others move down by one.
  void InsertAtFront(TBuffer entry);
  // An edited entry takes its place again. When it is no longer in the list (deleted meanwhile,
  // or another file opened), the entry is added at the end rather than replacing another one.
  void Replace(const QPersistentModelIndex& entry, TBuffer edited);
  // Removes the entry at row; the later ones move up by one.
  void Remove(int row);
  // Puts an entry back at row (0 to Count()); the entries from there move down by one. What a
  // removal that is taken back needs.
  void InsertAt(int row, TBuffer entry);

  int rowCount(const QModelIndex& parent = {}) const override;
  // The entry's bytes (as a QByteArray) for Qt::UserRole; views take their texts elsewhere.
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  THistoryList list_;
};
