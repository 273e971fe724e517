#include "SimFixture.h"

namespace gatewaysimtest {

gatewaysim::SimOptions SimFixture::DefaultOptions() {
  gatewaysim::SimOptions options;
  options.speed = 0;
  options.startTimeMs = kStartMs;
  options.seeded = true;
  options.seed = 7;
  options.threads = 8;
  options.keepAliveTimeoutSec = 1;
  return options;
}

void SimFixture::SetUp() {
  Start(DefaultOptions());
}

void SimFixture::TearDown() {
  if (server) server->Stop();
}

void SimFixture::Start(const gatewaysim::SimOptions &options) {
  if (server) server->Stop();
  server = std::make_unique<gatewaysim::GatewaySimServer>(options);
  std::string error;
  ASSERT_TRUE(server->Start(&error)) << error;
  client = std::make_unique<SimClient>(server->BaseUrl());
}

std::string SimFixture::Reply(const std::string &path, const std::string &body) {
  HttpResult r = client->Call(path, body);
  EXPECT_TRUE(r.transportOk) << path << ": " << r.error;
  EXPECT_EQ(r.status, 200) << path;
  return r.body;
}

std::string SimFixture::Login() {
  std::string reply = Reply(
      "http/auth", SimClient::Scrambled(SimClient::AccountCredentials(kApiId, kUser, kPassword)));
  EXPECT_EQ(reply.rfind("OK: ", 0), 0u) << reply;
  return reply.size() > 4 ? reply.substr(4) : "";
}

std::string SimFixture::Send(const std::string &session, const std::string &to,
                             const std::string &text, const std::string &options) {
  return Reply("http/sendmsg", "session_id=" + session + "&text=" + SimClient::Encode(text) +
                                   "&to=" + SimClient::Encode(to) + options +
                                   "&mo=0&msg_type=SMS_TEXT");
}

std::string SimFixture::IdOf(const std::string &reply) {
  if (reply.rfind("ID: ", 0) != 0) return "";
  return reply.substr(4, 32);
}

} // namespace gatewaysimtest
