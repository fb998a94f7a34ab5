#include "ProceduresModel.h"

#include "RecordTexts.h"

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
  return QString::fromStdString(ProcedureCellText(entry_, static_cast<std::size_t>(index.row()),
                                                  static_cast<ProcedureColumn>(index.column())));
}

QVariant TProceduresModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= static_cast<int>(kProcedureColumnCount)) {
    return {};
  }
  const std::string_view caption = kProcedureColumnCaptions[static_cast<std::size_t>(section)];
  return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}
