#include "ui/HeaderBar.h"

#include <QKeyEvent>
#include <QPainter>

namespace {
const QColor kFocusFrameColour(0x00, 0x78, 0xd7);
}  // namespace

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
  // The frame every control shows when it has the keyboard (the visual style's blue, dotted as the
  // check box's), around the command that Enter runs.
  painter->save();
  painter->setClipRect(rect);  // the section's own painting leaves a clip that would hide it
  painter->setPen(QPen(kFocusFrameColour, 1, Qt::DotLine));
  painter->setBrush(Qt::NoBrush);
  painter->drawRect(rect.adjusted(2, 2, -3, -3));
  painter->restore();
}
