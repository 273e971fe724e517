#include "Program.h"

#include "AddressBookLoader.h"
#include "GuardedApplication.h"
#include "InstanceGuard.h"
#include "MainWindow.h"
#include "MessageBoxes.h"
#include "MessageDialog.h"
#include "OutboxPage.h"
#include "ProxyConfigurator.h"
#include "QtMessagePoster.h"
#include "QtUserPrompt.h"
#include "ShutdownSequence.h"
#include "SignalBridge.h"
#include "SmsPage.h"
#include "TestTrace.h"
#include "UiText.h"
#include "WorkerLists.h"

#include "engine/CommsWorker.h"
#include "engine/EngineServices.h"
#include "engine/GatewayBinding.h"
#include "engine/UserPrompt.h"
#include "shell/Logger.h"
#include "shell/NameTables.h"
#include "shell/ProcessObjects.h"
#include "shell/SecretServiceVault.h"
#include "shell/Settings.h"
#include "shell/SettingsFile.h"
#include "shell/StringTable.h"
#include "store/SmsStore.h"

#ifdef DOVETEXT_HAS_CONTACTS
#include "MailRoutingDialog.h"
#include "contacts/RecentList.h"
#endif

#include <automation/automation.h>
#include <parlink/Parlink.h>
#include <registry/Registry.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QSessionManager>
#include <QVersionNumber>

#include <unistd.h>

#include <exception>

namespace contacts {
#ifndef DOVETEXT_HAS_CONTACTS
class RecentList {};
#endif
} // namespace contacts


