// The Parlink SMS object against the simulator, called through its vtable:
// the two must agree on every request and reply. The object's transport is
// process-wide, so each test moves it to its own simulator with SetBaseURL
// (PARLINK_BASE_URL is set as well, for the very first call).

#include "SimClient.h"

#include <automation/automation.h>
#include <codepage/Codepage.h>
#include <gatewaysim/GatewaySimServer.h>
#include <parlink/Parlink.h>

#include "TestSms.h"
#include "testsupport/TestEnv.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using gatewaysim::FaultKind;
using gatewaysim::FaultSpec;
using gatewaysimtest::SimClient;

constexpr int64_t kStartMs = 1700000000000;
const char *const kNumber = "27831234567";

using parlinktest::TestSms;

// An owned automation string passed straight into a call.
class Bstr : public parlinktest::Bstr {
public:
  using parlinktest::Bstr::Bstr;
  operator BSTR() const { return get(); }
};

// Takes a result string, frees it and returns its UTF-8.
std::string Take(BSTR value) {
  std::string out = value ? codepage::Utf16ToUtf8(std::u16string(value, SysStringLen(value))) : "";
  SysFreeString(value);
  return out;
}

struct SmsDeleter {
  void operator()(TestSms *sms) const { sms->Release(); }
};

class SimParlinkTest : public ::testing::Test {
protected:
  void SetUp() override { StartSimulator(Options()); }

  static gatewaysim::SimOptions Options() {
    gatewaysim::SimOptions options;
    options.speed = 0;
    options.startTimeMs = kStartMs;
    options.threads = 8;
    options.keepAliveTimeoutSec = 1;
    return options;
  }

  void StartSimulator(const gatewaysim::SimOptions &options) {
    server = std::make_unique<gatewaysim::GatewaySimServer>(options);
    std::string error;
    ASSERT_TRUE(server->Start(&error)) << error;
    setenv("PARLINK_BASE_URL", server->BaseUrl().c_str(), 1);
    sms.reset(TestSms::Create());
    std::string url = server->BaseUrl();
    BSTR result = nullptr;
    ASSERT_EQ(sms->SetBaseURL(VARIANT_FALSE, Bstr(url),
                              parlink::BaseUrlKey(static_cast<uint32_t>(url.size())), &result),
              S_OK);
    ASSERT_EQ(Take(result).rfind("OK: ", 0), 0u);
  }

  long Error() {
    LONG code = -1;
    sms->get_smsERROR(&code);
    return code;
  }
  std::string Text(HRESULT (SMS::*get)(BSTR *)) {
    BSTR value = nullptr;
    (sms.get()->*get)(&value);
    return Take(value);
  }
  bool LoggedIn() {
    VARIANT_BOOL in = VARIANT_FALSE;
    sms->get_smsIsLoggedIn(&in);
    return in == VARIANT_TRUE;
  }

  std::string Login(bool encoded = true) {
    BSTR result = nullptr;
    sms->Authenticate(Bstr("3010101"), Bstr("demo"), Bstr("demo123"),
                      encoded ? VARIANT_TRUE : VARIANT_FALSE, &result);
    return Take(result);
  }
  std::string Send(const std::string &text, const std::string &to = kNumber) {
    BSTR result = nullptr;
    sms->SendMsg(VARIANT_TRUE, Bstr(text), Bstr(to), &result);
    return Take(result);
  }
  std::string Query(const std::string &id) {
    BSTR result = nullptr;
    sms->QueryMsgAPIID(Bstr(id), &result);
    return Take(result);
  }
  std::string Stop(const std::string &id) {
    BSTR result = nullptr;
    sms->StopMsgAPIID(Bstr(id), &result);
    return Take(result);
  }
  std::string Charge(const std::string &id) {
    BSTR result = nullptr;
    sms->GetMsgCharge(VARIANT_TRUE, Bstr(id), &result);
    return Take(result);
  }
  std::string Balance() {
    BSTR result = nullptr;
    sms->QueryBalance(&result);
    return Take(result);
  }
  static std::string IdOf(const std::string &reply) {
    return reply.rfind("ID: ", 0) == 0 ? reply.substr(4, 32) : "";
  }
  FaultSpec Fault(const std::string &pattern, FaultKind kind) {
    FaultSpec spec;
    spec.pattern = pattern;
    spec.kind = kind;
    return spec;
  }

  std::unique_ptr<gatewaysim::GatewaySimServer> server;
  std::unique_ptr<TestSms, SmsDeleter> sms;
};

