#include "SimulatorFixture.h"

#include "engine/LoginOperation.h"

#include <automation/automation.h>
#include <nlohmann/json.hpp>

#include <codepage/Codepage.h>

#include <dlfcn.h>

#include <cstdlib>
#include <sstream>

namespace enginetest {

namespace {

std::string FormDecode(const std::string &s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '+') {
      out += ' ';
    } else if (s[i] == '%' && i + 2 < s.size()) {
      out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

void AddParams(const std::string &form, std::map<std::string, std::string> &params) {
  std::size_t start = 0;
  while (start < form.size()) {
    std::size_t amp = form.find('&', start);
    std::string pair =
        form.substr(start, amp == std::string::npos ? std::string::npos : amp - start);
    std::size_t eq = pair.find('=');
    if (eq != std::string::npos) params[pair.substr(0, eq)] = FormDecode(pair.substr(eq + 1));
    if (amp == std::string::npos) break;
    start = amp + 1;
  }
}

} // namespace

bool RegisterParlink(std::string *error) {
  std::string path = (testsupport::LibDir() / "libparlink.so").string();
  void *module = dlopen(path.c_str(), RTLD_NOW);
  if (module == nullptr) {
    *error = dlerror();
    return false;
  }
  auto reg = reinterpret_cast<PFN_DllRegisterServer>(dlsym(module, "DllRegisterServer"));
  if (reg == nullptr) {
    *error = "no DllRegisterServer";
    return false;
  }
  HRESULT hr = reg();
  if (FAILED(hr)) {
    *error = "DllRegisterServer failed";
    return false;
  }
  return true;
}

void SimulatorTest::SetUp() {
  std::string error;
  ASSERT_TRUE(RegisterParlink(&error)) << error;
  gatewaysim::SimOptions options;
  options.speed = 0;
  options.startTimeMs = kStartSeconds * 1000;
  options.sessionIdleMs = 7LL * 24 * 3600 * 1000;
  options.seeded = true;
  options.seed = 7;
  options.threads = 4;
  gatewaysim::AccountSpec demo = gatewaysim::SimOptions::DemoAccount();
  demo.balance = 100000;
  options.accounts = {demo};
  Configure(options);
  sim = std::make_unique<gatewaysim::GatewaySimServer>(options);
  ASSERT_TRUE(sim->Start(&error)) << error;
  setenv("PARLINK_BASE_URL", sim->BaseUrl().c_str(), 1);

  HRESULT hr = S_OK;
  binding = engine::GatewayBinding::Create(&hr);
  ASSERT_TRUE(binding) << std::hex << hr;
  h = std::make_unique<Harness>(binding.get());
  h->settings.WriteLog = true;
  h->settings.Login = "demo";
  h->settings.Password = "demo123";
}

void SimulatorTest::TearDown() {
  h.reset();
  binding.reset();
  if (sim) sim->Stop();
}

bool SimulatorTest::Login() {
  engine::LoginOperation::Result r =
      engine::LoginOperation::Login(*binding, "DVTX", "demo", "demo123", &h->prompts, h->strings);
  return r.ok;
}

void SimulatorTest::AdvanceBoth(std::int64_t ms) {
  sim->AdvanceMs(ms);
  h->clock.Advance(ms);
}

std::vector<SimRequest> SimulatorTest::Requests(const std::string &suffix) const {
  std::vector<SimRequest> out;
  std::istringstream lines(sim->LogJsonLines());
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty()) continue;
    nlohmann::json entry = nlohmann::json::parse(line, nullptr, false);
    if (entry.is_discarded()) continue;
    SimRequest request;
    request.path = entry.value("path", "");
    if (!suffix.empty() &&
        (request.path.size() < suffix.size() ||
         request.path.compare(request.path.size() - suffix.size(), suffix.size(), suffix) != 0))
      continue;
    AddParams(codepage::Utf8ToAnsi(entry.value("query", "")), request.params);
    AddParams(codepage::Utf8ToAnsi(entry.value("body", "")), request.params);
    request.reply = codepage::Utf8ToAnsi(entry.value("reply", ""));
    out.push_back(std::move(request));
  }
  return out;
}

} // namespace enginetest
