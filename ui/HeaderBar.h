#pragma once
// THeaderBar: the main window's header bar, whose sections are its commands ("Open", "Save As",
// ...). Clicked with the mouse as a header is; and from the keyboard: Tab brings it the focus,
// Left and Right (Home, End) move between the commands, Enter or Space runs the one with the
// focus frame. Either way it emits sectionClicked.

#include <QHeaderView>

class THeaderBar : public QHeaderView {
  Q_OBJECT
 public:
  explicit THeaderBar(QWidget* parent);

  int FocusedSection() const { return focused_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

 private:
  void MoveFocusTo(int section);

  int focused_ = 0;
};
