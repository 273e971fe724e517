// The parlink command-line client, run as a process against the library
// registered in this test's registry and a recording gateway.

#include "ToolProcess.h"

#include "testsupport/RecordingServer.h"
#include "testsupport/TestEnv.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <string>

namespace {

testsupport::ScriptedReply Reply(const std::string &body) {
  testsupport::ScriptedReply reply;
  reply.body = body;
  return reply;
}

using tooltest::Lines;
using tooltest::RunTool;
using tooltest::ToolResult;

class ParlinkTool : public ::testing::Test {
protected:
  void SetUp() override {
    // A registry of its own for every case, also when the binary runs whole.
    setenv("DOVETEXT_REGISTRY", testsupport::MakeTempDir("registry").c_str(), 1);
    setenv("PARLINK_BASE_URL", server_.BaseUrl().c_str(), 1);
    server_.SetReply("/http/auth", Reply("OK: sess9"));
    server_.SetReply("/http_batch/startbatch", Reply("ID: batch1"));
    server_.SetReply("/http_batch/senditem", Reply("ID: 77"));
  }

  void Register() {
    ToolResult r = RunTool(testsupport::BinDir() / "parlink-regsvr",
                           {(testsupport::LibDir() / "libparlink.so").string()});
    ASSERT_EQ(0, r.exitCode) << r.err;
  }

  ToolResult Run(const std::string &script, std::vector<std::string> args = {}) {
    return RunTool(testsupport::BinDir() / "parlink", args, script);
  }

  // Body of a recorded request, wherever the transport put it.
  static std::string BodyOf(const testsupport::RecordedRequest &r) {
    return r.method == "GET" ? r.query : r.body;
  }

