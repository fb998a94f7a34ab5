#include "ui/WindowPlacement.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <limits>

void CenterOver(QWidget* window, const QWidget* owner) {
  QRect area;
  if (owner) {
    area = owner->frameGeometry();
  } else if (const QScreen* screen = window->screen()) {
    area = screen->availableGeometry();
  }
  window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}

void ShowModeless(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

namespace {

constexpr int kGap = 8;

long long Area(const QRect& r) { return r.isEmpty() ? 0 : static_cast<long long>(r.width()) * r.height(); }

}  // namespace

QPoint PlaceBeside(const QRect& screen, const QRect& main, const QRect& keepClear, const QList<QRect>& others,
                   const QSize& size) {
  // The places, in the order they are preferred, each at its top or under a window in its way.
  const int right = main.right() + 1 + kGap;
  const int left = main.left() - kGap - size.width();
  const int besideList = keepClear.right() + 1 + kGap;
  const int below = main.bottom() + 1 + kGap;
  const int above = main.top() - kGap - size.height();
  QList<QPoint> candidates;
  for (const int x : {right, left, besideList}) {
    candidates << QPoint(x, main.top());
    for (const QRect& other : others) candidates << QPoint(x, other.bottom() + 1 + kGap);
  }
  candidates << QPoint(main.left(), below) << QPoint(main.left(), above);

  const auto covered = [&](const QRect& frame) {
    long long area = Area(frame.intersected(keepClear));
    for (const QRect& other : others) area += Area(frame.intersected(other));
    return area;
  };
  QPoint best;
  long long leastCovered = std::numeric_limits<long long>::max();
  for (const QPoint& at : candidates) {
    QRect frame(at, size);
    if (!screen.contains(frame)) {
      // Kept on the screen, it may still do when nothing better is free.
      frame.moveLeft(std::clamp(frame.left(), screen.left(), std::max(screen.left(), screen.right() + 1 - frame.width())));
      frame.moveTop(std::clamp(frame.top(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - frame.height())));
    } else if (covered(frame) == 0) {
      return at;
    }
    if (const long long c = covered(frame); c < leastCovered) {
      leastCovered = c;
      best = frame.topLeft();
    }
  }
  return best;
}

TWindowPlacer::TWindowPlacer(QWidget& main, std::function<QRect()> keepClear, QObject* parent)
    : QObject(parent), main_(main), keepClear_(std::move(keepClear)) {}

void TWindowPlacer::Watch(QWidget& window) {
  windows_ << &window;
  window.installEventFilter(this);
}

bool TWindowPlacer::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) {
    auto* window = qobject_cast<QWidget*>(watched);
    if (window && windows_.contains(window) && !placed_.contains(window)) {
      placed_ << window;
      Place(*window);
    }
  }
  return QObject::eventFilter(watched, event);
}

void TWindowPlacer::Place(QWidget& window) {
  const QScreen* screen = main_.screen();
  if (!screen) return;
  QList<QRect> others;
  for (QWidget* other : windows_) {
    if (other != &window && other->isVisible()) others << other->frameGeometry();
  }
  // The window's frame is about as much bigger than its contents as the main window's is.
  const QSize decoration = main_.frameGeometry().size() - main_.geometry().size();
  const QPoint frameAt = PlaceBeside(screen->availableGeometry(), main_.frameGeometry(), keepClear_(), others,
                                     window.size() + decoration);
  window.move(frameAt);  // move() places the frame's corner
}
