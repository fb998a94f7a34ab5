#pragma once
// The entries list's model: one row per entry of the history list, texts from the history layer,
// computed when the view asks for them, so that a list of 100,000 entries shows at once.
// Refresh() rebuilds it as a whole; Clear() empties it and leaves the history list alone.

#include <QAbstractTableModel>

#include "HistoryFile.h"
#include "RecordTexts.h"

class TEntriesModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TEntriesModel(const THistoryList& list, QObject* parent = nullptr);

  void Refresh();
  void Clear();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const THistoryList& list_;
  std::size_t rows_ = 0;  // the entries shown since the last Refresh
};

// The Qt alignment of a history text column.
Qt::Alignment ToQtAlignment(TextAlignment alignment);
