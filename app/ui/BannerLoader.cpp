#include "BannerLoader.h"

#include "Theme.h"

#include <QFileInfo>
#include <QImageReader>

namespace ui {

QString BannerLoader::PathIn(const QString &dataFolder) {
  return dataFolder + "/" + kFileName;
}

QImage BannerLoader::Load(const QString &path) {
  QFileInfo info(path);
  if (!info.isFile()) return {};
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);
  QSize size = reader.size();
  if (size.isValid() && static_cast<qint64>(size.width()) * size.height() > kMaxPixels) return {};
  QImage image = reader.read();
  if (image.isNull()) return {};
  return image.scaled(theme::kBannerWidth, theme::kBannerHeight, Qt::IgnoreAspectRatio,
                      Qt::SmoothTransformation);
}

} // namespace ui