  // The raw listener records POST bodies as they arrive on the wire.
  testsupport::RecordingServer server_{testsupport::RecordingServer::Mode::RawSocket};
};

TEST_F(ParlinkTool, SetGetAndCallPrintOneLineEach) {
  Register();
  ToolResult r = Run("set smsUSER \"bob smith\"\n"
                     "get smsUSER\n"
                     "# a comment\n"
                     "\n"
                     "   \t\n"
                     "set smsQUEUE 7\r\n"
                     "get smsqueue\n"
                     "set smsDELIVERY_ACK 1\n"
                     "get smsDELIVERY_ACK\n"
                     "call EncodeToUnicode \"A\xE2\x82\xAC\"\n"
                     "call ResetSMS\n"
                     "get smsPASSWORD\n");
  ASSERT_EQ(0, r.exitCode) << r.err;
  EXPECT_EQ((std::vector<std::string>{"hr=0x00000000", "smsUSER=bob smith", "hr=0x00000000",
                                      "smsqueue=7", "hr=0x00000000", "smsDELIVERY_ACK=true",
                                      "hr=0x00000000 result=004120ac",
                                      "hr=0x00000000 result=", "smsPASSWORD=[not set]"}),
            Lines(r.out));
  EXPECT_EQ(0u, server_.RequestCount());
}

TEST_F(ParlinkTool, SessionOfOneStepServesTheNext) {
  Register();
  server_.SetReply("/http/ping", Reply("OK: pong"));
  ToolResult r = Run("call Authenticate key ann secret false\n"
                     "get smsSESSION_ID\n"
                     "call Ping\n");
  ASSERT_EQ(0, r.exitCode) << r.err;
  EXPECT_EQ((std::vector<std::string>{"hr=0x00000000 result=OK: sess9", "smsSESSION_ID=sess9",
                                      "hr=0x00000000 result=OK: pong"}),
            Lines(r.out));
  auto requests = server_.Requests();
  ASSERT_EQ(2u, requests.size());
  EXPECT_EQ("api_id=key&user=ann&password=secret", BodyOf(requests[0]));
  EXPECT_EQ("/http/ping", requests[1].path);
  EXPECT_EQ("session_id=sess9", BodyOf(requests[1]));
}

TEST_F(ParlinkTool, QuotesEscapesAndEscapedOutput) {
  Register();
  ToolResult r = Run("call EncodeToUnicode \"a\\\"b\\\\c\\n\\t\"\n"
                     "set smsTEXT \"one\\ntwo\\r\\\\three\"\n"
                     "get smsTEXT\n"
                     "set smsFROM \"\"\n"
                     "get smsFROM\n");
  ASSERT_EQ(0, r.exitCode) << r.err;
  EXPECT_EQ((std::vector<std::string>{"hr=0x00000000 result=006100220062005c0063000a0009",
                                      "hr=0x00000000", "smsTEXT=one\\ntwo\\r\\\\three",
                                      "hr=0x00000000", "smsFROM="}),
            Lines(r.out));
}

TEST_F(ParlinkTool, UnquotedNullIsANullStringQuotedNullIsText) {
  Register();
  ToolResult r = Run("call Authenticate k u p false\n"
                     "call StartBatch \"Hi #field2#\"\n"
                     "call SendBatchItem 4412 null \"null\"\n"
                     "set smsFROM null\n"
                     "get smsFROM\n"
                     "set smsTO \"null\"\n"
                     "get smsTO\n");
  ASSERT_EQ(0, r.exitCode) << r.err;
  auto lines = Lines(r.out);
  ASSERT_EQ(7u, lines.size());
  EXPECT_EQ("hr=0x00000000 result=ID: 77", lines[2]);
  EXPECT_EQ("smsFROM=", lines[4]);
  EXPECT_EQ("smsTO=null", lines[6]);
  auto item = server_.LastRequest();
  ASSERT_TRUE(item.has_value());
  EXPECT_EQ("/http_batch/senditem", item->path);
  EXPECT_EQ("session_id=sess9&batch_id=batch1&to=4412&field2=null", BodyOf(*item));
}

TEST_F(ParlinkTool, ScriptErrorsStopEverythingAndNameTheLine) {
  Register();
  struct Case {
    std::string script;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"call Ping\nget smsUSER\ncall SendMessage a\n", "line 3"},
      {"get smsUSER\nset smsUSER \"unterminated\n", "line 2"},
      {"call Ping\nfetch smsUSER\n", "line 2"},
      {"set smsERROR 5\n", "line 1"},
      {"set smsQUEUE seven\n", "line 1"},
      {"\n\nset smsDELIVERY_ACK maybe\n", "line 3"},
      {"call SendMsg false\n", "line 1"},
      {"call EncodeToUnicode a b\n", "line 1"},
      {"get Ping\n", "line 1"},
      {"call smsUSER\n", "line 1"},
      {"call SetConnectTimeout null\n", "line 1"},
      {"set smsUSER a b\n", "line 1"},
      {"call EncodeToUnicode \"bad\\q\"\n", "line 1"},
  };
  for (const Case &c : cases) {
    ToolResult r = Run(c.script);
    EXPECT_EQ(2, r.exitCode) << c.script;
    EXPECT_NE(std::string::npos, r.err.find(c.line)) << c.script << " -> " << r.err;
    EXPECT_EQ("", r.out) << c.script;
  }
  EXPECT_EQ(0u, server_.RequestCount()); // no step of a faulty script ran
}

TEST_F(ParlinkTool, ObjectThatCannotBeCreated) {
  ToolResult unregistered = Run("call Ping\n");
  EXPECT_EQ(1, unregistered.exitCode);
  EXPECT_NE(std::string::npos, unregistered.err.find("Parlink.SMS")) << unregistered.err;

  Register();
  ToolResult other = Run("call Ping\n", {"--progid", "Nowhere.Class"});
  EXPECT_EQ(1, other.exitCode);
  EXPECT_NE(std::string::npos, other.err.find("Nowhere.Class")) << other.err;
  EXPECT_EQ(0u, server_.RequestCount());
}

