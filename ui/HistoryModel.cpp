#include "ui/HistoryModel.h"

void THistoryModel::ReplaceAll(THistoryList entries) {
  beginResetModel();
  list_ = std::move(entries);
  endResetModel();
}

void THistoryModel::InsertAtFront(TBuffer entry) {
  beginInsertRows({}, 0, 0);
  InsertEntryAtFront(list_, entry);
  endInsertRows();
}

void THistoryModel::Replace(const QPersistentModelIndex& entry, TBuffer edited) {
  if (entry.isValid() && entry.model() == this) {
    ReplaceEntryAt(list_, entry.row(), edited);
    emit dataChanged(index(entry.row()), index(entry.row()));
    return;
  }
  const int end = Count();
  beginInsertRows({}, end, end);
  list_.push_back(std::move(edited));
  endInsertRows();
}

void THistoryModel::Remove(int row) {
  if (!IsListIndex(list_, row)) return;
  beginRemoveRows({}, row, row);
  RemoveEntryAt(list_, row);
  endRemoveRows();
}

void THistoryModel::InsertAt(int row, TBuffer entry) {
  if (row < 0 || row > Count()) return;
  beginInsertRows({}, row, row);
  list_.insert(list_.begin() + row, std::move(entry));
  endInsertRows();
}

int THistoryModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Count(); }

QVariant THistoryModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= Count() || role != Qt::UserRole) return {};
  const TBuffer& entry = Entry(index.row());
  return QByteArray(reinterpret_cast<const char*>(entry.data()), static_cast<qsizetype>(entry.size()));
}
