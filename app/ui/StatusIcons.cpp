#include "StatusIcons.h"

#include "store/MessageRow.h"

#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace ui {

namespace {

const QColor kRed{0xD9, 0x2D, 0x20};
const QColor kDarkRed{0x9F, 0x12, 0x39};
const QColor kGreen{0x15, 0x80, 0x3D};
const QColor kTeal{0x0F, 0x76, 0x6E};
const QColor kBlue{0x1D, 0x4E, 0xD8};
const QColor kSlate{0x47, 0x55, 0x69};
const QColor kGrey{0x6B, 0x72, 0x80};
const QColor kPurple{0x6D, 0x28, 0xD9};
const QColor kAmber{0xB4, 0x53, 0x09};
const QColor kOrange{0xC2, 0x41, 0x0C};
const QColor kNavy{0x1E, 0x3A, 0x8A};

QPen Line(const QColor &colour, qreal width = 1.4) {
  QPen pen(colour, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

// A white mark inside a filled badge: a cross, a check, "!" or "?".
void Cross(QPainter &p, QPointF c, qreal r) {
  p.setPen(Line(Qt::white, 1.7));
  p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
  p.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
}

void Check(QPainter &p, const QColor &colour, qreal width, QPointF a, QPointF b, QPointF c) {
  p.setPen(Line(colour, width));
  p.setBrush(Qt::NoBrush);
  QPainterPath path(a);
  path.lineTo(b);
  path.lineTo(c);
  p.drawPath(path);
}

void Glyph(QPainter &p, QRectF box, const QString &glyph) {
  QFont font;
  font.setFamilies({"DejaVu Sans", "Noto Sans", "Sans Serif"});
  font.setPixelSize(10);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(box, Qt::AlignCenter, glyph);
}

void ClockHands(QPainter &p, QPointF c, const QColor &colour) {
  p.setPen(Line(colour, 1.3));
  p.drawLine(c, c + QPointF(0, -3.6));
  p.drawLine(c, c + QPointF(2.8, 0));
}

void Calendar(QPainter &p, const QColor &colour) {
  p.setPen(Line(colour, 1.2));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(1.6, 2.6, 10.8, 9.8), 1.5, 1.5);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawRect(QRectF(1.6, 2.6, 10.8, 3.0));
  p.drawRect(QRectF(4.0, 7.5, 2, 1.8));
  p.drawRect(QRectF(8.0, 7.5, 2, 1.8));
  p.setPen(Line(colour, 1.3));
  p.drawLine(QPointF(4.3, 1.2), QPointF(4.3, 3.6));
  p.drawLine(QPointF(9.7, 1.2), QPointF(9.7, 3.6));
}

void Hourglass(QPainter &p, const QColor &colour) {
  p.setPen(Line(colour, 1.3));
  p.drawLine(QPointF(2.5, 1.5), QPointF(11.5, 1.5));
  p.drawLine(QPointF(2.5, 12.5), QPointF(11.5, 12.5));
  QPainterPath glass;
  glass.moveTo(3.5, 1.5);
  glass.lineTo(10.5, 1.5);
  glass.lineTo(7.6, 7);
  glass.lineTo(10.5, 12.5);
  glass.lineTo(3.5, 12.5);
  glass.lineTo(6.4, 7);
  glass.closeSubpath();
  p.setBrush(Qt::white);
  p.drawPath(glass);
  QPainterPath sand;
  sand.moveTo(4.6, 12.3);
  sand.lineTo(9.4, 12.3);
  sand.lineTo(7, 9.4);
  sand.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(sand);
}

void Paint(QPainter &p, int code) {
  const QPointF c(7, 7);
  const QRectF full(0, 0, 14, 14);
  switch (code) {
  case store::StatPending: // a clock face, outlined
    p.setPen(Line(kSlate, 1.3));
    p.setBrush(Qt::white);
    p.drawEllipse(c, 5.8, 5.8);
    ClockHands(p, c, kSlate);
    break;
  case store::StatQueued: // three stacked bars, the last one shorter
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(1.5, 2, 11, 2.4), 1, 1);
    p.drawRoundedRect(QRectF(1.5, 5.8, 11, 2.4), 1, 1);
    p.drawRoundedRect(QRectF(1.5, 9.6, 7, 2.4), 1, 1);
    break;
  case store::StatFailed: // red circle with a cross
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(c, 6.5, 6.5);
    Cross(p, c, 2.8);
    break;
  case store::StatSent: { // a paper plane
    QPainterPath plane;
    plane.moveTo(1, 6.5);
    plane.lineTo(13, 1.5);
    plane.lineTo(9, 12.5);
    plane.lineTo(6.5, 8);
    plane.closeSubpath();
    p.setPen(Line(kBlue, 1.0));
    p.setBrush(kBlue);
    p.drawPath(plane);
    p.setPen(Line(Qt::white, 1.0));
    p.drawLine(QPointF(6.5, 8), QPointF(12, 2.5));
    break;
  }
  case store::StatScheduled: // a calendar sheet
    Calendar(p, kBlue);
    break;
  case store::StatEditing: { // a pencil
    p.setPen(Qt::NoPen);
    p.setBrush(kOrange);
    QPainterPath body;
    body.moveTo(9.5, 1.5);
    body.lineTo(12.5, 4.5);
    body.lineTo(5, 12);
    body.lineTo(2, 9);
    body.closeSubpath();
    p.drawPath(body);
    QPainterPath tip;
    tip.moveTo(2, 9);
    tip.lineTo(5, 12);
    tip.lineTo(1.2, 12.8);
    tip.closeSubpath();
    p.setBrush(kSlate);
    p.drawPath(tip);
    break;
  }
  case store::StatDelayScheduled: // an hourglass
    Hourglass(p, kPurple);
    break;
  case store::StatScheduledOnServer: { // a cloud
    QPainterPath cloud;
    cloud.addEllipse(QPointF(4.6, 8.3), 3.3, 3.3);
    cloud.addEllipse(QPointF(8, 6.2), 4.0, 4.0);
    cloud.addEllipse(QPointF(10.6, 8.8), 2.8, 2.8);
    cloud.addRect(QRectF(4.6, 8.6, 6, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(kTeal);
    p.drawPath(cloud.simplified());
    break;
  }
  case store::StatDeliveredToGateway: // an open check, no badge
    Check(p, kTeal, 2.2, QPointF(2, 7.5), QPointF(5.5, 11), QPointF(12, 3));
    break;
  case store::StatDelivered: // green circle with a check
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(c, 6.5, 6.5);
    Check(p, Qt::white, 1.8, QPointF(3.8, 7.2), QPointF(6.1, 9.5), QPointF(10.3, 4.8));
    break;
  case store::StatProcessing: { // a circular arrow
    p.setPen(Line(kAmber, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(2, 2, 10, 10), 90 * 16, 270 * 16);
    QPainterPath head;
    head.moveTo(7, -0.2);
    head.lineTo(10.6, 2.2);
    head.lineTo(7, 4.6);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kAmber);
    p.drawPath(head);
    break;
  }
  case store::StatUnknown: // grey circle with "?"
    p.setPen(Qt::NoPen);
    p.setBrush(kGrey);
    p.drawEllipse(c, 6.5, 6.5);
    Glyph(p, full, "?");
    break;
  case store::StatExpanded: // one stem branching into three
    p.setPen(Line(kNavy, 1.4));
    p.drawLine(QPointF(1.5, 7), QPointF(5.5, 7));
    p.drawLine(QPointF(5.5, 7), QPointF(10, 2.5));
    p.drawLine(QPointF(5.5, 7), QPointF(10, 7));
    p.drawLine(QPointF(5.5, 7), QPointF(10, 11.5));
    p.setPen(Qt::NoPen);
    p.setBrush(kNavy);
    for (qreal y : {2.5, 7.0, 11.5})
      p.drawEllipse(QPointF(11, y), 1.9, 1.9);
    break;
  case store::StatErrorWithMessage: { // red triangle with "!"
    QPainterPath triangle;
    triangle.moveTo(7, 0.6);
    triangle.lineTo(13.6, 13);
    triangle.lineTo(0.4, 13);
    triangle.closeSubpath();
    p.setPen(Line(kRed, 0.8));
    p.setBrush(kRed);
    p.drawPath(triangle);
    Glyph(p, QRectF(0, 3.2, 14, 10), "!");
    break;
  }
  case store::StatCancelled: // a circle with a slash
    p.setPen(Line(kDarkRed, 1.9));
    p.setBrush(Qt::white);
    p.drawEllipse(c, 5.6, 5.6);
    p.drawLine(QPointF(3.1, 3.1), QPointF(10.9, 10.9));
    break;
  case store::StatDeliveryError: // red square with a cross
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawRoundedRect(QRectF(0.8, 0.8, 12.4, 12.4), 2, 2);
    Cross(p, c, 2.8);
    break;
  case store::StatRoutingError: { // red diamond with "?"
    QPainterPath diamond;
    diamond.moveTo(7, 0);
    diamond.lineTo(14, 7);
    diamond.lineTo(7, 14);
    diamond.lineTo(0, 7);
    diamond.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawPath(diamond);
    Glyph(p, full, "?");
    break;
  }
  case store::StatExpired: // a dark red clock face, filled
    p.setPen(Qt::NoPen);
    p.setBrush(kDarkRed);
    p.drawEllipse(c, 6.5, 6.5);
    ClockHands(p, c, Qt::white);
    break;
  default:
    break;
  }
}

} // namespace

namespace {

// A transparent icon-sized pixmap painted by `paint` in 14 x 14 units.
template <class F> QPixmap Canvas(qreal devicePixelRatio, F paint) {
  const int side = qRound(StatusIcons::kSize * devicePixelRatio);
  QPixmap pixmap(side, side);
  pixmap.setDevicePixelRatio(devicePixelRatio);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  paint(p);
  return pixmap;
}

} // namespace

QPixmap StatusIcons::Draw(int code, qreal devicePixelRatio) {
  return Canvas(devicePixelRatio, [code](QPainter &p) { Paint(p, code); });
}

QPixmap StatusIcons::Pixmap(int code, qreal devicePixelRatio) {
  if (code < 0 || code >= kCount) code = store::StatProcessing;
  static QHash<QPair<int, int>, QPixmap> cache;
  const QPair<int, int> key(code, qRound(devicePixelRatio * 100));
  auto it = cache.find(key);
  if (it == cache.end()) it = cache.insert(key, Draw(code, devicePixelRatio));
  return *it;
}

QPixmap StatusIcons::OnSelection(int code, qreal devicePixelRatio) {
  return Canvas(devicePixelRatio, [code, devicePixelRatio](QPainter &p) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(0, 0, kSize, kSize), 3, 3);
    p.drawPixmap(0, 0, Pixmap(code, devicePixelRatio));
  });
}

QIcon StatusIcons::Icon(int code) {
  if (code < 0 || code >= kCount) code = store::StatProcessing;
  static QHash<int, QIcon> cache;
  auto it = cache.find(code);
  if (it != cache.end()) return *it;
  QIcon icon;
  const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
  for (qreal r : {1.0, ratio}) {
    icon.addPixmap(Pixmap(code, r), QIcon::Normal);
    icon.addPixmap(OnSelection(code, r), QIcon::Selected);
    if (ratio == 1.0) break;
  }
  return *cache.insert(code, icon);
}

} // namespace ui
