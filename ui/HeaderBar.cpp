#include "HeaderBar.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

THeaderBar::THeaderBar(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
  setFocusPolicy(Qt::TabFocus);
}

void THeaderBar::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left: MoveFocusTo(focused_ - 1); return;
    case Qt::Key_Right: MoveFocusTo(focused_ + 1); return;
    case Qt::Key_Home: MoveFocusTo(0); return;
    case Qt::Key_End: MoveFocusTo(count() - 1); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        emit sectionClicked(focused_);
        return;
      }
      break;
    default:
      break;
  }
  // Tab and everything else as any widget: the focus moves on, shortcuts reach the window.
  QWidget::keyPressEvent(event);
}

void THeaderBar::focusInEvent(QFocusEvent* event) {
  QHeaderView::focusInEvent(event);
  viewport()->update();
}

void THeaderBar::focusOutEvent(QFocusEvent* event) {
  QHeaderView::focusOutEvent(event);
  viewport()->update();
}

void THeaderBar::MoveFocusTo(int section) {
  if (count() == 0) return;
  focused_ = std::clamp(section, 0, count() - 1);
  viewport()->update();
}

void THeaderBar::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  QHeaderView::paintSection(painter, rect, logicalIndex);
  if (!hasFocus() || logicalIndex != focused_) return;
  // The frame every control shows when it has the keyboard, around the command that Enter runs.
  QStyleOptionFocusRect frame;
  frame.initFrom(this);
  frame.rect = rect.adjusted(2, 2, -2, -2);
  frame.backgroundColor = palette().color(QPalette::Button);
  painter->save();
  style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, painter, this);
  painter->restore();
}
