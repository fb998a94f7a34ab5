#include "ui/Icons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor kInk(0x2b, 0x2b, 0x2b);
const QColor kBlue(0x00, 0x78, 0xd7);
const QColor kGreen(0x10, 0x7c, 0x10);
const QColor kRed(0xc4, 0x2b, 0x1c);
const QColor kAmber(0xe8, 0xa3, 0x17);

// A filled round badge with two white strokes on it (a plus, a cross).
void Badge(QPainter& p, const QColor& colour, const QLineF& first, const QLineF& second) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
  p.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(first);
  p.drawLine(second);
}

// Draws on a 24 x 24 grid, whatever the pixmap's size.
void Paint(QPainter& p, TIconId id) {
  p.setRenderHint(QPainter::Antialiasing);
  QPen pen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  switch (id) {
    case TIconId::Open: {
      p.setBrush(kAmber.lighter(130));
      p.drawPolygon(QPolygonF({{2.5, 6}, {9, 6}, {11, 8}, {21.5, 8}, {21.5, 19.5}, {2.5, 19.5}}));
      p.setBrush(kAmber);
      p.drawPolygon(QPolygonF({{2.5, 19.5}, {5.5, 11}, {23, 11}, {20, 19.5}}));
      break;
    }
    case TIconId::SaveAs: {
      p.setBrush(kBlue);
      p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(7, 3, 10, 6.5));
      p.drawRect(QRectF(6, 13, 12, 8));
      p.drawLine(QPointF(8.5, 16), QPointF(15.5, 16));
      break;
    }
    case TIconId::Clear: {
      p.setBrush(Qt::white);
      p.drawRect(QRectF(4, 3, 13, 17));
      for (double y : {7.0, 10.5, 14.0}) p.drawLine(QPointF(7, y), QPointF(14, y));
      QPen red(kRed, 2.4, Qt::SolidLine, Qt::RoundCap);
      p.setPen(red);
      p.drawLine(QPointF(14, 14), QPointF(21, 21));
      p.drawLine(QPointF(21, 14), QPointF(14, 21));
      break;
    }
    case TIconId::ReadFromCar:
    case TIconId::WriteToCar: {
      // A car seen from the side, with an arrow out of it (read) or into it (write).
      p.setBrush(QColor(0xdd, 0xe6, 0xf0));
      QPainterPath body;
      body.moveTo(2.5, 19);
      body.lineTo(2.5, 15);
      body.lineTo(6, 14);
      body.lineTo(9, 10.5);
      body.lineTo(16, 10.5);
      body.lineTo(19.5, 14);
      body.lineTo(21.5, 15);
      body.lineTo(21.5, 19);
      body.closeSubpath();
      p.drawPath(body);
      p.setBrush(kInk);
      p.drawEllipse(QPointF(7, 19.5), 2, 2);
      p.drawEllipse(QPointF(17, 19.5), 2, 2);
      QPen arrow(id == TIconId::WriteToCar ? kGreen : kBlue, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
      p.setPen(arrow);
      p.setBrush(Qt::NoBrush);
      const bool down = id == TIconId::WriteToCar;
      const double tip = down ? 9 : 1.5;
      const double tail = down ? 1.5 : 9;
      p.drawLine(QPointF(12, tail), QPointF(12, tip));
      const double wing = down ? tip - 3.5 : tip + 3.5;
      p.drawPolyline(QPolygonF({{8.5, wing}, {12, tip}, {15.5, wing}}));
      break;
    }
    case TIconId::InfoHelp: {
      p.setBrush(kBlue);
      p.setPen(Qt::NoPen);
      p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
      p.setBrush(Qt::white);
      p.drawEllipse(QPointF(12, 7.5), 1.6, 1.6);
      p.drawRoundedRect(QRectF(10.6, 10.5, 2.8, 8), 1, 1);
      break;
    }
    case TIconId::Add:
      Badge(p, kGreen, QLineF(12, 7, 12, 17), QLineF(7, 12, 17, 12));
      break;
    case TIconId::Edit: {
      p.setBrush(kAmber);
      p.drawPolygon(QPolygonF({{4, 20}, {5, 15.5}, {16, 4.5}, {19.5, 8}, {8.5, 19}}));
      p.drawLine(QPointF(14, 6.5), QPointF(17.5, 10));
      p.setBrush(kInk);
      p.drawPolygon(QPolygonF({{4, 20}, {4.6, 17.4}, {6.6, 19.4}}));
      break;
    }
    case TIconId::Delete:
      Badge(p, kRed, QLineF(8, 8, 16, 16), QLineF(16, 8, 8, 16));
      break;
    case TIconId::Application: {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0x1c, 0x3f, 0x6e));
      p.drawRoundedRect(QRectF(1, 1, 22, 22), 5, 5);
      p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QRectF(5, 5, 14, 14));
      p.drawPolyline(QPolygonF({{8.5, 12.5}, {11, 15}, {15.5, 9}}));
      break;
    }
  }
}

QPixmap Draw(TIconId id, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.scale(size / double(kIconSize), size / double(kIconSize));
  Paint(p, id);
  return pixmap;
}

}  // namespace

QIcon TarveloIcon(TIconId id) {
  static QHash<int, QIcon> cache;
  auto it = cache.find(static_cast<int>(id));
  if (it != cache.end()) return *it;
  QIcon icon;
  for (int size : {16, kIconSize, 32, 2 * kIconSize, 256}) icon.addPixmap(Draw(id, size));
  return *cache.insert(static_cast<int>(id), icon);
}
