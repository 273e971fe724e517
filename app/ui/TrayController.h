#pragma once
// The notification-area icon: the icon (online 221 or offline 258), the tip
// (at most 127 characters) and the "Taskbar" menu: "Display version
// information", "Check for latest updates", "Proxy Settings", a separator
// and "Exit" as the default (bold) item. A left click is reported to the
// main window as UM_TRAY_NOTIFY; the platform pops the menu on a right
// click. The icon is added again when the notification area comes back:
// the desktop's StatusNotifierWatcher service registering on the session
// bus says so; without a session bus, a poll every 3 s notices it.

#include <QObject>
#include <QTimer>

class QDBusServiceWatcher;

#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace ui {

class TrayController : public QObject {
  Q_OBJECT
public:
  static constexpr int kMaxTip = 127;
  static constexpr int kWatchMs = 3000;
  static constexpr const char *kWatcherService = "org.kde.StatusNotifierWatcher";

  // `window` receives UM_TRAY_NOTIFY.
  explicit TrayController(QObject *window, QObject *parent = nullptr);
  ~TrayController() override;

  void SetTip(const QString &tip);
  QString Tip() const { return tip_; }
  // Icon 221 when online, 258 when offline.
  void SetOnline(bool online);
  int IconId() const { return iconId_; }

  // Adds (or adds again) the icon with its current icon and tip.
  void Add();
  int AddCount() const { return adds_; }

  QMenu *Menu() const { return menu_.get(); }
  QAction *Action(int id) const;
  // Null while there is no notification area.
  QSystemTrayIcon *Icon() const { return icon_.get(); }

  // Pops the menu at the cursor.
  void PopupMenu();

  // How the return of the notification area is noticed.
  bool WatchesSessionBus() const { return busWatch_ != nullptr; }
  bool Polls() const { return watch_.isActive(); }

signals:
  void Command(int id);

private:
  void WatchTray();
  void TrayReturned();

  QObject *window_;
  std::unique_ptr<QMenu> menu_;
  std::unique_ptr<QSystemTrayIcon> icon_;
  QString tip_;
  int iconId_;
  int adds_ = 0;
  bool trayWasAvailable_;
  QTimer watch_;
  QDBusServiceWatcher *busWatch_ = nullptr;
};

} // namespace ui
