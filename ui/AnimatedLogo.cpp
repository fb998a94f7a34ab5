#include "ui/AnimatedLogo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "ui/VisualStyle.h"

namespace {
constexpr int kFrameMs = 40;  // 25 frames a second
constexpr int kSegments = 12;
}  // namespace

TAnimatedLogo::TAnimatedLogo(QWidget* parent) : QWidget(parent) {
  setFixedSize(kWidth, kHeight);
  timer_.setInterval(kFrameMs);
  connect(&timer_, &QTimer::timeout, this, [this] {
    frame_ = (frame_ + 1) % kFramesPerTurn;
    update();
  });
}

void TAnimatedLogo::Start() { timer_.start(); }

void TAnimatedLogo::Stop() { timer_.stop(); }

void TAnimatedLogo::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, kHeight);
  sky.setColorAt(0, QColor(0x1c, 0x3f, 0x6e));
  sky.setColorAt(1, QColor(0x0b, 0x1d, 0x36));
  p.fillRect(rect(), sky);

  // A ring of segments that turns once every kFramesPerTurn frames, one segment lit brighter as
  // it passes: the head unit at work.
  const QPointF centre(kWidth / 2.0, 82);
  const double turn = 360.0 * frame_ / kFramesPerTurn;
  for (int i = 0; i < kSegments; ++i) {
    const double angle = turn + i * 360.0 / kSegments;
    const int lit = (kSegments - i) % kSegments;
    QColor colour(0x4f, 0xc3, 0xf7);
    colour.setAlphaF(0.25 + 0.75 * (lit == 0 ? 1.0 : 1.0 - lit / double(kSegments)));
    p.save();
    p.translate(centre);
    p.rotate(angle);
    p.setPen(QPen(colour, 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, -62), QPointF(0, -50));
    p.restore();
  }

  // A service book with a tick: the history, kept.
  p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(255, 255, 255, 30));
  p.drawRoundedRect(QRectF(centre.x() - 24, centre.y() - 30, 48, 60), 5, 5);
  p.drawLine(QPointF(centre.x() - 14, centre.y() - 18), QPointF(centre.x() + 14, centre.y() - 18));
  p.drawLine(QPointF(centre.x() - 14, centre.y() - 9), QPointF(centre.x() + 8, centre.y() - 9));
  QPen tick(QColor(0x7c, 0xe0, 0x8a), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(tick);
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({{centre.x() - 12, centre.y() + 8}, {centre.x() - 3, centre.y() + 17}, {centre.x() + 14, centre.y() - 1}}));

  p.setPen(Qt::white);
  p.setFont(WindowFont(18, true));
  p.drawText(QRectF(0, 150, kWidth, 26), Qt::AlignCenter, QStringLiteral("TARVELO"));
}
