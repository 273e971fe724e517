#pragma once
// The banner: an image file "Veltrum.dll" in the data folder, read as data
// in any format Qt reads (never loaded as code). Returns the image scaled to
// the banner's 648 x 81, or a null image when the file is missing, not an
// image, or unreasonably large.

#include <QImage>
#include <QString>

namespace ui {

class BannerLoader {
public:
  static constexpr const char *kFileName = "Veltrum.dll";
  // Images with more pixels than this are refused before decoding.
  static constexpr qint64 kMaxPixels = 16LL * 1024 * 1024;

  static QString PathIn(const QString &dataFolder);
  static QImage Load(const QString &path);
};

} // namespace ui
