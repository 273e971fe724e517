// Fault injection as a client sees it, the admin interface, the request log,
// the secure path's request form, and shutting down with requests pending.

#include "SimFixture.h"

#include "testsupport/TestEnv.h"

#include <curl/curl.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <future>
#include <sstream>

using namespace gatewaysimtest;
using gatewaysim::FaultKind;
using gatewaysim::FaultSpec;
using nlohmann::json;

namespace {
FaultSpec Fault(const std::string &pattern, FaultKind kind) {
  FaultSpec spec;
  spec.pattern = pattern;
  spec.kind = kind;
  return spec;
}

std::vector<json> LogLines(const std::string &text) {
  std::vector<json> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    out.push_back(json::parse(line));
  return out;
}
} // namespace

using SimFaultTest = SimFixture;

TEST_F(SimFaultTest, Http500AndBrokenRepliesReachTheClient) {
  ASSERT_TRUE(server->AddFault(Fault("http/getbalance", FaultKind::Http500)));
  FaultSpec garbage = Fault("http/ping", FaultKind::Garbage);
  ASSERT_TRUE(server->AddFault(garbage));
  std::string session = Login();

  HttpResult error = client->Call("http/getbalance", "session_id=" + session);
  ASSERT_TRUE(error.transportOk);
  EXPECT_EQ(error.status, 500);
  HttpResult page = client->Call("http/ping", "session_id=" + session);
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(page.body.rfind("<html>", 0), 0u);
  EXPECT_EQ(page.body.find('\n'), std::string::npos);
}

TEST_F(SimFaultTest, ErrorRepliesFollowTheirSeed) {
  FaultSpec flaky = Fault("utils/nettest", FaultKind::Error);
  flaky.probability = 0.5;
  flaky.seed = 99;
  flaky.reply = "ERR: 114, Cannot route message";
  ASSERT_TRUE(server->AddFault(flaky));
  std::string first;
  for (int i = 0; i < 30; ++i)
    first += client->Call("utils/nettest", "").body == "OK" ? '.' : 'x';
  EXPECT_NE(first.find('x'), std::string::npos);
  EXPECT_NE(first.find('.'), std::string::npos);

  Start(DefaultOptions());
  ASSERT_TRUE(server->AddFault(flaky));
  std::string second;
  for (int i = 0; i < 30; ++i)
    second += client->Call("utils/nettest", "").body == "OK" ? '.' : 'x';
  EXPECT_EQ(first, second);
}

TEST_F(SimFaultTest, DroppedConnectionGivesNoReply) {
  FaultSpec drop = Fault("http/sendmsg", FaultKind::Drop);
  drop.times = 1;
  ASSERT_TRUE(server->AddFault(drop));
  std::string session = Login();
  HttpResult r = client->Call("http/sendmsg", "session_id=" + session + "&text=x&to=27831234567");
  EXPECT_FALSE(r.transportOk);
  EXPECT_EQ(r.curlCode, CURLE_GOT_NOTHING) << r.error;
  // Nothing was sent or charged, and the next request goes through.
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 100");
  EXPECT_EQ(Send(session, kNumber, "again").rfind("ID: ", 0), 0u);
}

TEST_F(SimFaultTest, FaultAfterProcessingLosesOnlyTheReply) {
  FaultSpec lost = Fault("http/sendmsg", FaultKind::Http500);
  lost.afterProcessing = true;
  ASSERT_TRUE(server->AddFault(lost));
  std::string session = Login();
  HttpResult r = client->Call("http/sendmsg", "session_id=" + session + "&text=x&to=27831234567");
  EXPECT_EQ(r.status, 500);
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 99");
  EXPECT_EQ(json::parse(client->AdminGet("messages").body).size(), 1u);
}

