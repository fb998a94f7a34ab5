#include "WindowPlacement.h"

#include <QScreen>
#include <QWidget>

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
