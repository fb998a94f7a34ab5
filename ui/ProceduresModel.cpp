#include "ui/ProceduresModel.h"

#include "book/CodeTexts.h"
#include "history/RecordTexts.h"

void TProceduresModel::ShowEntry(const TBuffer& entry) {
  beginResetModel();
  entry_ = entry;
  endResetModel();
}

void TProceduresModel::Clear() {
  beginResetModel();
  entry_.clear();
  endResetModel();
}

int TProceduresModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || !IsWellFormedRecord(entry_)) return 0;
  return ProcCount(entry_);
}

int TProceduresModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(kProcedureColumnCount);
}

QVariant TProceduresModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole) return {};
  const auto shown = static_cast<TProcedureColumn>(index.column());
  const std::string text = ProcedureCellText(entry_, static_cast<std::size_t>(index.row()), shown);
  return shown == TProcedureColumn::Number ? QString::fromStdString(text) : CodeText(text);
}

QVariant TProceduresModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= static_cast<int>(kProcedureColumnCount)) {
    return {};
  }
  return ColumnCaption(kProcedureColumnCaptions[static_cast<std::size_t>(section)]);
}
