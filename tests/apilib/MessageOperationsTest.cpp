// Logging in, sending, querying and withdrawing single messages: the exact
// requests on the wire and how each reply is read.
#include "TestSms.h"

#include "src/AuthScrambler.h"

using namespace parlinktest;

namespace {

class ParlinkMessageOperations : public GatewayTest {};

std::string Unscramble(const std::string &hex) {
  std::string plain;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    const int byte = std::stoi(hex.substr(i, 2), nullptr, 16);
    plain.push_back(static_cast<char>(byte ^ parlink::kAuthScrambleKey[(i / 2) % 10]));
  }
  return plain;
}

std::string Get(ISMS *sms, HRESULT (ISMS::*get)(BSTR *)) {
  Bstr value;
  (sms->*get)(value.out());
  return value.str();
}

} // namespace

TEST_F(ParlinkMessageOperations, AuthenticateUnencodedSendsAccountCredentials) {
  SmsPtr sms;
  server_.SetReply("/http/auth", Reply("OK: 0123abcd"));
  Bstr api("30&1"), user("de mo"), password("p w&d"), result;
  ASSERT_EQ(sms->Authenticate(api.get(), user.get(), password.get(), VARIANT_FALSE, result.out()),
            S_OK);
  const auto request = server_.LastRequest();
  ASSERT_TRUE(request);
  EXPECT_EQ(request->method, "GET");
  EXPECT_EQ(request->path, "/http/auth");
  // API identifier and user exactly as given (the blank is only escaped to
  // fit the request line), the password form-encoded.
  EXPECT_EQ(request->query, "api_id=30&1&user=de%20mo&password=p+w%26d");
  EXPECT_EQ(result.str(), "OK: 0123abcd");
  EXPECT_EQ(Get(sms.get(), &ISMS::get_smsSESSION_ID), "0123abcd");
  VARIANT_BOOL in = 0;
  sms->get_smsIsLoggedIn(&in);
  EXPECT_EQ(in, VARIANT_TRUE);
  EXPECT_EQ(Error(sms.get()), 0);
  EXPECT_EQ(Get(sms.get(), &ISMS::get_smsAPI_ID), "30&1");
  EXPECT_EQ(Get(sms.get(), &ISMS::get_smsUSER), "de mo");
}