TEST_F(ParlinkTool, JsonOutput) {
  Register();
  ToolResult r = Run("set ThrowError true\n"
                     "call Ping\n"
                     "get smsERROR\n"
                     "set smsUSER null\n"
                     "set ThrowError false\n"
                     "call Ping\n"
                     "call EncodeToUnicode A\n"
                     "call ResetSMS\n",
                     {"--json"});
  ASSERT_EQ(0, r.exitCode) << r.err;
  auto lines = Lines(r.out);
  ASSERT_EQ(8u, lines.size());
  std::vector<nlohmann::json> j;
  for (auto &l : lines)
    j.push_back(nlohmann::json::parse(l));

  EXPECT_EQ("set", j[0]["op"]);
  EXPECT_EQ("ThrowError", j[0]["name"]);
  EXPECT_EQ(0, j[0]["hr"]);
  EXPECT_EQ("true", j[0]["value"]);

  EXPECT_EQ("call", j[1]["op"]);
  EXPECT_EQ(0x80004005u, j[1]["hr"].get<uint32_t>());
  EXPECT_TRUE(j[1]["result"].is_null());
  EXPECT_EQ(3, j[1]["smsERROR"]);
  EXPECT_EQ("No valid Session ID", j[1]["smsERROR_DESC"]);
  EXPECT_EQ("No valid Session ID", j[1]["errorinfo"]);

  EXPECT_EQ("get", j[2]["op"]);
  EXPECT_EQ("3", j[2]["value"]);
  EXPECT_TRUE(j[3]["value"].is_null());

  EXPECT_EQ(0, j[5]["hr"]);
  EXPECT_EQ("ERR: 3", j[5]["result"]);
  EXPECT_EQ(3, j[5]["smsERROR"]);
  EXPECT_TRUE(j[5]["errorinfo"].is_null());

  EXPECT_EQ("0041", j[6]["result"]);
  EXPECT_EQ(3, j[6]["smsERROR"]); // a local conversion leaves the last failure alone
  EXPECT_TRUE(j[7]["result"].is_null());
  EXPECT_EQ(0u, server_.RequestCount());
}

TEST_F(ParlinkTool, Utf8TextReachesTheGatewayAsWindows1252) {
  Register();
  // A long API identifier makes the request a POST whose body carries the
  // user name as given (not form-encoded).
  const std::string key(190, 'k');
  ToolResult r = Run("call Authenticate " + key +
                     " \xC3\xA9ric pw false\n"
                     "call SendMsg false \"caf\xC3\xA9\" 4471\n");
  ASSERT_EQ(0, r.exitCode) << r.err;
  auto requests = server_.Requests();
  ASSERT_EQ(2u, requests.size());
  EXPECT_EQ("POST", requests[0].method);
  EXPECT_NE(std::string::npos, requests[0].body.find("&user=\xE9ric&")) << requests[0].body;
  EXPECT_NE(std::string::npos, BodyOf(requests[1]).find("&text=caf%e9&")) << BodyOf(requests[1]);

  // And back: the gateway's byte E9 reads as UTF-8 "é".
  server_.SetReply("/http/ping", Reply("OK: d\xE9j\xE0"));
  ToolResult back = Run("call Authenticate k u p false\ncall Ping\n");
  ASSERT_EQ(0, back.exitCode) << back.err;
  EXPECT_EQ("hr=0x00000000 result=OK: d\xC3\xA9j\xC3\xA0", Lines(back.out).at(1));
}

TEST_F(ParlinkTool, HelpAndUsage) {
  ToolResult help = Run("", {"--help"});
  EXPECT_EQ(0, help.exitCode);
  EXPECT_NE(std::string::npos, help.out.find("--progid"));
  EXPECT_NE(std::string::npos, help.out.find("call NAME"));
  ToolResult bad = Run("", {"--bogus"});
  EXPECT_EQ(2, bad.exitCode);
}

} // namespace
