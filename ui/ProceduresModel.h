#pragma once
// The procedures list's model: the procedures of the one selected entry (a copy of its bytes).

#include <QAbstractTableModel>

#include "history/ServiceRecord.h"

class TProceduresModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  using QAbstractTableModel::QAbstractTableModel;

  void ShowEntry(const TBuffer& entry);
  void Clear();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  TBuffer entry_;  // empty: no entry selected
};
