#pragma once
// The program's entry and the one owner of its process-wide objects. Start-
// up creates them in a fixed order: the single-instance lock, the data
// folder, the settings file and record, the store, the log, the automation
// runtime, the string table, the name tables, the address books (and the
// mail-client registration), the gateway binding and the
// communications worker, then the main window and its event loop. Shut-down
// stops the worker first, saves the settings and deletes everything in the
// reverse order, committing the store on the way. Every start-up failure
// ends with a message box (where there is one to show) and exit code 0.

#include "UiContext.h"

#include <QObject>
#include <QString>

#include <memory>
#include <string>

namespace lockfile {
class LockFile;
}
namespace shell {
class Logger;
class NameTables;
class SecretServiceVault;
class SettingsFile;
class StringTable;
struct Settings;
} // namespace shell
namespace store {
class SmsStore;
}
namespace engine {
class CommsWorker;
class GatewayBinding;
} // namespace engine
namespace contacts {
class RecentList;
}

namespace ui {

class AddressBookLoader;
class InstanceGuard;
class MainWindow;
class QtMessagePoster;
class QtOutboxRebuilder;
class QtUserPrompt;
class SignalBridge;

class Program : public QObject {
  Q_OBJECT
public:
  static constexpr const char *kRegistryKey = "SOFTWARE\\Quorvane\\Dvtx3";
  static constexpr const char *kDataPathValue = "DataPath";
  static constexpr const char *kGatewayUrlValue = "GatewayURL";
  // The registry value is read into a buffer of this many bytes.
  static constexpr std::size_t kDataPathBuffer = 260;

  Program();
  ~Program() override;

  // The whole run; returns the process's exit code.
  int Run();

  // The user's session ends (log-out, SIGTERM, SIGINT, SIGHUP; from the
  // moment the settings, store and log exist): the Options page is stored
  // when current, the worker stopped, the store committed and the event
  // loop ended, or the rest of start-up skipped.
  void EndSession();

  MainWindow *Window() const { return window_.get(); }

  // After Run: the worker did not stop in time (it is stuck inside a
  // gateway call). Everything it uses was left alive, so the process must
  // end without running destructors (_exit).
  bool WorkerLeftRunning() const { return workerStuck_; }

private:
  bool FindDataFolder();
  void CreateCoreObjects();
  int RunGuarded();
  bool ToolkitIsCurrent();
  bool CreateGateway();
  void MoveGateway();
  void ApplyConnection();
  int RunWindow();
  bool StartupStopped();
  int EndStoppedStartup();
  void StopWorker();
  void SaveAllSettings();
  void DestroyWindows();
  void Teardown();
  void LeaveToWorker();
  void ShowUnexpectedError();
  UiContext Context();

  std::unique_ptr<InstanceGuard> instance_;
  std::string dataFolder_;
  std::unique_ptr<shell::SecretServiceVault> vault_;
  std::unique_ptr<shell::Settings> settings_;
  std::unique_ptr<shell::SettingsFile> settingsFile_;
  std::unique_ptr<store::SmsStore> store_;
  std::unique_ptr<shell::Logger> logger_;
  bool automationStarted_ = false;
  std::unique_ptr<shell::StringTable> strings_;
  std::unique_ptr<shell::NameTables> names_;
  std::unique_ptr<contacts::RecentList> recent_;
  std::unique_ptr<AddressBookLoader> addressBooks_;
  std::unique_ptr<QtMessagePoster> poster_;
  std::unique_ptr<QtUserPrompt> prompt_;
  std::unique_ptr<QtOutboxRebuilder> rebuilder_;
  std::unique_ptr<engine::GatewayBinding> gateway_;
  std::unique_ptr<engine::CommsWorker> worker_;
  std::unique_ptr<SignalBridge> signals_;
  std::unique_ptr<MainWindow> window_;
  bool runReached_ = false;
  bool sessionEnded_ = false;
  bool workerStuck_ = false;
};

} // namespace ui