TEST_F(SimFaultTest, StallHoldsTheRequestUntilTheClientGivesUp) {
  FaultSpec stall = Fault("http/querymsg", FaultKind::Stall);
  ASSERT_TRUE(server->AddFault(stall));
  std::string session = Login();
  HttpResult r = client->Call("http/querymsg", "session_id=" + session + "&apiMsgId=x", 300);
  EXPECT_FALSE(r.transportOk);
  EXPECT_EQ(r.curlCode, CURLE_OPERATION_TIMEDOUT) << r.error;
  // Other paths are unaffected while the stall goes on.
  EXPECT_EQ(Reply("utils/nettest", ""), "OK");
}

TEST_F(SimFaultTest, StopReleasesStalledRequests) {
  ASSERT_TRUE(server->AddFault(Fault("*", FaultKind::Stall)));
  auto pending =
      std::async(std::launch::async, [&] { return client->Call("utils/nettest", "", 60000); });
  // Wait until the request is held, then stop: the client sees the
  // connection end instead of waiting for its own time-out.
  for (int i = 0;
       i < 500 && client->AdminGet("counters").body.find("\"stall\":1") == std::string::npos; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  server->Stop();
  HttpResult r = pending.get();
  EXPECT_FALSE(r.transportOk);
  EXPECT_NE(r.curlCode, CURLE_OPERATION_TIMEDOUT);
}

TEST_F(SimFaultTest, LatencyDelaysButAnswers) {
  FaultSpec slow = Fault("utils/*", FaultKind::Latency);
  slow.latencyMs = 50;
  ASSERT_TRUE(server->AddFault(slow));
  EXPECT_EQ(Reply("utils/nettest", ""), "OK");
  auto log = LogLines(server->LogJsonLines());
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0]["fault"], "latency");
  EXPECT_EQ(log[0]["reply"], "OK");
}

TEST_F(SimFaultTest, FaultsAreManagedThroughTheAdminInterface) {
  HttpResult added = client->AdminPost(
      "faults", R"j([{"pattern": "http/(auth|cli_auth)", "regex": true, "kind": "error",
                      "reply": "ERR: 004, Account frozen", "times": 1}])j");
  ASSERT_EQ(added.status, 200) << added.body;
  EXPECT_EQ(Reply("http/auth", SimClient::AccountCredentials(kApiId, kUser, kPassword)),
            "ERR: 004, Account frozen");
  EXPECT_EQ(
      Reply("http/auth", SimClient::AccountCredentials(kApiId, kUser, kPassword)).rfind("OK: ", 0),
      0u);
  HttpResult spec = client->AdminPost("faults?spec=" + SimClient::Encode("utils/*=http500"));
  ASSERT_EQ(spec.status, 200) << spec.body;
  EXPECT_EQ(json::parse(client->AdminGet("faults").body).size(), 2u);
  EXPECT_EQ(client->Call("utils/nettest", "").status, 500);
  EXPECT_EQ(client->AdminPost("faults/clear").status, 200);
  EXPECT_EQ(Reply("utils/nettest", ""), "OK");
  EXPECT_EQ(client->AdminPost("faults", R"({"kind": "bogus"})").status, 400);
  EXPECT_EQ(client->AdminPost("faults", "not json").status, 400);
}

using SimAdminTest = SimFixture;

