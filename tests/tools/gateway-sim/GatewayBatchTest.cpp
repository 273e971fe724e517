// Batches as the library and the program use them: start with a template
// and options, items with fields, quick sends to comma-separated numbers
// (one reply line per number), end.

#include "SimFixture.h"

#include <nlohmann/json.hpp>

#include <sstream>

using namespace gatewaysimtest;

namespace {
std::vector<std::string> Lines(const std::string &text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}
} // namespace

class SimBatchTest : public SimFixture {
protected:
  std::string StartBatch(const std::string &templateText, const std::string &options = "") {
    return Reply("http_batch/startbatch", "session_id=" + session +
                                              "&template=" + SimClient::Encode(templateText) +
                                              options + "&mo=0&msg_type=SMS_TEXT");
  }
  std::string session;
};

TEST_F(SimBatchTest, QuickSendAnswersOneLinePerNumber) {
  session = Login();
  std::string start = StartBatch("Sale today", "&from=Shop");
  ASSERT_TRUE(MatchesReply(start, "ID: <id>")) << start;
  std::string batch = start.substr(4);
  std::string numbers = "27831234567,27831234666,123,+27831230000";
  std::string reply = Reply("http_batch/quicksend", "session_id=" + session + "&batch_id=" + batch +
                                                        "&to=" + SimClient::Encode(numbers));
  EXPECT_EQ(reply.back() == '\n', false);
  auto lines = Lines(reply);
  ASSERT_EQ(lines.size(), 4u) << reply;
  EXPECT_TRUE(MatchesReply(lines[0], "ID: <id> To: 27831234567")) << lines[0];
  ASSERT_TRUE(MatchesReply(lines[1], "ID: <id> To: 27831234666")) << lines[1];
  std::string failingId = lines[1].substr(4, 32);
  EXPECT_EQ(lines[2], "ERR: 105, Invalid Destination Address To: 123");
  EXPECT_TRUE(MatchesReply(lines[3], "ID: <id> To: +27831230000")) << lines[3];

  EXPECT_EQ(
      Reply("http_batch/endbatch", "session_id=" + session + "&batch_id=" + batch).rfind("OK: ", 0),
      0u);
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 97");
  Advance(25000);
  EXPECT_EQ(Reply("http/querymsg", "session_id=" + session + "&apiMsgId=" + failingId),
            "ID: " + failingId + " Status: 007");

  // The batch options travel with every item.
  auto messages = nlohmann::json::parse(client->AdminGet("messages").body);
  ASSERT_EQ(messages.size(), 3u);
  for (const auto &message : messages) {
    EXPECT_EQ(message["from"], "Shop");
    EXPECT_EQ(message["text"], "Sale today");
    EXPECT_EQ(message["batch_id"], batch);
  }
}

TEST_F(SimBatchTest, ItemsFillTheTemplateFields) {
  session = Login();
  std::string batch = StartBatch("Dear #field1#, your code is #field2##field3#.").substr(4);
  std::string item =
      Reply("http_batch/senditem", "session_id=" + session + "&batch_id=" + batch +
                                       "&to=27831234567&field1=A+B&field2=42&field3=");
  ASSERT_EQ(item.rfind("ID: ", 0), 0u) << item;
  EXPECT_NE(item.find(" To: 27831234567"), std::string::npos);
  auto messages = nlohmann::json::parse(client->AdminGet("messages").body);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0]["text"], "Dear A B, your code is 42.");
}

TEST_F(SimBatchTest, UnicodeTemplateIsFilledInUnicode) {
  session = Login();
  // "#field1# €" as UTF-16 hex.
  std::string hex = "0023006600690065006c00640031002300"
                    "2020ac";
  std::string batch = StartBatch(hex, "&unicode=1").substr(4);
  std::string item = Reply("http_batch/senditem", "session_id=" + session + "&batch_id=" + batch +
                                                      "&to=27831234567&field1=Z%e9");
  ASSERT_EQ(item.rfind("ID: ", 0), 0u) << item;
  auto messages = nlohmann::json::parse(client->AdminGet("messages").body);
  EXPECT_EQ(messages[0]["text"], "005a00e9002020ac");
  EXPECT_EQ(messages[0]["readable_text"], "Z\xc3\xa9 \xe2\x82\xac");
}

TEST_F(SimBatchTest, ClosedUnknownOrForeignBatchesAreInvalid) {
  session = Login();
  std::string batch = StartBatch("hello").substr(4);
  std::string ended = Reply("http_batch/endbatch", "session_id=" + session + "&batch_id=" + batch);
  EXPECT_EQ(ended.rfind("OK: ", 0), 0u);
  EXPECT_EQ(Reply("http_batch/quicksend",
                  "session_id=" + session + "&batch_id=" + batch + "&to=27831234567"),
            "ERR: 201, Invalid batch ID");
  EXPECT_EQ(Reply("http_batch/endbatch", "session_id=" + session + "&batch_id=" + batch),
            "ERR: 201, Invalid batch ID");
  EXPECT_EQ(Reply("http_batch/senditem", "session_id=" + session + "&batch_id=&to=27831234567"),
            "ERR: 201, Invalid batch ID");
  EXPECT_EQ(StartBatch(""), "ERR: 202, No batch template");
  EXPECT_EQ(Reply("http_batch/startbatch", "session_id=nope&template=x"),
            "ERR: 003, Session ID expired");
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 100");
}

TEST_F(SimBatchTest, RunningOutOfCreditMidBatchRefusesTheRest) {
  gatewaysim::SimOptions options = DefaultOptions();
  gatewaysim::AccountSpec poor = gatewaysim::SimOptions::DemoAccount();
  poor.balance = 2;
  options.accounts = {poor};
  Start(options);
  session = Login();
  std::string batch = StartBatch("hi").substr(4);
  // A long chunk, as the program sends it: posted, commas encoded.
  std::string numbers;
  for (int i = 0; i < 40; ++i)
    numbers += (i ? "," : "") + std::to_string(27831000000LL + i);
  HttpResult r =
      client->Call("http_batch/quicksend", "session_id=" + session + "&batch_id=" + batch +
                                               "&to=" + SimClient::Encode(numbers));
  EXPECT_EQ(r.method, "POST");
  auto lines = Lines(r.body);
  ASSERT_EQ(lines.size(), 40u);
  EXPECT_EQ(lines[0].rfind("ID: ", 0), 0u);
  EXPECT_EQ(lines[1].rfind("ID: ", 0), 0u);
  EXPECT_EQ(lines[2], "ERR: 301, No credit left To: 27831000002");
  EXPECT_EQ(lines[39], "ERR: 301, No credit left To: 27831000039");
}
