#include "CloseButton.h"

#include <QPainter>

namespace ui {

CloseButton::CloseButton(QWidget *parent) : QAbstractButton(parent) {
  setFixedSize(kSize, kSize);
  setCursor(Qt::PointingHandCursor);
  setToolTip("Close");
  setFocusPolicy(Qt::NoFocus);
}

void CloseButton::enterEvent(QEnterEvent *) {
  hover_ = true;
  update();
}

void CloseButton::leaveEvent(QEvent *) {
  hover_ = false;
  update();
}

void CloseButton::paintEvent(QPaintEvent *) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  QColor fill(255, 255, 255, 40);
  QColor cross(255, 255, 255, 230);
  if (!isEnabled()) {
    fill = QColor(255, 255, 255, 20);
    cross = QColor(255, 255, 255, 90);
  } else if (isDown()) {
    fill = QColor(0xB9, 0x1C, 0x1C);
  } else if (hover_) {
    fill = QColor(0xEF, 0x44, 0x44);
  }
  p.setPen(QPen(QColor(255, 255, 255, 90), 1));
  p.setBrush(fill);
  p.drawEllipse(r);
  p.setPen(QPen(cross, 1.6, Qt::SolidLine, Qt::RoundCap));
  const qreal m = 4.6;
  p.drawLine(QPointF(m, m), QPointF(kSize - m, kSize - m));
  p.drawLine(QPointF(kSize - m, m), QPointF(m, kSize - m));
}

} // namespace ui
