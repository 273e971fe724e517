#pragma once
// The program's icons, drawn at run time: the window icon (128), the tray
// icon while online (221) and while offline (258).

#include <QIcon>

namespace ui {

class IconFactory {
public:
  static constexpr int kAppIcon = 128;
  static constexpr int kTrayOnline = 221;
  static constexpr int kTrayOffline = 258;

  // The icon of a resource id (a null icon for other ids).
  static QIcon Icon(int id);

private:
  static QPixmap Draw(int id, int size);
};

} // namespace ui
