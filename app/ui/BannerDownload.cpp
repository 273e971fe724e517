#include "BannerDownload.h"

#include "UiText.h"
#include "WindowMessage.h"

#include "engine/WindowMessages.h"

#include <download/Downloader.h>

#include <strings.h>

namespace ui {

BannerDownload::~BannerDownload() {
  cancel_ = true;
  Wait();
}

bool BannerDownload::IsWebAddress(const std::string &address) {
  return address.size() >= 4 && strncasecmp(address.c_str(), "http", 4) == 0;
}

void BannerDownload::Wait() {
  if (thread_.joinable()) thread_.join();
}

bool BannerDownload::Start(const std::string &address, const QString &destination,
                           QObject *notify) {
  if (!IsWebAddress(address) || running_) return false;
  Wait();
  cancel_ = false;
  running_ = true;
  std::string path = destination.toLocal8Bit().toStdString();
  thread_ = std::thread([this, address, path, notify] {
    download::Downloader downloader([](int id) { return AnsiText(id); });
    int rc = downloader.Download(address, path, &cancel_);
    result_ = rc;
    if (rc == download::kDownloadOk && !cancel_)
      PostWindowMessage(notify, engine::UM_RELOAD_BANNER);
    running_ = false;
  });
  return true;
}

} // namespace ui
