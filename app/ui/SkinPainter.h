#pragma once
// The main window's skin: the background bitmap, drawn at run time. A
// header band with the product name across the top (the banner, when there
// is one, is drawn over it), a light body for the pages, and a footer line.

#include <QImage>
#include <QSize>

namespace ui {

class SkinPainter {
public:
  // The plain skin of the given size.
  static QImage Paint(QSize size);
  // The skin with a banner drawn into it at (4, 4), scaled to 648 x 81
  // (a null banner leaves the plain skin).
  static QImage Compose(const QImage &skin, const QImage &banner);

private:
  static void PaintHeader(class QPainter &p, QSize size);
  static void PaintBody(class QPainter &p, QSize size);
  static void PaintEmblem(class QPainter &p, QRectF box);
};

} // namespace ui
