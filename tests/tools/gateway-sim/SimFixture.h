#pragma once
// A test fixture with an in-process simulator on a free loopback port,
// frozen simulated time (tests move it on purpose), reproducible
// identifiers, and Parlink-style request helpers.

#include "SimClient.h"

#include <gatewaysim/GatewaySimServer.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace gatewaysimtest {

inline constexpr int64_t kStartMs = 1700000000000; // 2023-11-14T22:13:20Z
inline constexpr const char *kApiId = "3010101";
inline constexpr const char *kClientId = "DVTX";
inline constexpr const char *kUser = "demo";
inline constexpr const char *kPassword = "demo123";
inline constexpr const char *kNumber = "27831234567";

class SimFixture : public ::testing::Test {
protected:
  // Options every test starts from; a test may change them before Start().
  static gatewaysim::SimOptions DefaultOptions();

  void SetUp() override;
  void TearDown() override;
  // (Re)starts the simulator with `options`.
  void Start(const gatewaysim::SimOptions &options);

  // "OK: <session>" from a scrambled login, and the session alone.
  std::string Login();
  // Sends "session_id=..&text=..&to=.." plus `options` and the trailing
  // "&mo=0&msg_type=SMS_TEXT"; returns the reply.
  std::string Send(const std::string &session, const std::string &to, const std::string &text,
                   const std::string &options = "");
  std::string Reply(const std::string &path, const std::string &body);
  // The identifier of an "ID: <id>" reply (empty otherwise).
  static std::string IdOf(const std::string &reply);
  void Advance(int64_t ms) { server->AdvanceMs(ms); }

  std::unique_ptr<gatewaysim::GatewaySimServer> server;
  std::unique_ptr<SimClient> client;
};

} // namespace gatewaysimtest
