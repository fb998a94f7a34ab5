#pragma once
// TFEditor: the modeless editor of one service entry.

#include <QWidget>

class TFEditor : public QWidget {
  Q_OBJECT
 public:
  explicit TFEditor(QWidget* owner);
  ~TFEditor() override;

  bool CreateNew = false;  // true: "OK" adds a new entry; false: it replaces the entry at EntryID
  int EntryID = 9999;      // index in the history list of the edited entry; 9999 when adding
};

extern TFEditor* FEditor;
