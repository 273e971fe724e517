#include "Program.h"

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
#include "TestTrace.h"
#include "UiText.h"

#include "engine/CommsWorker.h"
#include "engine/EngineServices.h"
#include "engine/GatewayBinding.h"
#include "engine/UserPrompt.h"
#include "shell/Logger.h"
#include "shell/NameTables.h"
#include "shell/ProcessObjects.h"
#include "shell/Settings.h"
#include "shell/SettingsFile.h"
#include "shell/StringTable.h"
#include "store/SmsStore.h"

#ifdef DOVETEXT_HAS_CONTACTS
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
const char *const kUnexpectedCaption = "Unexpected error ...";
const char *const kUnexpectedText = "An unexpected error has terminated the application. Please "
                                    "contact support via the URL below.";
constexpr unsigned kErrorBox = engine::kBoxOk | engine::kBoxIconError;
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

int Program::RunGuarded() {
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
  // The recent recipients start from what the settings kept.
  recent_ = std::make_unique<contacts::RecentList>();
  recent_->Reset();
  recent_->LoadFrom(*settings_);
#endif
  TestTrace::Step("recent");

  poster_ = std::make_unique<QtMessagePoster>();
  prompt_ = std::make_unique<QtUserPrompt>(qApp);
  rebuilder_ = std::make_unique<QtOutboxRebuilder>();
  if (!CreateGateway()) {
    MessageBoxes::Show(nullptr, Text(engine::GatewayBinding::kCreateFailedTextId),
                       Text(engine::GatewayBinding::kCreateFailedCaptionId), kErrorBox);
    DestroyWindows();
    return 0;
  }
  MoveGateway();
  ApplyConnection();

  int exitCode = RunWindow();
  StopWorker();
  if (runReached_) SaveAllSettings();
  DestroyWindows();
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
  c.dataFolder = QString::fromLocal8Bit(dataFolder_.c_str());
  c.startWorker = [this] { return worker_ && worker_->Start(); };
  c.commitStore = [this] {
    if (store_) store_->Commit();
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

  window_ = std::make_unique<MainWindow>(Context());
  rebuilder_->SetPage(window_->Outbox());
  connect(window_.get(), &MainWindow::ExitRequested, qApp, [] { QCoreApplication::exit(0); });
  window_->ListenForProbe();
  if (!settings_->StartMinimized) window_->show();
  window_->setFocus();
  TestTrace::Step(settings_->StartMinimized ? "window-hidden" : "window-shown");

  signals_ = std::make_unique<SignalBridge>();
  connect(signals_.get(), &SignalBridge::Terminate, this, [this] { EndSession(); });
  connect(qApp, &QGuiApplication::commitDataRequest, this,
          [this](QSessionManager &) { EndSession(); });

  int code = QApplication::exec();
  TestTrace::Step("loop-ended");

  if (worker_ && worker_->IsRunning()) {
    ShutdownSequence sequence(*worker_, *poster_, [this] { store_->Commit(); });
    sequence.Run();
  }
  return code;
}

void Program::EndSession() {
  if (sessionEnded_) return;
  sessionEnded_ = true;
  TestTrace::Step("session-end");
  if (window_) window_->StoreOptionsIfCurrent();
  StopWorker();
  if (store_) store_->Commit();
  if (window_) window_->hide();
  QCoreApplication::exit(0);
}

void Program::StopWorker() {
  // The worker may be waiting for an answer from a box that will not come.
  if (prompt_) prompt_->Close();
  if (worker_ && worker_->IsRunning()) {
    worker_->StopAndWait();
    TestTrace::Step("worker-stopped");
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
  signals_.reset();
  if (window_) {
    window_.reset();
    TestTrace::Step("window-destroyed");
  }
}

void Program::Teardown() {
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
  instance_.reset();
}

void Program::ShowUnexpectedError() {
  TestTrace::Step("unexpected-error");
  MessageDialog::Show(window_ && window_->isVisible() ? window_.get() : nullptr, kUnexpectedCaption,
                      kUnexpectedText, settings_ ? FromAnsi(settings_->help_url) : QString());
}

} // namespace ui
