#include "IconFactory.h"

#include "Theme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ui {

QIcon IconFactory::Icon(int id) {
  if (id != kAppIcon && id != kTrayOnline && id != kTrayOffline) return {};
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128})
    icon.addPixmap(Draw(id, size));
  return icon;
}

QPixmap IconFactory::Draw(int id, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = size;
  const bool offline = id == kTrayOffline;

  // Rounded square with a speech-bubble tail.
  QRectF body(s * 0.06, s * 0.06, s * 0.88, s * 0.74);
  QPainterPath bubble;
  bubble.addRoundedRect(body, s * 0.2, s * 0.2);
  QPainterPath tail;
  tail.moveTo(s * 0.22, s * 0.76);
  tail.lineTo(s * 0.16, s * 0.97);
  tail.lineTo(s * 0.44, s * 0.76);
  tail.closeSubpath();
  bubble = bubble.united(tail);
  QLinearGradient g(QPointF(0, 0), QPointF(s, s));
  if (offline) {
    g.setColorAt(0, QColor(0x94, 0xA3, 0xB8));
    g.setColorAt(1, QColor(0x47, 0x55, 0x69));
  } else {
    g.setColorAt(0, theme::kHeaderLight);
    g.setColorAt(1, theme::kHeaderDeep);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawPath(bubble);

  // Paper plane.
  QPointF c = body.center();
  qreal u = s / 32.0;
  QPainterPath plane;
  plane.moveTo(c + QPointF(-9 * u, 1 * u));
  plane.lineTo(c + QPointF(9 * u, -7 * u));
  plane.lineTo(c + QPointF(3 * u, 8 * u));
  plane.lineTo(c + QPointF(0, 3 * u));
  plane.closeSubpath();
  p.setBrush(Qt::white);
  p.drawPath(plane);

  if (offline) {
    // A red badge with a bar: not connected.
    QRectF badge(s * 0.56, s * 0.56, s * 0.42, s * 0.42);
    p.setBrush(theme::kDanger);
    p.setPen(QPen(Qt::white, qMax(1.0, s / 24.0)));
    p.drawEllipse(badge);
    p.setPen(QPen(Qt::white, qMax(1.5, s / 14.0), Qt::SolidLine, Qt::RoundCap));
    QPointF bc = badge.center();
    p.drawLine(bc - QPointF(badge.width() * 0.22, 0), bc + QPointF(badge.width() * 0.22, 0));
  }
  return pixmap;
}

} // namespace ui
