#include "TabButton.h"

#include "Theme.h"

#include <QPainter>
#include <QPainterPath>

namespace ui {

TabButton::TabButton(int id, const QString &caption, QWidget *parent)
    : QAbstractButton(parent), id_(id) {
  setObjectName(QString::number(id));
  setText(caption);
  setFixedSize(kWidth, kHeight);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::NoFocus);
}

void TabButton::SetSelected(bool selected) {
  if (selected_ == selected) return;
  selected_ = selected;
  update();
}

void TabButton::enterEvent(QEnterEvent *) {
  hover_ = true;
  update();
}

void TabButton::leaveEvent(QEvent *) {
  hover_ = false;
  update();
}

void TabButton::paintEvent(QPaintEvent *) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QRectF r(0.5, 0.5, width() - 1, height() + 6); // bottom corners hidden below
  QPainterPath shape;
  shape.addRoundedRect(r, 6, 6);
  p.setClipRect(rect());
  if (selected_ || isDown()) {
    p.setPen(Qt::NoPen);
    p.setBrush(theme::kBodyTop);
    p.drawPath(shape);
    p.setPen(theme::kHeaderDeep);
    p.setFont(theme::UiFont(8.5, QFont::DemiBold));
  } else {
    p.setPen(QPen(QColor(255, 255, 255, hover_ ? 120 : 70), 1));
    p.setBrush(QColor(255, 255, 255, hover_ ? 60 : 32));
    p.drawPath(shape);
    p.setPen(QColor(255, 255, 255, 235));
    p.setFont(theme::UiFont(8.5, QFont::Medium));
  }
  p.drawText(rect().adjusted(4, 1, -4, 0), Qt::AlignCenter, text());
}

} // namespace ui