TEST_F(ParlinkMessageOperations, AuthenticateEncodedSendsTheScrambledBody) {
  SmsPtr sms;
  server_.SetReply("/http/auth", Reply("OK: S"));
  Bstr api("3010101"), user("demo"), password("demo 123"), result;
  ASSERT_EQ(sms->Authenticate(api.get(), user.get(), password.get(), VARIANT_TRUE, result.out()),
            S_OK);
  const std::string body = LastBody();
  ASSERT_EQ(body.rfind("string=", 0), 0u) << body;
  const std::string hex = body.substr(7);
  const std::string plain = "api_id=3010101&user=demo&password=demo+123";
  EXPECT_EQ(hex.size(), 2 * plain.size());
  EXPECT_EQ(hex.find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_EQ(Unscramble(hex), plain);
}

TEST_F(ParlinkMessageOperations, AuthenticateRejectedReturnsTheReplyAndLogsOut) {
  SmsPtr sms;
  LogIn(sms.get());
  server_.SetReply("/http/auth", Reply("ERR: 001, Authentication failed"));
  Bstr api("1"), user("u"), password("p"), result;
  ASSERT_EQ(sms->Authenticate(api.get(), user.get(), password.get(), VARIANT_FALSE, result.out()),
            S_OK);
  EXPECT_EQ(result.str(), "ERR: 001, Authentication failed");
  EXPECT_EQ(Error(sms.get()), 1);
  EXPECT_EQ(ErrorDesc(sms.get()), "Authentication Failed.");
  EXPECT_EQ(Get(sms.get(), &ISMS::get_smsSESSION_ID), "");
  VARIANT_BOOL in = 0;
  sms->get_smsIsLoggedIn(&in);
  EXPECT_EQ(in, VARIANT_FALSE);
}

TEST_F(ParlinkMessageOperations, AuthenticateClientUsesClientCredentialsAndEmptyResultOnRejection) {
  SmsPtr sms;
  Bstr api("old");
  sms->put_smsAPI_ID(api.get());
  server_.SetReply("/http/cli_auth", Reply("ERR: 002, Unknown username or password"));
  Bstr client("DVTX"), user("demo"), password("a,b"), result;
  ASSERT_EQ(sms->AuthenticateClient(client.get(), user.get(), password.get(), VARIANT_FALSE,
                                    result.out()),
            S_OK);
  EXPECT_EQ(server_.LastRequest()->path, "/http/cli_auth");
  EXPECT_EQ(LastBody(), "client_id=DVTX&user=demo&password=a%2cb");
  EXPECT_EQ(result.str(), "");
  EXPECT_FALSE(result.isNull());
  EXPECT_EQ(Error(sms.get()), 2);
  EXPECT_EQ(ErrorDesc(sms.get()), "Client Authentication Failed.");
  EXPECT_EQ(Get(sms.get(), &ISMS::get_smsAPI_ID), "");

  server_.SetReply("/http/cli_auth", Reply("OK: CS"));
  ASSERT_EQ(
      sms->AuthenticateClient(client.get(), user.get(), password.get(), VARIANT_TRUE, result.out()),
      S_OK);
  EXPECT_EQ(result.str(), "OK: CS");
  EXPECT_EQ(Get(sms.get(), &ISMS::get_smsSESSION_ID), "CS");
  EXPECT_EQ(Unscramble(LastBody().substr(7)), "client_id=DVTX&user=demo&password=a%2cb");
}

TEST_F(ParlinkMessageOperations, SendMsgWithDefaultsEndsWithMoAndTextType) {
  SmsPtr sms;
  server_.SetReply("/http/sendmsg", Reply("ID: 5f3e"));
  Bstr api("3010101"), user("demo"), password("pw");
  sms->put_smsAPI_ID(api.get());
  sms->put_smsUSER(user.get());
  sms->put_smsPASSWORD(password.get());
  Bstr msg("Hi there"), to("12345"), result;
  ASSERT_EQ(sms->SendMsg(VARIANT_FALSE, msg.get(), to.get(), result.out()), S_OK);
  EXPECT_EQ(result.str(), "ID: 5f3e");
  EXPECT_EQ(server_.LastRequest()->path, "/http/sendmsg");
  EXPECT_EQ(LastBody(),
            "api_id=3010101&user=demo&password=pw&text=Hi+there&to=12345&mo=0&msg_type=SMS_TEXT");
  EXPECT_EQ(Get(sms.get(), &ISMS::get_smsTEXT), "Hi there");
  EXPECT_EQ(Get(sms.get(), &ISMS::get_smsTO), "12345");
}

TEST_F(ParlinkMessageOperations, OptionBlockInOrderWithEveryOptionSet) {
  SmsPtr sms;
  LogIn(sms.get(), "S1");
  server_.SetReply("/http/sendmsg", Reply("ID: 1"));
  Bstr from("Shop & Co"), cli("c/1"), udh("0605040B8423F0");
  sms->put_smsFROM(from.get());
  sms->put_smsVAL_PERIOD(60);
  sms->put_smsMAX_CREDITS(2);
  sms->put_smsREQUIRED_FEATURES(35);
  sms->put_smsDELIVERY_TIME(15);
  sms->put_smsCLI_MSG_ID(cli.get());
  sms->put_smsUDH(udh.get());
  sms->put_smsDELIVERY_ACK(VARIANT_TRUE);
  sms->put_smsUNICODE(VARIANT_TRUE);
  sms->put_smsCONCAT(3);
  sms->put_smsQUEUE(1);
  sms->put_smsESCALATE(2);
  sms->put_smsCALLBACK(3);
  sms->put_smsMO(VARIANT_TRUE);
  sms->put_smsMSG_TYPE(1);
  Bstr msg("00410042"), to("4477,4488"), result;
  ASSERT_EQ(sms->SendMsg(VARIANT_TRUE, msg.get(), to.get(), result.out()), S_OK);
  EXPECT_EQ(LastBody(), "session_id=S1&text=00410042&from=Shop+%26+Co&to=4477%2c4488"
                        "&val_period=60&max_cred=2&req_feat=35&deliv_time=15&cliMsgId=c%2f1"
                        "&udh=0605040B8423F0&deliv_ack=1&unicode=1&concat=3&queue=1&escalate=2"
                        "&callback=3&mo=1&msg_type=SMS_FLASH");
}

TEST_F(ParlinkMessageOperations, OptionValuesOutOfRangeAndBoundaries) {
  SmsPtr sms;
  LogIn(sms.get(), "S");
  server_.SetReply("/http/sendmsg", Reply("ID: 1"));
  Bstr msg("x"), to(""), result;
  // Limits that add nothing.
  sms->put_smsVAL_PERIOD(0);
  sms->put_smsMAX_CREDITS(1);
  sms->put_smsDELIVERY_TIME(-3);
  sms->put_smsMSG_TYPE(2);
  ASSERT_EQ(sms->SendMsg(VARIANT_TRUE, msg.get(), to.get(), result.out()), S_OK);
  EXPECT_EQ(LastBody(), "session_id=S&text=x&mo=0&msg_type=SMS_TEXT");

  // Out-of-range enumerations fall back to their fixed words.
  sms->put_smsCONCAT(9);
  sms->put_smsQUEUE(7);
  sms->put_smsESCALATE(-1);
  sms->put_smsCALLBACK(4);
  sms->put_smsMSG_TYPE(99);
  ASSERT_EQ(sms->SendMsg(VARIANT_TRUE, msg.get(), to.get(), result.out()), S_OK);
  EXPECT_EQ(LastBody(), "session_id=S&text=x&concat=0&queue=3&escalate=0&callback=0&mo=0"
                        "&msg_type=SMS_TEXT");

  sms->put_smsCONCAT(0);
  sms->put_smsQUEUE(2);
  sms->put_smsESCALATE(1);
  sms->put_smsCALLBACK(0);
  sms->put_smsMSG_TYPE(10);
  ASSERT_EQ(sms->SendMsg(VARIANT_TRUE, msg.get(), to.get(), result.out()), S_OK);
  EXPECT_EQ(LastBody(), "session_id=S&text=x&queue=2&escalate=1&mo=0&msg_type=SMS_NOKIA_RTTL");
}

TEST_F(ParlinkMessageOperations, SendMsgNullArgumentsKeepTheProperties) {
  SmsPtr sms;
  LogIn(sms.get(), "S");
  server_.SetReply("/http/sendmsg", Reply("ID: 1"));
  Bstr text("kept"), to("999"), result;
  sms->put_smsTEXT(text.get());
  sms->put_smsTO(to.get());
  ASSERT_EQ(sms->SendMsg(VARIANT_TRUE, nullptr, nullptr, result.out()), S_OK);
  EXPECT_EQ(LastBody(), "session_id=S&text=kept&to=999&mo=0&msg_type=SMS_TEXT");
}

TEST_F(ParlinkMessageOperations, SessionChecksSendNothing) {
  SmsPtr sms;
  Bstr msg("x"), to("1"), id("abc"), result;
  struct Case {
    const char *name;
    std::function<HRESULT()> call;
  };
  const std::vector<Case> cases = {
      {"SendMsg", [&] { return sms->SendMsg(VARIANT_TRUE, msg.get(), to.get(), result.out()); }},
      {"QueryMsg", [&] { return sms->QueryMsgAPIID(id.get(), result.out()); }},
      {"StopMsg", [&] { return sms->StopMsg(id.get(), 2, result.out()); }},
      {"GetMsgCharge", [&] { return sms->GetMsgCharge(VARIANT_TRUE, id.get(), result.out()); }},
      {"Ping", [&] { return sms->Ping(result.out()); }},
      {"QueryBalance", [&] { return sms->QueryBalance(result.out()); }},
  };
  for (const Case &c : cases) {
    ClearErrorObject();
    EXPECT_EQ(c.call(), S_OK) << c.name;
    EXPECT_EQ(result.str(), "ERR: 3") << c.name;
    EXPECT_EQ(Error(sms.get()), 3) << c.name;
    EXPECT_EQ(ErrorDesc(sms.get()), "No valid Session ID") << c.name;
    EXPECT_TRUE(TakeErrorObject()) << c.name;
  }
  EXPECT_EQ(server_.RequestCount(), 0u);
}

TEST_F(ParlinkMessageOperations, SendFailuresReadTheCodeFromTheReply) {
  SmsPtr sms;
  Bstr msg("x"), to("1"), result;
  const std::pair<const char *, LONG> replies[] = {
      {"ERR: 001", 1},
      {"ERR: 000000114, Cannot route message", 114},
      {"ERR:301,x", 301}, // the code starts at the fifth character, blank or not
      {"<html><head><title>502 Bad Gateway</title></head></html>", 0},
  };
  for (const auto &[reply, code] : replies) {
    server_.SetReply("/http/sendmsg", Reply(reply));
    ASSERT_EQ(sms->SendMsg(VARIANT_FALSE, msg.get(), to.get(), result.out()), S_OK);
    EXPECT_EQ(result.str(), reply);
    EXPECT_EQ(Error(sms.get()), code) << reply;
    EXPECT_EQ(ErrorDesc(sms.get()), "Send Message Failed.");
  }
}

TEST_F(ParlinkMessageOperations, SendSimpleSmsStoresCredentialsWithoutEndingTheSession) {
  SmsPtr sms;
  LogIn(sms.get(), "S9");
  server_.SetReply("/http/sendmsg", Reply("ID: 77"));
  Bstr api("A1"), user("u2"), password("p 3"), to("123"), text("T"), result;
  ASSERT_EQ(
      sms->SendSimpleSMS(api.get(), user.get(), password.get(), to.get(), text.get(), result.out()),
      S_OK);
  EXPECT_EQ(result.str(), "ID: 77");
  EXPECT_EQ(LastBody(), "api_id=A1&user=u2&password=p+3&text=T&to=123&mo=0&msg_type=SMS_TEXT");
  EXPECT_EQ(Get(sms.get(), &ISMS::get_smsSESSION_ID), "S9");
}

TEST_F(ParlinkMessageOperations, QueryAndStopByEitherIdentifier) {
  SmsPtr sms;
  LogIn(sms.get(), "S");
  server_.SetReply("/http/querymsg", Reply("ID: abc Status: 004"));
  server_.SetReply("/http/delmsg", Reply("ID: abc Status: 006"));
  Bstr id("a b"), result;
  struct Case {
    std::function<HRESULT()> call;
    const char *path;
    const char *body;
  };
  const std::vector<Case> cases = {
      {[&] { return sms->QueryMsgAPIID(id.get(), result.out()); }, "/http/querymsg",
       "session_id=S&apiMsgId=a%20b"},
      {[&] { return sms->QueryMsgCLIID(id.get(), result.out()); }, "/http/querymsg",
       "session_id=S&cliMsgId=a%20b"},
      {[&] { return sms->QueryMsg(id.get(), 5, result.out()); }, "/http/querymsg",
       "session_id=S&cliMsgId=a%20b"},
      {[&] { return sms->StopMsgAPIID(id.get(), result.out()); }, "/http/delmsg",
       "session_id=S&apiMsgId=a%20b"},
      {[&] { return sms->StopMsgCLIID(id.get(), result.out()); }, "/http/delmsg",
       "session_id=S&cliMsgId=a%20b"},
      {[&] { return sms->StopMsg(id.get(), 1, result.out()); }, "/http/delmsg",
       "session_id=S&apiMsgId=a%20b"},
  };
  for (const Case &c : cases) {
    ASSERT_EQ(c.call(), S_OK);
    EXPECT_EQ(server_.LastRequest()->path, c.path);
    EXPECT_EQ(server_.LastRequest()->query, c.body);
    EXPECT_EQ(result.str().substr(0, 3), "ID:");
    EXPECT_EQ(Error(sms.get()), 0);
  }
  server_.SetReply("/http/delmsg", Reply("ERR: 104, Unknown cliMsgId"));
  sms->StopMsgCLIID(id.get(), result.out());
  EXPECT_EQ(Error(sms.get()), 104);
  EXPECT_EQ(ErrorDesc(sms.get()), "Stop Message Failed.");
  server_.SetReply("/http/querymsg", Reply("ERR: 103, Unknown apiMsgId"));
  sms->QueryMsgAPIID(id.get(), result.out());
  EXPECT_EQ(ErrorDesc(sms.get()), "Query Message Failed.");
}

TEST_F(ParlinkMessageOperations, GetMsgChargeAcceptsAnyLetterCase) {
  SmsPtr sms;
  server_.SetReply("/http/getmsgcharge", Reply("ApiMsgId: ab12 charge: 1.5 status: 004"));
  Bstr id("ab12"), result;
  ASSERT_EQ(sms->GetMsgCharge(VARIANT_FALSE, id.get(), result.out()), S_OK);
  EXPECT_EQ(result.str(), "ApiMsgId: ab12 charge: 1.5 status: 004");
  EXPECT_EQ(Error(sms.get()), 0);
  EXPECT_EQ(server_.LastRequest()->path, "/http/getmsgcharge");
  EXPECT_EQ(LastBody(), "api_id=&user=&password=&apimsgid=ab12&mo=0&msg_type=SMS_TEXT");

  server_.SetReply("/http/getmsgcharge", Reply("ERR: 103, Unknown apiMsgId"));
  ASSERT_EQ(sms->GetMsgCharge(VARIANT_FALSE, id.get(), result.out()), S_OK);
  EXPECT_EQ(Error(sms.get()), 103);
  EXPECT_EQ(ErrorDesc(sms.get()), "Get Message Charge Failed.");
}

TEST_F(ParlinkMessageOperations, PingAndBalance) {
  SmsPtr sms;
  LogIn(sms.get(), "S");
  server_.SetReply("/http/ping", Reply("OK: pong"));
  server_.SetReply("/http/getbalance", Reply("Credit: 42.5"));
  Bstr result;
  ASSERT_EQ(sms->Ping(result.out()), S_OK);
  EXPECT_EQ(result.str(), "OK: pong");
  EXPECT_EQ(LastBody(), "session_id=S");
  ASSERT_EQ(sms->QueryBalance(result.out()), S_OK);
  EXPECT_EQ(result.str(), "42.5");
  EXPECT_EQ(server_.LastRequest()->path, "/http/getbalance");

  server_.SetReply("/http/getbalance", Reply("ERR: 003, Session ID expired"));
  ASSERT_EQ(sms->QueryBalance(result.out()), S_OK);
  EXPECT_EQ(result.str(), "ERR: 003, Session ID expired");
  EXPECT_EQ(Error(sms.get()), 3);
  EXPECT_EQ(ErrorDesc(sms.get()), "Query Balance Failed.");
  // An expired session is reported, not ended.
  VARIANT_BOOL in = 0;
  sms->get_smsIsLoggedIn(&in);
  EXPECT_EQ(in, VARIANT_TRUE);

  server_.SetReply("/http/ping", Reply("ERR: 003, Session ID expired"));
  sms->Ping(result.out());
  EXPECT_EQ(ErrorDesc(sms.get()), "Ping Failed.");
}

TEST_F(ParlinkMessageOperations, EncodeToUnicodeIsLocal) {
  SmsPtr sms;
  Bstr text("A\xE2\x82\xAC"), result; // A and the euro sign
  ASSERT_EQ(sms->EncodeToUnicode(text.get(), result.out()), S_OK);
  EXPECT_EQ(result.str(), "004120ac");
  ASSERT_EQ(sms->EncodeToUnicode(nullptr, result.out()), S_OK);
  EXPECT_EQ(result.str(), "");
  EXPECT_FALSE(result.isNull());
  Bstr han("\xE4\xB8\xAD");
  ASSERT_EQ(sms->EncodeToUnicode(han.get(), result.out()), S_OK);
  EXPECT_EQ(result.str(), "4e2d");
  EXPECT_EQ(server_.RequestCount(), 0u);
}
