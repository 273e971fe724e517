#include "PicturePreview.h"

#include "Theme.h"

#include <QImageReader>
#include <QPainter>

namespace ui {

PicturePreview::PicturePreview(QWidget *parent) : QWidget(parent) {
  setFixedSize(kSide * kZoom + 8, kSide * kZoom + 8);
  setAccessibleName("Picture preview");
}

QImage PicturePreview::Reduce(const QImage &image) {
  if (image.isNull()) return {};
  QImage mono = image;
  if (mono.format() != QImage::Format_Mono && mono.format() != QImage::Format_MonoLSB)
    mono = mono.convertToFormat(QImage::Format_Mono, Qt::MonoOnly | Qt::DiffuseDither);
  if (mono.size() != QSize(kSide, kSide))
    mono = mono.scaled(kSide, kSide, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  return mono.convertToFormat(QImage::Format_Mono);
}

bool PicturePreview::Show(const QString &path) {
  QImageReader reader(path);
  image_ = Reduce(reader.read());
  update();
  return !image_.isNull();
}

void PicturePreview::Clear() {
  image_ = QImage();
  update();
}

void PicturePreview::paintEvent(QPaintEvent *) {
  QPainter p(this);
  p.setPen(QPen(theme::kCardBorder, 1));
  p.setBrush(QColor(0xF8, 0xFA, 0xFC));
  p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
  if (image_.isNull()) return;
  const QRect target(4, 4, kSide * kZoom, kSide * kZoom);
  p.drawImage(target, image_);
  p.setPen(QPen(theme::kMuted, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(target.adjusted(-1, -1, 0, 0));
}

} // namespace ui
