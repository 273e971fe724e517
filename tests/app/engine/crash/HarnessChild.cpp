#include "HarnessChild.h"

#include "FastClock.h"

#include "engine/CommsWorker.h"
#include "engine/GatewayBinding.h"
#include "engine/LoginOperation.h"

#include "shell/Logger.h"
#include "shell/Settings.h"
#include "shell/StringTable.h"
#include "store/SmsStore.h"

#include <cstdio>
#include <thread>

namespace crashharness {

namespace {

// Pending, Processing, unknown outcomes or an expansion still under way.
bool WorkLeft(store::SmsStore &store) {
  std::lock_guard table(store.MessageLock());
  return store.CountMessages({.Stat = store::IntRange{0, 0}}) > 0 ||
         store.CountMessages({.Stat = store::IntRange{10, 10}}) > 0 ||
         !store.UnknownOutcomes().empty() || !store.OpenExpansions().empty();
}

} // namespace

int RunChild(const std::string &dataFolder) {
  shell::Settings settings;
  settings.WriteLog = true;
  settings.InstallationID = "dvcrash";
  shell::StringTable strings;
  shell::Logger log(dataFolder + "/SMS.log");
  store::StoreServices storeServices;
  storeServices.log = &log;
  storeServices.settings = &settings;
  storeServices.strings = &strings;
  store::SmsStore store(dataFolder, storeServices);
  if (!store.IsUsable()) {
    std::fprintf(stderr, "the store could not be opened\n");
    return 3;
  }
  HRESULT hr = S_OK;
  std::unique_ptr<engine::GatewayBinding> binding = engine::GatewayBinding::Create(&hr);
  if (!binding) {
    std::fprintf(stderr, "Parlink.SMS could not be created: %08x\n", static_cast<unsigned>(hr));
    return 4;
  }
  if (!engine::LoginOperation::Login(*binding, "DVTX", "demo", "demo123", nullptr, strings).ok) {
    std::fprintf(stderr, "login failed\n");
    return 5;
  }
  std::printf("ready\n");
  std::fflush(stdout);

  FastClock clock(600);
  engine::EngineServices services;
  services.store = &store;
  services.gateway = binding.get();
  services.settings = &settings;
  services.strings = &strings;
  services.log = &log;
  services.clock = &clock;
  engine::CommsWorker worker(services);
  worker.Start();
  while (WorkLeft(store))
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  worker.StopAndWait();
  store.Commit();
  return 0;
}

} // namespace crashharness
