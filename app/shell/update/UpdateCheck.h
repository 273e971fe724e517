#pragma once
// The update check, as a step machine driven by the window's event loop.
//
// Start: without update addresses the support message, and nothing else.
// Otherwise the progress dialog at step 0; after a wait the version file is
// downloaded to "<data>/update.ver"; step 1, a wait, and its version is
// compared with the program's own. Not newer: "You have the latest
// version". Newer: step 2, a wait, the installer is downloaded to
// "<data>/temp/Update.run" and checked against the version file
// (InstallerTrust: a mismatch deletes it and fails like a download);
// "Cancel" is disabled, step 3, a wait, the dialog is hidden and the
// installer started (one that was not verified, or does not start, is
// offered to the user to run by hand); a last wait and the program ends.
// Every other failure shows its message and ends the check; "Cancel" ends it
// quietly at the next point that looks at it. One check at a time.

#include "update/FileVersion.h"
#include "update/InstallerTrust.h"
#include "update/UpdateHost.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>

namespace shell {
class LogWriter;
struct Settings;
} // namespace shell

namespace update {

class UpdateCheck {
public:
  // Steps of the progress dialog.
  static constexpr int kStepContacting = 0;
  static constexpr int kStepLooking = 1;
  static constexpr int kStepDownloading = 2;
  static constexpr int kStepInstalling = 3;
  static constexpr int kSteps = 4;

  // The waits, in milliseconds.
  static constexpr int kStepWait = 1000;
  static constexpr int kInstallWait = 800;
  static constexpr int kExitWait = 500;

  // String ids of the captions and texts.
  static constexpr int kTextVisitSupport = 1200;
  static constexpr int kCaptionUpdate = 1201;
  static constexpr int kCaptionFailed = 1202;
  static constexpr int kTextRunByHand = 1203;
  static constexpr int kTextInstallerFailed = 1204;
  static constexpr int kTextCheckFailed = 1205;
  static constexpr int kTextLatest = 1206;
  static constexpr int kCaptionOk = 1207;

  UpdateCheck(UpdateHost &host, std::filesystem::path dataFolder,
              FileVersion own = FileVersion::Own());

  // Begins a check with the addresses of `settings`; does nothing while a
  // check runs. `log` (may be null) receives why a step failed.
  void Start(const shell::Settings *settings, shell::LogWriter *log);
  // The dialog's "Cancel".
  void Cancel() { cancel_ = true; }
  bool IsRunning() const { return phase_ != Phase::Idle; }
  // Read by the download, which stops after its current chunk once set.
  const std::atomic<bool> &CancelFlag() const { return cancel_; }

  // The host's reports.
  void WaitOver();
  void DownloadOver(int result, const std::string &errorText);

  const std::filesystem::path &VersionFile() const { return versionFile_; }
  const std::filesystem::path &Installer() const { return installer_; }

  // The size field's text: "%dKB" with the whole kilobytes received.
  static std::string SizeText(std::uint64_t bytes);

private:
  enum class Phase {
    Idle,
    Notice,            // the "not configured" message is up
    Contacting,        // step 0 wait
    FetchingVersion,   // version file download
    Looking,           // step 1 wait
    Downloading,       // step 2 wait
    FetchingInstaller, // installer download
    Installing,        // step 3 wait
    Exiting,           // last wait
  };

  bool Cancelled() const { return cancel_.load(); }
  // Sets the step and waits in the given phase.
  void Show(Phase waiting, int step, int milliseconds);
  // Unless cancelled, downloads in the given phase.
  void Fetch(Phase fetching, const std::string &address, const std::filesystem::path &destination,
             bool showSize);
  void Finish();
  void Compare();
  void Install();
  void DownloadFailed(int result, int textId, const char *what, const std::string &errorText);
  void Log(const std::string &text) const;

  UpdateHost &host_;
  std::filesystem::path versionFile_;
  std::filesystem::path installer_;
  FileVersion own_;
  Phase phase_ = Phase::Idle;
  std::atomic<bool> cancel_{false};
  shell::LogWriter *log_ = nullptr;
  std::string versionAddress_;
  std::string installerAddress_;
  std::string pageAddress_;
  UpdateDescriptor descriptor_;
  InstallerTrust::Result trust_{InstallerTrust::Verdict::Unverified, {}};
};

} // namespace update