TEST_F(SimAdminTest, MessagesCountersAndBalances) {
  std::string session = Login();
  std::string id = IdOf(Send(session, kNumber, "Hello \xe9t\xe9", "&from=Shop&cliMsgId=c-1"));
  Send(session, "1", "bad");
  auto messages = json::parse(client->AdminGet("messages?account=DVTX").body);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0]["id"], id);
  EXPECT_EQ(messages[0]["text"], "Hello \xc3\xa9t\xc3\xa9");
  EXPECT_EQ(messages[0]["status"], 2);
  EXPECT_EQ(messages[0]["cli_msg_id"], "c-1");
  EXPECT_EQ(messages[0]["due_ms"], kStartMs);

  auto counters = json::parse(client->AdminGet("counters").body);
  EXPECT_EQ(counters["requests"]["http/auth"], 1);
  EXPECT_EQ(counters["requests"]["http/sendmsg"], 2);
  EXPECT_EQ(counters["messages"], 1);
  EXPECT_EQ(counters["messages_rejected"], 1);
  EXPECT_EQ(counters["credits_charged"], 1.0);
  EXPECT_EQ(client->AdminPost("counters/reset").status, 200);
  EXPECT_EQ(json::parse(client->AdminGet("counters").body)["requests_total"], 0);

  EXPECT_EQ(client->AdminPost("balance?account=3010101&credits=12.5").status, 200);
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 12.5");
  EXPECT_EQ(client->AdminPost("balance", R"({"account": "DVTX", "add": 1})").status, 200);
  EXPECT_EQ(server->Balance("3010101"), 13.5);
  EXPECT_EQ(client->AdminPost("balance?account=nobody&credits=1").status, 404);
  EXPECT_EQ(client->AdminPost("balance?account=DVTX&credits=lots").status, 400);
  EXPECT_EQ(json::parse(client->AdminGet("accounts").body)[0]["user"], "demo");
  EXPECT_EQ(client->AdminGet("nothing-here").status, 404);
}

TEST_F(SimAdminTest, TimeSessionsAndThrottleAtRunTime) {
  std::string session = Login();
  std::string id = IdOf(Send(session, kNumber, "t"));
  EXPECT_EQ(json::parse(client->AdminGet("time").body)["now_ms"], kStartMs);
  EXPECT_EQ(client->AdminPost("time?advance=25").status, 200);
  EXPECT_EQ(Reply("http/querymsg", "session_id=" + session + "&apiMsgId=" + id),
            "ID: " + id + " Status: 004");
  EXPECT_EQ(client->AdminPost("time?set_ms=1800000000000").status, 200);
  EXPECT_EQ(json::parse(client->AdminGet("time").body)["now_ms"], 1800000000000LL);
  EXPECT_EQ(client->AdminPost("time?advance=-5").status, 400);
  EXPECT_EQ(client->AdminPost("time?speed=-1").status, 400);

  session = Login();
  EXPECT_EQ(json::parse(client->AdminPost("sessions/expire").body)["expired"], 1);
  EXPECT_EQ(Reply("http/ping", "session_id=" + session), "ERR: 003, Session ID expired");

  session = Login();
  ASSERT_EQ(client->AdminPost("throttle?max=1&window_ms=60000").status, 200);
  EXPECT_EQ(Send(session, kNumber, "a").rfind("ID: ", 0), 0u);
  EXPECT_EQ(Send(session, kNumber, "b"), "ERR: 117, Throttle limit exceeded");
  ASSERT_EQ(client->AdminPost("throttle?max=0").status, 200);
  EXPECT_EQ(Send(session, kNumber, "c").rfind("ID: ", 0), 0u);
}

TEST_F(SimAdminTest, SpeedFactorRunsSimulatedTime) {
  gatewaysim::SimOptions options = DefaultOptions();
  options.speed = 3600; // an hour a second
  Start(options);
  int64_t before = server->NowMs();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_GE(server->NowMs() - before, 20 * 3600);
}

TEST_F(SimAdminTest, RequestLogShowsEveryExchange) {
  std::string session = Login();
  Send(session, kNumber, "logged, with comma");
  auto log = LogLines(client->AdminGet("log").body);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0]["path"], "http/auth");
  EXPECT_EQ(log[0]["method"], "GET");
  EXPECT_EQ(log[0]["params"]["string_decoded"], "api_id=3010101&user=demo&password=demo123");
  EXPECT_EQ(log[0]["reply"], "OK: " + session);
  EXPECT_EQ(log[1]["params"]["text"], "logged, with comma");
  EXPECT_NE(log[1]["query"].get<std::string>().find("logged%2c+with+comma"), std::string::npos);
  EXPECT_EQ(log[1]["time_ms"], kStartMs);
  EXPECT_EQ(log[1]["status"], 200);
  uint64_t last = log[1]["seq"];
  Reply("utils/nettest", "");
  auto since = LogLines(client->AdminGet("log?since=" + std::to_string(last)).body);
  ASSERT_EQ(since.size(), 1u);
  EXPECT_EQ(since[0]["path"], "utils/nettest");
  EXPECT_EQ(client->AdminPost("log/clear").status, 200);
  EXPECT_TRUE(client->AdminGet("log").body.empty());
}