namespace ui {

namespace {
const char *const kNoDataCaption = "Critical error...";
const char *const kNoDataText =
    "Can't find data file.\nThe application is not installed correctly.  Please reinstall!";
const char *const kOldToolkitCaption = "Warning";
const char *const kOldToolkitText =
    "Warning:  The version of ComCtrl32.dll on your machine is to old.\nPlease upgrade your "
    "Internet Explorer to at least version 4.0.";
constexpr int kUnexpectedCaptionId = 1363;
constexpr int kUnexpectedTextId = 1364;
constexpr unsigned kErrorBox = engine::kBoxOk | engine::kBoxIconError;

// What a worker stuck inside a gateway call may still use, kept to the end
// of the process and never freed (reachable, so no leak checker counts it).
struct LeftToWorker {
  std::unique_ptr<shell::SecretServiceVault> vault;
  std::unique_ptr<shell::Settings> settings;
  std::unique_ptr<shell::SettingsFile> settingsFile;
  std::unique_ptr<store::SmsStore> store;
  std::unique_ptr<shell::Logger> logger;
  std::unique_ptr<shell::StringTable> strings;
  std::unique_ptr<shell::NameTables> names;
  std::unique_ptr<QtMessagePoster> poster;
  std::unique_ptr<QtUserPrompt> prompt;
  std::unique_ptr<QtOutboxRebuilder> rebuilder;
  std::unique_ptr<engine::GatewayBinding> gateway;
  std::unique_ptr<engine::CommsWorker> worker;
};
// Volatile: a pointer that is only ever written would be optimised away,
// and what it holds would then look leaked.
LeftToWorker *volatile gLeftToWorker = nullptr;
} // namespace

Program::Program() {
  QApplication::setQuitOnLastWindowClosed(false);
}

Program::~Program() = default;

int Program::Run() {
  TestTrace::Step("start");
  instance_ = std::make_unique<InstanceGuard>();
  switch (instance_->Acquire()) {
  case InstanceGuard::Outcome::Acquired:
    break;
  case InstanceGuard::Outcome::OtherInstance:
    TestTrace::Step(instance_->OtherAnswered() ? "other-instance-answered" : "other-instance");
    return 0;
  case InstanceGuard::Outcome::Failed:
    TestTrace::Step("instance-lock-failed");
    return 0;
  }
  TestTrace::Step("instance");

  if (!FindDataFolder()) {
    MessageBoxes::Show(nullptr, kNoDataText, kNoDataCaption, kErrorBox);
    TestTrace::Step("exit");
    return 0;
  }
  CreateCoreObjects();

  int exitCode = 0;
  bool failed = false;
  try {
    exitCode = RunGuarded();
  } catch (const std::exception &) {
    failed = true;
  } catch (...) {
    failed = true;
  }
  if (failed) {
    exitCode = 0;
    ShowUnexpectedError();
    // The worker must not outlive the store, whatever was interrupted.
    try {
      StopWorker();
      DestroyWindows();
    } catch (...) {
    }
  }
  Teardown();
  TestTrace::Step("exit");
  return exitCode;
}

bool Program::FindDataFolder() {
  registry::Registry reg;
  auto value = reg.GetValue(registry::Hive::LocalMachine, kRegistryKey, kDataPathValue);
  // The value must fit the 260-byte buffer with its terminating zero, and a
  // single character (a lone drive letter) is no folder.
  if (!value || value->size() < 2 || value->size() >= kDataPathBuffer) return false;
  std::string folder = value->substr(0, value->find('\0'));
  if (folder.size() < 2) return false;
  dataFolder_ = folder;
  TestTrace::Step("data-folder");
  return true;
}

void Program::CreateCoreObjects() {
  if (chdir(dataFolder_.c_str()) != 0) TestTrace::Step("chdir-failed");

  // The desktop keyring keeps the passwords when there is one.
  vault_ = std::make_unique<shell::SecretServiceVault>();
  shell::SetPasswordVault(vault_.get());
  settings_ = std::make_unique<shell::Settings>();
  settingsFile_ = std::make_unique<shell::SettingsFile>(dataFolder_ + "/SMS.dat", true);
  shell::LoadSettings(*settingsFile_, *settings_);
  shell::gSettingsFile = settingsFile_.get();
  shell::gSettings = settings_.get();
  TestTrace::Step("settings");

  store::StoreServices services;
  services.settings = settings_.get();
  store_ = std::make_unique<store::SmsStore>(dataFolder_, services);
  store::gStore = store_.get();
  TestTrace::Step("store");

  logger_ = std::make_unique<shell::Logger>(dataFolder_ + "/SMS.log");
  shell::gLogger = logger_.get();
  store_->SetLogWriter(logger_.get());
  if (settings_->WriteLog) logger_->WriteEntry(vault_->Describe());
  // A keyring given up later (locked, refused) is logged too; the logger
  // outlives the hook (it is removed before the logger goes).
  vault_->OnGiveUp([log = logger_.get(), settings = settings_.get()](const std::string &where) {
    if (shell::ReadSetting(*settings, &shell::Settings::WriteLog)) log->WriteEntry(where);
  });
  // From here on the end of the session (SIGTERM, SIGINT, SIGHUP) ends the
  // program cleanly, during start-up too.
  signals_ = std::make_unique<SignalBridge>();
  connect(signals_.get(), &SignalBridge::Terminate, this, [this] { EndSession(); });
  TestTrace::Step("logger");

  automationStarted_ = SUCCEEDED(CoInitialize(nullptr));
  TestTrace::Step("automation");

  strings_ = std::make_unique<shell::StringTable>();
  if (settings_->i18n) strings_->LoadTranslation(dataFolder_ + "/Language.dll");
  shell::gStrings = strings_.get();
  store_->SetStringTable(strings_.get());
  TestTrace::Step("resources");
}

bool Program::ToolkitIsCurrent() {
  QVersionNumber running = QVersionNumber::fromString(QString::fromLatin1(qVersion()));
  QVersionNumber built(QT_VERSION_MAJOR, QT_VERSION_MINOR, QT_VERSION_PATCH);
  return !(running < built);
}

bool Program::StartupStopped() {
  // An exception that escaped an event handler during a wait of start-up
  // (or shut-down) goes the way of any other exception here.
  GuardedApplication::RethrowEscaped();
  if (signals_) signals_->Poll();
  return sessionEnded_;
}

int Program::EndStoppedStartup() {
  // As at the end of a session: the settings are saved, the rest of the
  // shut-down follows.
  SaveAllSettings();
  DestroyWindows();
  return 0;
}

int Program::RunGuarded() {
  if (StartupStopped()) return EndStoppedStartup();
  if (!ToolkitIsCurrent()) {
    MessageBoxes::Show(nullptr, kOldToolkitText, kOldToolkitCaption, kErrorBox);
    return 0; // nothing of the window side exists yet
  }
  TestTrace::Step("toolkit");

  names_ = std::make_unique<shell::NameTables>();
  names_->Load(*strings_);
  shell::gNames = names_.get();
  store_->SetNameTables(names_.get());
  TestTrace::Step("names");

#ifdef DOVETEXT_HAS_CONTACTS
  // Address books: which mail clients can be read is decided once; with one,
  // the program's registration with a mail client is checked.
  auto access = contacts::AddressBookAccess::Decide();
  contacts::MailClientRegistry mailClients;
  if (access.MailAvailable()) {
    MailRoutingDialog::CheckRegistration(access, mailClients, false, nullptr);
    TestTrace::Step("mail-routing");
  }
  addressBooks_ = std::make_unique<AddressBookLoader>(
      contacts::AddressBookReader(std::move(access), mailClients), settings_.get());
  TestTrace::Step("address-books");

  // The recent recipients start from what the settings kept.
  recent_ = std::make_unique<contacts::RecentList>();
  recent_->Reset();
  recent_->LoadFrom(*settings_);
#endif
  TestTrace::Step("recent");

  poster_ = std::make_unique<QtMessagePoster>();
  prompt_ = std::make_unique<QtUserPrompt>(qApp);
  rebuilder_ = std::make_unique<QtOutboxRebuilder>();
  if (StartupStopped()) return EndStoppedStartup();
  if (!CreateGateway()) {
    MessageBoxes::Show(nullptr, Text(engine::GatewayBinding::kCreateFailedTextId),
                       Text(engine::GatewayBinding::kCreateFailedCaptionId), kErrorBox);
    DestroyWindows();
    return 0;
  }
  MoveGateway();
  ApplyConnection();
  if (StartupStopped()) return EndStoppedStartup();

  int exitCode = RunWindow();
  StopWorker();
  if (runReached_) SaveAllSettings();
  DestroyWindows();
  GuardedApplication::RethrowEscaped();
  return exitCode;
}

bool Program::CreateGateway() {
  HRESULT status = S_OK;
  gateway_ = engine::GatewayBinding::Create(&status);
  if (!gateway_) {
    TestTrace::Step("gateway-failed");
    return false;
  }
  engine::EngineServices services;
  services.store = store_.get();
  services.gateway = gateway_.get();
  services.settings = settings_.get();
  services.strings = strings_.get();
  services.log = logger_.get();
  services.poster = poster_.get();
  services.prompt = prompt_.get();
  services.outbox = rebuilder_.get();
  worker_ = std::make_unique<engine::CommsWorker>(services);
  TestTrace::Step("gateway");
  return true;
}

void Program::MoveGateway() {
  registry::Registry reg;
  auto url = reg.GetValue(registry::Hive::LocalMachine, kRegistryKey, kGatewayUrlValue);
  if (!url || url->empty()) return;
  std::string result;
  std::lock_guard unit(gateway_->CallLock());
  HRESULT hr = gateway_->SetBaseURL(
      false, url->c_str(), parlink::BaseUrlKey(static_cast<uint32_t>(url->size())), &result);
  bool moved = SUCCEEDED(hr) && result.rfind("OK:", 0) == 0;
  if (!moved && settings_->WriteLog)
    logger_->Log("The gateway address %s was refused: %s", *url, result);
  TestTrace::Step(moved ? "gateway-url" : "gateway-url-refused");
}

void Program::ApplyConnection() {
  ProxyConfigurator::Run(*gateway_, *settings_, engine::IsWorkingOnLine(*settings_), nullptr);
  TestTrace::Step("connection");
}

UiContext Program::Context() {
  UiContext c;
  c.settings = settings_.get();
  c.settingsFile = settingsFile_.get();
  c.store = store_.get();
  c.gateway = gateway_.get();
  c.prompt = prompt_.get();
  c.poster = poster_.get();
  c.addressBooks = addressBooks_.get();
  c.queuer = worker_.get();
  c.recent = recent_.get();
  c.dataFolder = QString::fromLocal8Bit(dataFolder_.c_str());
  c.startWorker = [this] { return worker_ && worker_->Start(); };
  c.commitStore = [this] {
    if (store_) store_->Commit();
  };
  c.postList = [this](engine::JobKind kind, std::unique_ptr<engine::IdList> list) {
    WorkerLists::For(worker_.get())(kind, std::move(list));
  };
  return c;
}

int Program::RunWindow() {
  runReached_ = true;
  TestTrace::Step("run");
  if (!store_->IsUsable()) {
    MessageBoxes::Show(nullptr, Text(1361), Text(1360), kErrorBox);
    return 0;
  }
  TestTrace::Step("store-usable");

  if (StartupStopped()) return 0;

  window_ = std::make_unique<MainWindow>(Context());
  rebuilder_->SetPage(window_->Outbox());
  connect(window_.get(), &MainWindow::ExitRequested, qApp, [] { QCoreApplication::exit(0); });
  window_->ListenForProbe();
  if (!settings_->StartMinimized) window_->show();
  window_->setFocus();
  TestTrace::Step(settings_->StartMinimized ? "window-hidden" : "window-shown");

  connect(qApp, &QGuiApplication::commitDataRequest, this,
          [this](QSessionManager &) { EndSession(); });

  int code = 0;
  if (!StartupStopped()) code = GuardedApplication::Exec();
  TestTrace::Step("loop-ended");
  window_->Sms()->AbandonEdit();
  window_->Sms()->StopBalanceRefreshes();
  GuardedApplication::RethrowEscaped();

  if (worker_ && worker_->IsRunning() && !workerStuck_) {
    ShutdownSequence sequence(*worker_, *poster_, [this] { store_->Commit(); });
    sequence.Run();
    workerStuck_ = !sequence.WorkerEnded();
    GuardedApplication::RethrowEscaped();
  }
  return code;
}

void Program::EndSession() {
  if (sessionEnded_) return;
  sessionEnded_ = true;
  TestTrace::Step("session-end");
  if (window_) {
    window_->StoreOptionsIfCurrent();
    window_->Sms()->AbandonEdit();
    window_->Sms()->StopBalanceRefreshes();
  }
  StopWorker();
  if (store_) store_->Commit();
  if (window_) window_->hide();
  // Before the event loop runs, start-up notices the end between its steps.
  if (GuardedApplication::InMainLoop()) QCoreApplication::exit(0);
}

void Program::StopWorker() {
  // The worker may be waiting for an answer from a box that will not come.
  if (prompt_) prompt_->Close();
  if (!worker_ || workerStuck_ || !worker_->IsRunning()) return;
  if (worker_->StopAndWait()) {
    TestTrace::Step("worker-stopped");
  } else {
    workerStuck_ = true;
    TestTrace::Step("worker-left-running");
  }
}

void Program::SaveAllSettings() {
#ifdef DOVETEXT_HAS_CONTACTS
  if (recent_) recent_->SaveTo(*settings_);
#endif
  shell::SaveSettings(*settings_, *settingsFile_);
  TestTrace::Step("settings-saved");
}

void Program::DestroyWindows() {
  if (rebuilder_) rebuilder_->SetPage(nullptr);
  if (window_) {
    window_.reset();
    TestTrace::Step("window-destroyed");
  }
  addressBooks_.reset(); // ends a read still running
}

void Program::LeaveToWorker() {
  // The worker thread is still inside a gateway call. What it may reach
  // stays alive, the automation runtime included (the process ends with
  // _exit, without destructors); what the deletions would have done is done
  // here: the store committed and SMS.dat written.
  if (settings_->WriteLog)
    logger_->Log("The communications worker did not stop in time; ending without it.");
  store_->Commit();
  TestTrace::Step("store-committed");
  settingsFile_->Save();
  TestTrace::Step("settings-file-written");
  gLeftToWorker = new LeftToWorker{
      std::move(vault_),  std::move(settings_),  std::move(settingsFile_), std::move(store_),
      std::move(logger_), std::move(strings_),   std::move(names_),        std::move(poster_),
      std::move(prompt_), std::move(rebuilder_), std::move(gateway_),      std::move(worker_)};
}

void Program::Teardown() {
  if (workerStuck_) {
    LeaveToWorker();
    return;
  }
  // The worker and the binding go before the automation runtime ends.
  worker_.reset();
  gateway_.reset();
  if (automationStarted_) {
    CoUninitialize();
    automationStarted_ = false;
    TestTrace::Step("automation-ended");
  }
  if (store_) {
    store::gStore = nullptr;
    store_.reset(); // commits
    TestTrace::Step("store-deleted");
  }
  if (settingsFile_) {
    shell::gSettingsFile = nullptr;
    settingsFile_.reset(); // writes SMS.dat once more
    TestTrace::Step("settings-file-deleted");
  }
  if (logger_) {
    if (vault_) vault_->OnGiveUp(nullptr);
    shell::gLogger = nullptr;
    logger_.reset();
    TestTrace::Step("logger-deleted");
  }
  rebuilder_.reset();
  prompt_.reset();
  poster_.reset();
  shell::gNames = nullptr;
  names_.reset();
  shell::gStrings = nullptr;
  strings_.reset();
  recent_.reset();
  shell::gSettings = nullptr;
  settings_.reset();
  shell::SetPasswordVault(nullptr);
  vault_.reset();
  signals_.reset();
  instance_.reset();
}

void Program::ShowUnexpectedError() {
  TestTrace::Step("unexpected-error");
  MessageDialog::Show(window_ && window_->isVisible() ? window_.get() : nullptr,
                      Text(kUnexpectedCaptionId), Text(kUnexpectedTextId),
                      settings_ ? FromAnsi(settings_->help_url) : QString(), nullptr,
                      engine::kBoxIconError);
}

} // namespace ui
