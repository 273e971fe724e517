#include "UiTestSupport.h"

#include "GuardedApplication.h"
#include "OutboxPage.h"
#include "QtMessagePoster.h"
#include "QtUserPrompt.h"
#include "Theme.h"

#include "engine/GatewayBinding.h"

#include <parlink/Parlink.h>

#include <registry/Registry.h>
#include <testsupport/TestEnv.h>

#include <QApplication>

#include <cstdio>
#include <dlfcn.h>

#include <algorithm>
#include <cstdlib>

namespace uitest {

int RunQtTest(int argc, char **argv, const std::function<int(int, char **)> &run) {
  testsupport::InitSandbox();
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int rc;
  {
    // The program's own application object: an exception escaping an event
    // handler is kept, as in the program, and fails the run unless the test
    // took it up.
    ui::GuardedApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ui::theme::ApplyApplicationLook();
    rc = run(argc, argv);
    if (ui::GuardedApplication::HasEscaped()) {
      std::fprintf(stderr, "An exception escaped an event handler.\n");
      if (rc == 0) rc = 1;
    }
  }
  testsupport::CleanupSandbox();
  return rc;
}

BoxRecorder::BoxRecorder(int answer) : answer_(answer) {
  ui::MessageBoxes::SetHook([this](const ui::BoxRecord &box) {
    boxes_.push_back(box);
    return answer_;
  });
}

BoxRecorder::~BoxRecorder() {
  ui::MessageBoxes::SetHook(nullptr);
}

bool RegisterParlink(QString *error) {
  // In process, as parlink-regsvr does it (no fork in a threaded process);
  // the library stays loaded, as the automation runtime keeps it later.
  const std::string path = (testsupport::LibDir() / "libparlink.so").string();
  void *module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module) {
    if (error) *error = QString::fromLocal8Bit(dlerror());
    return false;
  }
  using Register = HRESULT (*)();
  auto reg = reinterpret_cast<Register>(dlsym(module, "DllRegisterServer"));
  if (!reg) {
    if (error) *error = "DllRegisterServer not exported";
    return false;
  }
  HRESULT hr = reg();
  if (FAILED(hr) && error) *error = QString("DllRegisterServer failed: 0x%1").arg(uint(hr), 8, 16);
  return SUCCEEDED(hr);
}

std::unique_ptr<engine::GatewayBinding> ParlinkAt(const std::string &baseUrl) {
  if (!RegisterParlink()) return nullptr;
  auto binding = engine::GatewayBinding::Create();
  std::string result;
  if (!binding ||
      FAILED(binding->SetBaseURL(false, baseUrl.c_str(),
                                 parlink::BaseUrlKey(static_cast<uint32_t>(baseUrl.size())),
                                 &result)) ||
      result.rfind("OK:", 0) != 0)
    return nullptr;
  return binding;
}

bool SetProgramValue(const std::string &name, const std::string &value) {
  registry::Registry reg;
  return reg.SetValue(registry::Hive::LocalMachine, "SOFTWARE\\Quorvane\\Dvtx3", name, value);
}

std::filesystem::path MakeDataFolder() {
  auto folder = testsupport::MakeTempDir("data");
  SetProgramValue("DataPath", folder.string());
  return folder;
}

engine::EngineServices ProgramServices(store::SmsStore &store, engine::GatewayApi &gateway,
                                       shell::Settings &settings, const shell::StringTable &strings,
                                       ui::QtMessagePoster &poster, ui::QtUserPrompt &prompt,
                                       ui::QtOutboxRebuilder &rebuilder) {
  engine::EngineServices services;
  services.store = &store;
  services.gateway = &gateway;
  services.settings = &settings;
  services.strings = &strings;
  services.poster = &poster;
  services.prompt = &prompt;
  services.outbox = &rebuilder;
  return services;
}

HRESULT FakeGateway::Answer(const std::string &name, std::string *result) {
  calls.push_back(name);
  auto e = errors.find(name);
  lastError = e == errors.end() ? 0 : e->second;
  auto r = replies.find(name);
  if (result)
    *result =
        r == replies.end() ? (lastError ? "ERR: " + std::to_string(lastError) : "OK:") : r->second;
  return S_OK;
}

int FakeGateway::CallCount(const std::string &name) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), name));
}

} // namespace uitest
