#pragma once
// Where the program's windows appear.

#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <functional>

class QWidget;

// Moves window so that it is centred over owner (or over its screen when there is no owner).
void CenterOver(QWidget* window, const QWidget* owner);

// Shows a window without making it modal, or brings it to the front when it is already shown.
void ShowModeless(QWidget* window);

// Where a window of frame size `size` goes beside the main window: to its right, to its left,
// over its right part beside the list it must not cover (keepClear), below it or above it, at the
// top of each place or under a window already there. The first place that lies wholly on the
// screen and touches neither keepClear nor any of `others` is taken; without one, the place on the
// screen that covers the least of them. Frames in global coordinates.
QPoint PlaceBeside(const QRect& screen, const QRect& main, const QRect& keepClear, const QList<QRect>& others,
                   const QSize& size);

// Places tool windows beside the main window the first time each is shown (later the user's
// place is kept): clear of the main window's list and of the other tool windows that are open.
class TWindowPlacer : public QObject {
  Q_OBJECT
 public:
  // keepClear: the frame, in global coordinates, of what the tool windows must not cover.
  TWindowPlacer(QWidget& main, std::function<QRect()> keepClear, QObject* parent = nullptr);
  void Watch(QWidget& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Place(QWidget& window);

  QWidget& main_;
  std::function<QRect()> keepClear_;
  QList<QWidget*> windows_;
  QList<QWidget*> placed_;
};