TEST_F(SimParlinkTest, LoginsBothWays) {
  std::string scrambled = Login(true);
  EXPECT_TRUE(gatewaysimtest::MatchesReply(scrambled, "OK: <id>")) << scrambled;
  EXPECT_TRUE(LoggedIn());
  EXPECT_EQ(Text(&SMS::get_smsSESSION_ID), scrambled.substr(4));
  std::string plain = Login(false);
  EXPECT_EQ(plain.rfind("OK: ", 0), 0u) << plain;

  BSTR result = nullptr;
  sms->AuthenticateClient(Bstr("DVTX"), Bstr("demo"), Bstr("demo123"), VARIANT_TRUE, &result);
  EXPECT_EQ(Take(result).rfind("OK: ", 0), 0u);
  EXPECT_EQ(Balance(), "100");

  sms->Authenticate(Bstr("3010101"), Bstr("demo"), Bstr("wrong"), VARIANT_TRUE, &result);
  EXPECT_EQ(Take(result), "ERR: 001, Authentication failed");
  EXPECT_EQ(Error(), 1);
  EXPECT_FALSE(LoggedIn());
  sms->AuthenticateClient(Bstr("DVTX"), Bstr("demo"), Bstr("wrong"), VARIANT_TRUE, &result);
  EXPECT_EQ(Take(result), "");
  EXPECT_EQ(Error(), 1);

  // The simulator saw the scrambled login and could read it.
  auto log = server->LogJsonLines();
  EXPECT_NE(log.find("\"string_decoded\":\"api_id=3010101&user=demo&password=demo123\""),
            std::string::npos);
}

TEST_F(SimParlinkTest, SendQueryAndChargeThroughTheLifecycle) {
  Login();
  std::string sent = Send("Hi there, caf\xc3\xa9");
  ASSERT_EQ(Error(), 0) << sent;
  std::string id = IdOf(sent);
  ASSERT_EQ(id.size(), 32u) << sent;
  EXPECT_EQ(Query(id), "ID: " + id + " Status: 002");
  server->AdvanceMs(5000);
  EXPECT_EQ(Query(id), "ID: " + id + " Status: 003");
  server->AdvanceMs(20000);
  EXPECT_EQ(Query(id), "ID: " + id + " Status: 004");
  EXPECT_EQ(Charge(id), "apiMsgId: " + id + " charge: 1 status: 004");
  EXPECT_EQ(Error(), 0);
  EXPECT_EQ(Balance(), "99");

  auto messages = nlohmann::json::parse(SimClient(server->BaseUrl()).AdminGet("messages").body);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0]["text"], "Hi there, caf\xc3\xa9"); // 8-bit text arrived intact
}

TEST_F(SimParlinkTest, UnicodeAndLongMessagesAreChargedByParts) {
  Login();
  BSTR hex = nullptr;
  std::u16string wide(71, u'\u20ac');
  BSTR euros = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  sms->EncodeToUnicode(euros, &hex);
  SysFreeString(euros);
  sms->put_smsUNICODE(VARIANT_TRUE);
  std::string unicode = Send(Take(hex));
  ASSERT_EQ(Error(), 0) << unicode;
  sms->put_smsUNICODE(VARIANT_FALSE);
  sms->put_smsCONCAT(3);
  std::string longText = Send(std::string(400, 'x'));
  ASSERT_EQ(Error(), 0) << longText;
  EXPECT_EQ(Charge(IdOf(unicode)), "apiMsgId: " + IdOf(unicode) + " charge: 2 status: 002");
  EXPECT_EQ(Charge(IdOf(longText)), "apiMsgId: " + IdOf(longText) + " charge: 3 status: 002");
  EXPECT_EQ(Balance(), "95");
}

TEST_F(SimParlinkTest, BatchWithAFailingNumber) {
  Login();
  sms->put_smsFROM(Bstr("Shop"));
  BSTR result = nullptr;
  sms->StartBatch(Bstr("Sale on #field1#"), &result);
  std::string started = Take(result);
  ASSERT_EQ(Error(), 0) << started;
  EXPECT_EQ(Text(&SMS::get_smsBATCH_ID), started.substr(4));

  sms->SendBatchItem(Bstr("27831234500"), Bstr("Friday"), nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr, nullptr, &result);
  std::string item = Take(result);
  EXPECT_EQ(item.rfind("ID: ", 0), 0u) << item;

  sms->QuickBatchSend(Bstr("27831234567,123,27831234666"), &result);
  std::string quick = Take(result);
  EXPECT_EQ(Error(), 0);
  EXPECT_TRUE(gatewaysimtest::MatchesReply(quick, "ID: <id> To: 27831234567\n"
                                                  "ERR: 105, Invalid Destination Address To: 123\n"
                                                  "ID: <id> To: 27831234666"))
      << quick;

  sms->EndBatch(&result);
  EXPECT_EQ(Take(result).rfind("OK: ", 0), 0u);
  EXPECT_EQ(Text(&SMS::get_smsBATCH_ID), "");
  EXPECT_EQ(Balance(), "97");

  auto messages = nlohmann::json::parse(SimClient(server->BaseUrl()).AdminGet("messages").body);
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0]["text"], "Sale on Friday");
  EXPECT_EQ(messages[1]["from"], "Shop");
  server->AdvanceMs(25000);
  Login();
  std::string failing = messages[2]["id"];
  EXPECT_EQ(Query(failing), "ID: " + failing + " Status: 007");
}

