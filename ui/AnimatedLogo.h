#pragma once
// The info window's logo: an animation drawn by code, 200 x 194 pixels, repeating without end
// while it runs.

#include <QTimer>
#include <QWidget>

class TAnimatedLogo : public QWidget {
  Q_OBJECT
 public:
  explicit TAnimatedLogo(QWidget* parent = nullptr);

  void Start();
  void Stop();
  bool IsAnimating() const { return timer_.isActive(); }
  int Frame() const { return frame_; }

  static constexpr int kWidth = 200;
  static constexpr int kHeight = 194;
  static constexpr int kFramesPerTurn = 72;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QTimer timer_;
  int frame_ = 0;
};
