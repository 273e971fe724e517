#pragma once
// The banner download at login: fetches the `bg_image_path` address into
// "Veltrum.dll" in the data folder on a background thread, and posts
// UM_RELOAD_BANNER to the main window when the new banner is in place. A
// failed download leaves the previous banner as it was. Destroying the
// object cancels a running download and waits for it, so the window to be
// notified must outlive this object.

#include <QObject>
#include <QString>

#include <atomic>
#include <string>
#include <thread>

namespace ui {

class BannerDownload {
public:
  BannerDownload() = default;
  ~BannerDownload();
  BannerDownload(const BannerDownload &) = delete;
  BannerDownload &operator=(const BannerDownload &) = delete;

  // True when the address is one to fetch: it begins with "http", compared
  // without case.
  static bool IsWebAddress(const std::string &address);

  // Starts the download unless one is running; false when the address is
  // not a web address or a download runs.
  bool Start(const std::string &address, const QString &destination, QObject *notify);
  // Waits for a running download to end.
  void Wait();
  bool IsRunning() const { return running_; }
  // Result of the last finished download (0, -1 or -2).
  int LastResult() const { return result_; }

private:
  std::thread thread_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> running_{false};
  std::atomic<int> result_{0};
};

} // namespace ui
