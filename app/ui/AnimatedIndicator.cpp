#include "AnimatedIndicator.h"

#include "Theme.h"

#include <QPainter>

#include <cmath>

namespace ui {

AnimatedIndicator::AnimatedIndicator(int frames, int intervalMs, QWidget *parent)
    : QWidget(parent), frames_(frames) {
  setFixedSize(kSize, kSize);
  timer_.setInterval(intervalMs);
  connect(&timer_, &QTimer::timeout, this, &AnimatedIndicator::Advance);
}

void AnimatedIndicator::Start() {
  timer_.start(); // restarts a running timer
}

void AnimatedIndicator::Stop() {
  timer_.stop();
}

void AnimatedIndicator::Advance() {
  frame_ = (frame_ + 1) % frames_;
  update();
}

void AnimatedIndicator::paintEvent(QPaintEvent *) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  PaintFrame(p, frame_);
}

BusyIndicator::BusyIndicator(QWidget *parent) : AnimatedIndicator(4, 200, parent) {}

void BusyIndicator::PaintFrame(QPainter &p, int frame) {
  // Eight dots on a ring; the bright one moves two places per frame.
  const QPointF c(kSize / 2.0, kSize / 2.0);
  for (int i = 0; i < 8; ++i) {
    double angle = (i * 45.0 - 90.0) * M_PI / 180.0;
    QPointF at = c + QPointF(std::cos(angle) * 5.6, std::sin(angle) * 5.6);
    int distance = ((i - frame * 2) % 8 + 8) % 8;
    int alpha = distance == 0 ? 255 : distance == 7 ? 170 : distance == 6 ? 110 : 55;
    QColor color = theme::kAccent;
    color.setAlpha(alpha);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(at, 1.7, 1.7);
  }
}

OfflineIndicator::OfflineIndicator(QWidget *parent) : AnimatedIndicator(2, 1000, parent) {}

void OfflineIndicator::PaintFrame(QPainter &p, int frame) {
  QRectF r(1.5, 1.5, kSize - 3, kSize - 3);
  QColor fill = frame == 0 ? theme::kDanger : QColor(0xFC, 0xA5, 0xA5);
  p.setPen(QPen(Qt::white, 1));
  p.setBrush(fill);
  p.drawEllipse(r);
  p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(5, kSize / 2.0), QPointF(kSize - 5, kSize / 2.0));
}

} // namespace ui
