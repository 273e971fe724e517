#include "UpdateCheck.h"

#include "update/InstallerLauncher.h"

#include "download/Downloader.h"
#include "shell/LogWriter.h"
#include "shell/Settings.h"

#include <system_error>

namespace update {

namespace {
constexpr std::size_t kMinAddressLength = 8;
}

UpdateCheck::UpdateCheck(UpdateHost &host, std::filesystem::path dataFolder, FileVersion own)
    : host_(host), versionFile_(dataFolder / "update.ver"),
      installer_(dataFolder / "temp" / "Update.run"), own_(own) {}

std::string UpdateCheck::SizeText(std::uint64_t bytes) {
  return std::to_string(bytes / 1024) + "KB";
}

void UpdateCheck::Start(const shell::Settings *settings, shell::LogWriter *log) {
  if (IsRunning()) return;
  log_ = log;
  if (!settings || settings->UpdateVersionURL.size() < kMinAddressLength ||
      settings->UpdateFileURL.size() < kMinAddressLength || settings->UpdateURL.empty()) {
    // Held as running while the message is up, so a second request does
    // not stack another one.
    phase_ = Phase::Notice;
    host_.ShowFailure(kCaptionUpdate, kTextVisitSupport, settings ? settings->help_url : "");
    phase_ = Phase::Idle;
    return;
  }
  versionAddress_ = settings->UpdateVersionURL;
  installerAddress_ = settings->UpdateFileURL;
  pageAddress_ = settings->UpdateURL;
  descriptor_ = {};
  cancel_ = false;
  host_.ShowProgress();
  Show(Phase::Contacting, kStepContacting, kStepWait);
}

void UpdateCheck::WaitOver() {
  switch (phase_) {
  case Phase::Contacting:
    return Fetch(Phase::FetchingVersion, versionAddress_, versionFile_, false);
  case Phase::Looking:
    return Compare();
  case Phase::Downloading:
    return Fetch(Phase::FetchingInstaller, installerAddress_, installer_, true);
  case Phase::Installing:
    return Install();
  case Phase::Exiting:
    if (!Cancelled()) host_.ExitProgram();
    return Finish();
  default:
    return; // not waiting
  }
}

void UpdateCheck::DownloadOver(int result, const std::string &errorText) {
  if (phase_ == Phase::FetchingVersion) {
    if (result != download::kDownloadOk)
      return DownloadFailed(result, kTextCheckFailed, "update.ver", errorText);
    return Show(Phase::Looking, kStepLooking, kStepWait);
  }
  if (phase_ != Phase::FetchingInstaller) return;
  if (result != download::kDownloadOk)
    return DownloadFailed(result, kTextInstallerFailed, "the installer", errorText);
  trust_ = InstallerTrust::Judge(descriptor_, versionAddress_, installerAddress_, installer_);
  if (trust_.verdict == InstallerTrust::Verdict::Mismatch) {
    std::error_code ec;
    std::filesystem::remove(installer_, ec);
    Log("Update check: " + trust_.reason + "; the installer was deleted");
    host_.ShowFailure(kCaptionFailed, kTextInstallerFailed, pageAddress_);
    return Finish();
  }
  host_.DisableCancel();
  Show(Phase::Installing, kStepInstalling, kInstallWait);
}

void UpdateCheck::Show(Phase waiting, int step, int milliseconds) {
  phase_ = waiting;
  host_.SetStep(step);
  host_.Wait(milliseconds);
}

void UpdateCheck::Fetch(Phase fetching, const std::string &address,
                        const std::filesystem::path &destination, bool showSize) {
  if (Cancelled()) return Finish();
  phase_ = fetching;
  host_.Download(address, destination, showSize);
}

void UpdateCheck::Compare() {
  descriptor_ = UpdateDescriptor::Read(versionFile_);
  if (!descriptor_.version.IsNewerThan(own_)) {
    host_.ShowNotice(kTextLatest, kCaptionOk);
    return Finish();
  }
  Show(Phase::Downloading, kStepDownloading, kStepWait);
}

void UpdateCheck::Install() {
  host_.HideProgress();
  if (!Cancelled()) {
    const std::string version = descriptor_.version.Text();
    if (!InstallerTrust::MayStart(trust_.verdict)) {
      Log("Update check: the installer of " + version + " was not started: " + trust_.reason);
      host_.ShowFileFailure(kCaptionFailed, kTextRunByHand, installer_);
    } else if (std::string error; !InstallerLauncher::Start(installer_, &error)) {
      Log("Update check: the installer of " + version + " could not be started: " + error);
      host_.ShowFileFailure(kCaptionFailed, kTextRunByHand, installer_);
    } else {
      Log("Update check: started the installer of " + version + " (" + trust_.reason + ")");
    }
  }
  phase_ = Phase::Exiting;
  host_.Wait(kExitWait);
}

void UpdateCheck::DownloadFailed(int result, int textId, const char *what,
                                 const std::string &errorText) {
  if (result == download::kDownloadFailed && !Cancelled()) {
    std::string reason = errorText;
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r'))
      reason.pop_back();
    Log(std::string("Update check: the download of ") + what + " failed: " + reason);
    host_.ShowFailure(kCaptionFailed, textId, pageAddress_);
  }
  Finish();
}

void UpdateCheck::Finish() {
  host_.CloseProgress();
  phase_ = Phase::Idle;
}

void UpdateCheck::Log(const std::string &text) const {
  if (log_) log_->WriteEntry(text);
}

} // namespace update
