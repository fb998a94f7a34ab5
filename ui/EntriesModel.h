#pragma once
// The entries list's model: the rows of the main window's entries list, over the history model.
// Its texts come from the history layer and are computed when the view asks, so a list of 100,000
// entries shows at once. Like a proxy model it follows its source by itself: every change of the
// history (a new list, an entry added, removed or edited) is followed by a Refresh, the list's
// "full rebuild", which shows all of it again. Clear empties the view and leaves the history alone.

#include <QAbstractTableModel>

#include "history/RecordTexts.h"

class THistoryModel;

class TEntriesModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TEntriesModel(const THistoryModel& history, QObject* parent = nullptr);

  void Refresh();  // shows every entry the history holds
  void Clear();    // shows none

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const THistoryModel& history_;
  int rows_ = 0;  // the entries shown since the last Refresh
};

// The Qt alignment of a history text column.
Qt::Alignment ToQtAlignment(TTextAlignment alignment);
