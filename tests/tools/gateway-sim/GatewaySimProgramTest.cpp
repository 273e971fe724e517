// The gateway-sim program: its first line, its options, its log file and a
// clean stop on SIGTERM.

#include "GatewaySimProcess.h"
#include "SimClient.h"

#include "testsupport/TestEnv.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

using namespace gatewaysimtest;

extern char **environ;

namespace {
// Runs gateway-sim with `args` to completion; its stdout in `out`.
int RunToEnd(std::vector<std::string> args, std::string &out) {
  auto dir = testsupport::MakeTempDir("run");
  std::string outFile = (dir / "out.txt").string();
  std::string program = (testsupport::BinDir() / "gateway-sim").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char *> argv{program.data()};
  for (auto &a : args)
    argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  out = testsupport::ReadFile(outFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace

TEST(SimProgramTest, ListensOnAFreePortAndStopsOnSigterm) {
  GatewaySimProcess first, second;
  std::string error;
  ASSERT_TRUE(first.Start(&error)) << error;
  ASSERT_TRUE(second.Start(&error)) << error;
  EXPECT_NE(first.Port(), second.Port());
  EXPECT_EQ(first.FirstLine(),
            "gateway-sim listening on http://127.0.0.1:" + std::to_string(first.Port()) + "/");
  SimClient client(first.BaseUrl());
  std::string login =
      client.Call("http/auth", SimClient::AccountCredentials("3010101", "demo", "demo123")).body;
  EXPECT_EQ(login.rfind("OK: ", 0), 0u) << login;
  EXPECT_EQ(first.Stop(), 0);
  EXPECT_EQ(second.Stop(), 0);
}

TEST(SimProgramTest, SigtermEndsEvenWithAStalledRequest) {
  GatewaySimProcess sim({"--fault", "utils/*=stall"});
  std::string error;
  ASSERT_TRUE(sim.Start(&error)) << error;
  SimClient client(sim.BaseUrl());
  HttpResult stalled = client.Call("utils/nettest", "", 200);
  EXPECT_FALSE(stalled.transportOk);
  // The stall still holds a request thread; the program must end anyway.
  EXPECT_EQ(sim.Stop(), 0);
}

TEST(SimProgramTest, AccountsFileFlagsAndLogFile) {
  auto dir = testsupport::MakeTempDir("prog");
  auto accounts = dir / "accounts.json";
  testsupport::WriteFile(accounts, R"({"accounts": [{"api_id": "777", "user": "ann",
      "password": "pw", "balance": 3, "vouchers": [{"token": "1234123412341234", "value": 2}]}]})");
  auto log = dir / "log.jsonl";
  GatewaySimProcess sim({"--accounts", accounts.string(), "--api-id", "888", "--client-id", "CLI8",
                         "--balance", "7.5", "--log", log.string(), "--speed", "0", "--fault",
                         "http/ping=error,reply=ERR: 004, Account frozen"});
  std::string error;
  ASSERT_TRUE(sim.Start(&error)) << error;
  SimClient client(sim.BaseUrl());
  std::string ann =
      client.Call("http/auth", SimClient::AccountCredentials("777", "ann", "pw")).body;
  ASSERT_EQ(ann.rfind("OK: ", 0), 0u) << ann;
  EXPECT_EQ(client.Call("http/getbalance", "session_id=" + ann.substr(4)).body, "Credit: 3");
  EXPECT_EQ(client.Call("http/ping", "session_id=" + ann.substr(4)).body,
            "ERR: 004, Account frozen");
  std::string flagged =
      client.Call("http/cli_auth", SimClient::ClientCredentials("CLI8", "demo", "demo123")).body;
  ASSERT_EQ(flagged.rfind("OK: ", 0), 0u) << flagged;
  EXPECT_EQ(client.Call("http/getbalance", "session_id=" + flagged.substr(4)).body, "Credit: 7.5");
  // The demo account is not there when accounts are given.
  EXPECT_EQ(
      client.Call("http/auth", SimClient::AccountCredentials("3010101", "demo", "demo123")).body,
      "ERR: 001, Authentication failed");
  EXPECT_EQ(sim.Stop(), 0);

  std::ifstream in(log);
  int lines = 0;
  for (std::string line; std::getline(in, line); ++lines) {
    auto entry = nlohmann::json::parse(line);
    EXPECT_TRUE(entry.contains("reply"));
  }
  EXPECT_EQ(lines, 6);
}

TEST(SimProgramTest, HelpNamesTheDemoAccountAndBadOptionsFail) {
  std::string out;
  EXPECT_EQ(RunToEnd({"--help"}, out), 0);
  for (const char *needle : {"api_id 3010101", "client_id DVTX", "user demo", "password demo123",
                             "100 credits", "--fault", "--https-port", "--speed", "/_admin/"}) {
    EXPECT_NE(out.find(needle), std::string::npos) << needle;
  }
  EXPECT_EQ(RunToEnd({"--no-such-option"}, out), 2);
  EXPECT_EQ(RunToEnd({"--port", "70000"}, out), 2);
  EXPECT_EQ(RunToEnd({"--fault", "http/auth=explode"}, out), 2);
  EXPECT_EQ(RunToEnd({"--https-port", "0"}, out), 2);
  EXPECT_EQ(RunToEnd({"--accounts", "/nonexistent.json"}, out), 2);
  EXPECT_EQ(RunToEnd({"--voucher", "123=5"}, out), 2);
  EXPECT_EQ(RunToEnd({"--throttle", "5/hour"}, out), 2);
  EXPECT_EQ(RunToEnd({"--version"}, out), 0);
  EXPECT_EQ(out.rfind("gateway-sim ", 0), 0u);
}