TEST_F(SimAdminTest, LogFileGetsJsonLines) {
  gatewaysim::SimOptions options = DefaultOptions();
  auto file = testsupport::MakeTempDir("log") / "requests.jsonl";
  options.logFile = file.string();
  Start(options);
  Login();
  Reply("utils/nettest", "");
  server->Stop();
  auto lines = LogLines(testsupport::ReadFile(file));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1]["reply"], "OK");
}

using SimTransportTest = SimFixture;

TEST_F(SimTransportTest, AbsoluteFormRequestLikeTheSecurePath) {
  std::string body = SimClient::Scrambled(SimClient::AccountCredentials(kApiId, kUser, kPassword));
  HttpResult r = client->AbsoluteFormPost("http/auth", body);
  ASSERT_TRUE(r.transportOk) << r.error;
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body.rfind("OK: ", 0), 0u) << r.body;
  HttpResult send =
      client->AbsoluteFormPost("http/sendmsg", "session_id=" + r.body.substr(4) +
                                                   "&text=a&to=27831234567&mo=0&msg_type=SMS_TEXT");
  EXPECT_EQ(send.body.rfind("ID: ", 0), 0u) << send.body;
}

TEST_F(SimTransportTest, HttpsListenerServesTheSecurePath) {
  auto dir = testsupport::MakeTempDir("tls");
  std::string cert = (dir / "cert.pem").string();
  std::string key = (dir / "key.pem").string();
  std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=localhost"
                        " -addext subjectAltName=DNS:localhost,IP:127.0.0.1 -keyout " +
                        key + " -out " + cert + " >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "openssl command not available";
  gatewaysim::SimOptions options = DefaultOptions();
  options.httpsPort = 0;
  options.certFile = cert;
  options.keyFile = key;
  Start(options);
  ASSERT_GT(server->HttpsPort(), 0);
  std::string body = SimClient::Scrambled(SimClient::AccountCredentials(kApiId, kUser, kPassword));
  HttpResult r = client->SecurePost(server->HttpsPort(), cert, "http/auth", body);
  ASSERT_TRUE(r.transportOk) << r.error;
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body.rfind("OK: ", 0), 0u) << r.body;

  FaultSpec drop = Fault("utils/nettest", FaultKind::Drop);
  ASSERT_TRUE(server->AddFault(drop));
  HttpResult dropped = client->SecurePost(server->HttpsPort(), cert, "utils/nettest", "");
  EXPECT_FALSE(dropped.transportOk);
  EXPECT_TRUE(dropped.body.empty());
}

TEST_F(SimTransportTest, BadCertificateOrBusyPortFailsToStart) {
  gatewaysim::SimOptions options = DefaultOptions();
  options.httpsPort = 0;
  options.certFile = "/nonexistent/cert.pem";
  options.keyFile = "/nonexistent/key.pem";
  gatewaysim::GatewaySimServer broken(options);
  std::string error;
  EXPECT_FALSE(broken.Start(&error));
  EXPECT_NE(error.find("certificate"), std::string::npos);

  gatewaysim::SimOptions busy = DefaultOptions();
  busy.port = server->Port();
  gatewaysim::GatewaySimServer second(busy);
  EXPECT_FALSE(second.Start(&error));
  EXPECT_NE(error.find(std::to_string(server->Port())), std::string::npos);
}
