#pragma once
// The engine against the real Parlink library and the gateway simulator:
// the library is registered in the test's own registry, the simulator runs
// in process with its clock frozen, and the engine's ManualClock and the
// simulator's clock are moved together.

#include "EngineTestSupport.h"

#include "engine/GatewayBinding.h"

#include <gatewaysim/GatewaySimServer.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace enginetest {

// One request as the simulator logged it, with its form parameters decoded.
struct SimRequest {
  std::string path;
  std::map<std::string, std::string> params;
  std::string reply;
};

// Registers build/lib/libparlink.so with its DllRegisterServer; false when
// the library or the export is missing.
bool RegisterParlink(std::string *error);

class SimulatorTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  // Options the test may change before SetUp runs the simulator.
  virtual void Configure(gatewaysim::SimOptions &) {}

  // Logs in with the demo account.
  bool Login();
  // Moves both clocks.
  void AdvanceBoth(std::int64_t ms);
  // The simulator's requests whose path ends with `suffix` (all for "").
  std::vector<SimRequest> Requests(const std::string &suffix = "") const;

  std::unique_ptr<gatewaysim::GatewaySimServer> sim;
  std::unique_ptr<engine::GatewayBinding> binding;
  std::unique_ptr<Harness> h;
};

} // namespace enginetest
