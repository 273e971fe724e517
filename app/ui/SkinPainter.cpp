#include "SkinPainter.h"

#include "Theme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace ui {

using namespace theme;

QImage SkinPainter::Paint(QSize size) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(kBodyTop);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  PaintBody(p, size);
  PaintHeader(p, size);
  // A one-pixel edge around the whole skin.
  p.setPen(QPen(kEdge, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1));
  return image;
}

void SkinPainter::PaintHeader(QPainter &p, QSize size) {
  const QRectF band(0, 0, size.width(), kHeaderBottom);
  QLinearGradient g(band.topLeft(), band.bottomRight());
  g.setColorAt(0.0, kHeaderDeep);
  g.setColorAt(0.55, kHeaderMid);
  g.setColorAt(1.0, kHeaderLight);
  p.fillRect(band, g);

  // Soft light in the upper left and two faint arcs on the right.
  QRadialGradient glow(QPointF(120, -20), 260);
  glow.setColorAt(0.0, QColor(255, 255, 255, 60));
  glow.setColorAt(1.0, QColor(255, 255, 255, 0));
  p.fillRect(band, glow);
  p.save();
  p.setClipRect(band);
  p.setPen(QPen(QColor(255, 255, 255, 28), 18));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(size.width() - 70, 30), 120, 120);
  p.setPen(QPen(QColor(255, 255, 255, 16), 10));
  p.drawEllipse(QPointF(size.width() - 20, 90), 150, 150);
  p.restore();

  // Emblem and product name.
  PaintEmblem(p, QRectF(22, 18, 50, 50));
  p.setPen(Qt::white);
  p.setFont(UiFont(21, QFont::Bold));
  p.drawText(QRectF(86, 16, 360, 34), Qt::AlignLeft | Qt::AlignVCenter, "Dovetext");
  p.setPen(QColor(255, 255, 255, 200));
  p.setFont(UiFont(9.5));
  p.drawText(QRectF(87, 48, 420, 20), Qt::AlignLeft | Qt::AlignVCenter,
             "SMS messaging through the Ostrand gateway");
}

void SkinPainter::PaintEmblem(QPainter &p, QRectF box) {
  // A speech bubble with a folded paper plane inside it.
  p.save();
  QPainterPath bubble;
  bubble.addRoundedRect(box.adjusted(0, 0, 0, -8), 13, 13);
  QPainterPath tail;
  tail.moveTo(box.left() + 12, box.bottom() - 10);
  tail.lineTo(box.left() + 8, box.bottom());
  tail.lineTo(box.left() + 24, box.bottom() - 10);
  tail.closeSubpath();
  bubble = bubble.united(tail);
  QLinearGradient fill(box.topLeft(), box.bottomRight());
  fill.setColorAt(0, QColor(255, 255, 255, 250));
  fill.setColorAt(1, QColor(220, 236, 255, 240));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 40));
  p.drawPath(bubble.translated(0, 2));
  p.setBrush(fill);
  p.drawPath(bubble);

  QPointF c = box.center() - QPointF(0, 4);
  QPainterPath plane;
  plane.moveTo(c + QPointF(-14, 1));
  plane.lineTo(c + QPointF(14, -11));
  plane.lineTo(c + QPointF(5, 12));
  plane.lineTo(c + QPointF(0, 4));
  plane.closeSubpath();
  p.setBrush(kAccent);
  p.drawPath(plane);
  QPainterPath fold;
  fold.moveTo(c + QPointF(0, 4));
  fold.lineTo(c + QPointF(14, -11));
  fold.lineTo(c + QPointF(-1, 10));
  fold.closeSubpath();
  p.setBrush(kHeaderDeep);
  p.drawPath(fold);
  p.restore();
}

void SkinPainter::PaintBody(QPainter &p, QSize size) {
  const QRectF body(0, kHeaderBottom, size.width(), size.height() - kHeaderBottom);
  QLinearGradient g(body.topLeft(), body.bottomLeft());
  g.setColorAt(0, kBodyTop);
  g.setColorAt(1, kBodyBottom);
  p.fillRect(body, g);

  // A shadow under the header band.
  QLinearGradient shade(QPointF(0, kHeaderBottom), QPointF(0, kHeaderBottom + 8));
  shade.setColorAt(0, QColor(15, 23, 42, 30));
  shade.setColorAt(1, QColor(15, 23, 42, 0));
  p.fillRect(QRectF(0, kHeaderBottom, size.width(), 8), shade);

  // Footer.
  const qreal footerTop = size.height() - 26;
  p.setPen(QPen(kCardBorder, 1));
  p.drawLine(QPointF(12, footerTop + 0.5), QPointF(size.width() - 12, footerTop + 0.5));
  p.setPen(kMuted);
  p.setFont(UiFont(8));
  p.drawText(QRectF(14, footerTop + 2, 400, 22), Qt::AlignLeft | Qt::AlignVCenter,
             QString::fromUtf8("Dovetext \u00B7 Ostrand SMS gateway client"));
}

QImage SkinPainter::Compose(const QImage &skin, const QImage &banner) {
  QImage out = skin.copy();
  if (banner.isNull()) return out;
  QPainter p(&out);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(QRect(kBannerX, kBannerY, kBannerWidth, kBannerHeight), banner);
  return out;
}

} // namespace ui
