#pragma once
// The picture preview of a picture message: the chosen image reduced to one
// bit per pixel (dithered) and resampled to 48 x 48, drawn twice its size
// on a light frame.

#include <QImage>
#include <QWidget>

namespace ui {

class PicturePreview : public QWidget {
  Q_OBJECT
public:
  static constexpr int kSide = 48;
  static constexpr int kZoom = 2;

  explicit PicturePreview(QWidget *parent = nullptr);

  // Loads the file and shows it; false (and an empty preview) when it is
  // not an image Qt can read.
  bool Show(const QString &path);
  void Clear();
  const QImage &Image() const { return image_; }

  // The image as the preview holds it: one bit per pixel, 48 x 48.
  static QImage Reduce(const QImage &image);

protected:
  void paintEvent(QPaintEvent *) override;

private:
  QImage image_;
};

} // namespace ui