TEST_F(SimParlinkTest, VoucherGoodThenUsed) {
  Login();
  BSTR result = nullptr;
  sms->TokenPay(Bstr("1111222233334444"), &result);
  EXPECT_EQ(Take(result), "OK: 605, Token accepted");
  EXPECT_EQ(Error(), 0);
  EXPECT_EQ(Balance(), "150");
  sms->TokenPay(Bstr("1111222233334444"), &result);
  EXPECT_EQ(Take(result), "ERR: 607, Expired Token");
  EXPECT_EQ(Error(), 607);
  sms->TokenPay(Bstr("0000000000000000"), &result);
  Take(result);
  EXPECT_EQ(Error(), 606);
}

TEST_F(SimParlinkTest, ExpiredSessionIsReportedNotRepaired) {
  Login();
  server->AdvanceMs(15 * 60000 + 1);
  BSTR result = nullptr;
  sms->Ping(&result);
  EXPECT_EQ(Take(result), "ERR: 003, Session ID expired");
  EXPECT_EQ(Error(), 3);
  EXPECT_TRUE(LoggedIn()); // the object keeps its state; the caller logs in again
  Login();
  sms->Ping(&result);
  EXPECT_EQ(Take(result).rfind("OK:", 0), 0u);
}

TEST_F(SimParlinkTest, ThrottleRefusesTheSecondMessage) {
  gatewaysim::SimOptions options = Options();
  options.throttle = {1, 60000};
  StartSimulator(options);
  Login();
  Send("first");
  EXPECT_EQ(Error(), 0);
  EXPECT_EQ(Send("second"), "ERR: 117, Throttle limit exceeded");
  EXPECT_EQ(Error(), 117);
  server->AdvanceMs(60000);
  Send("third");
  EXPECT_EQ(Error(), 0);
}

TEST_F(SimParlinkTest, DeferredMessageWithdrawnOnlyUntilTenMinutesBefore) {
  Login();
  sms->put_smsDELIVERY_TIME(90);
  std::string early = IdOf(Send("later"));
  std::string late = IdOf(Send("later too"));
  ASSERT_FALSE(early.empty());
  EXPECT_EQ(Query(early), "ID: " + early + " Status: 011");
  server->AdvanceMs(80 * 60000 - 1);
  Login(); // the session idled out meanwhile
  EXPECT_EQ(Stop(early), "ID: " + early + " Status: 006");
  EXPECT_EQ(Error(), 0);
  server->AdvanceMs(1);
  EXPECT_EQ(Stop(late), "ERR: 116, Message cannot be stopped");
  EXPECT_EQ(Error(), 116);
  EXPECT_EQ(Balance(), "99");
}

TEST_F(SimParlinkTest, Http500IsACommunicationError) {
  Login();
  ASSERT_TRUE(server->AddFault(Fault("http/sendmsg", FaultKind::Http500)));
  std::string reply = Send("x");
  EXPECT_EQ(Error(), 99);
  EXPECT_EQ(reply.rfind("ERR: -2,", 0), 0u) << reply;
  EXPECT_NE(reply.find("ERR: -1,"), std::string::npos) << reply;
  EXPECT_NE(reply.find("500"), std::string::npos) << reply;
  EXPECT_EQ(Text(&SMS::get_smsERROR_DESC).rfind("Communication error: ", 0), 0u);
}

TEST_F(SimParlinkTest, BrokenReplyIsAFailureWithoutCode) {
  Login();
  ASSERT_TRUE(server->AddFault(Fault("http/sendmsg", FaultKind::Garbage)));
  std::string reply = Send("x");
  EXPECT_EQ(reply.rfind("<html>", 0), 0u);
  EXPECT_EQ(Error(), 0);
  EXPECT_EQ(Text(&SMS::get_smsERROR_DESC), "Send Message Failed.");
}

TEST_F(SimParlinkTest, DroppedConnectionIsACommunicationError) {
  Login();
  ASSERT_TRUE(server->AddFault(Fault("http/getbalance", FaultKind::Drop)));
  std::string reply = Balance();
  EXPECT_EQ(Error(), 99);
  EXPECT_EQ(reply.rfind("ERR: -2,", 0), 0u) << reply;
}

TEST_F(SimParlinkTest, StallEndsInTheReceiveTimeOut) {
  Login();
  LONG previous = 0;
  ASSERT_EQ(sms->SetReceiveTimeout(400, &previous), S_OK);
  ASSERT_TRUE(server->AddFault(Fault("http/querymsg", FaultKind::Stall)));
  std::string reply = Query(std::string(32, 'a'));
  EXPECT_EQ(Error(), 99);
  EXPECT_EQ(reply.rfind("ERR: -2,", 0), 0u) << reply;
  LONG ignored = 0;
  sms->SetReceiveTimeout(previous, &ignored);
  server->ClearFaults();
}

} // namespace
