#include "ui/EntriesModel.h"

#include "book/CodeTexts.h"
#include "history/RecordTexts.h"
#include "ui/HistoryModel.h"

Qt::Alignment ToQtAlignment(TTextAlignment alignment) {
  switch (alignment) {
    case TTextAlignment::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case TTextAlignment::Center: return Qt::AlignHCenter | Qt::AlignVCenter;
    case TTextAlignment::Left: break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

TEntriesModel::TEntriesModel(const THistoryModel& history, QObject* parent)
    : QAbstractTableModel(parent), history_(history) {
  connect(&history_, &QAbstractItemModel::modelReset, this, &TEntriesModel::Refresh);
  connect(&history_, &QAbstractItemModel::rowsInserted, this, &TEntriesModel::Refresh);
  connect(&history_, &QAbstractItemModel::rowsRemoved, this, &TEntriesModel::Refresh);
  connect(&history_, &QAbstractItemModel::dataChanged, this, &TEntriesModel::Refresh);
}

void TEntriesModel::Refresh() {
  beginResetModel();
  rows_ = history_.Count();
  endResetModel();
}

void TEntriesModel::Clear() {
  beginResetModel();
  rows_ = 0;
  endResetModel();
}

int TEntriesModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int TEntriesModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(kEntryColumnCount);
}

QVariant TEntriesModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_ || index.row() >= history_.Count()) return {};
  const auto column = static_cast<std::size_t>(index.column());
  if (role == Qt::DisplayRole) {
    const auto shown = static_cast<TEntryColumn>(column);
    const std::string text = EntryCellText(history_.Entry(index.row()), static_cast<std::size_t>(index.row()),
                                           static_cast<std::size_t>(rows_), shown);
    // The code tables' words in the program's language; dates, numbers and workshop IDs as they are.
    if (shown == TEntryColumn::WorkshopType || shown == TEntryColumn::Status) return CodeText(text);
    return QString::fromStdString(text);
  }
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(ToQtAlignment(kEntryColumnAlignments[column]));
  return {};
}

QVariant TEntriesModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(kEntryColumnCount)) return {};
  const auto column = static_cast<std::size_t>(section);
  if (role == Qt::DisplayRole) {
    return ColumnCaption(kEntryColumnCaptions[column]);
  }
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(ToQtAlignment(kEntryColumnAlignments[column]));
  return {};
}
