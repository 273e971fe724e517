// Voucher, password, coverage and version at the gateway, and the
// library's configuration: base URL, proxies and time-outs.
#include "TestSms.h"

using namespace parlinktest;

namespace {

class ParlinkAccountOperations : public GatewayTest {
protected:
  static HRESULT MoveBaseUrl(ISMS *sms, const std::string &url, Bstr &result) {
    Bstr text(url);
    return sms->SetBaseURL(VARIANT_FALSE, text.get(),
                           parlink::BaseUrlKey(static_cast<uint32_t>(url.size())), result.out());
  }
  // Leaves smsERROR at 3 (and an error object) without a request.
  static void MarkError(ISMS *sms) {
    Bstr result;
    sms->Ping(result.out());
    ASSERT_EQ(Error(sms), 3);
    ClearErrorObject();
  }
};

} // namespace

TEST_F(ParlinkAccountOperations, TokenPaySucceedsOnlyOnOk605) {
  SmsPtr sms;
  LogIn(sms.get(), "S");
  Bstr token("1234 5678"), result;
  server_.SetReply("/http/token_pay", Reply("OK: 605, Token accepted"));
  ASSERT_EQ(sms->TokenPay(token.get(), result.out()), S_OK);
  EXPECT_EQ(result.str(), "OK: 605, Token accepted");
  EXPECT_EQ(Error(sms.get()), 0);
  EXPECT_EQ(server_.LastRequest()->path, "/http/token_pay");
  EXPECT_EQ(LastBody(), "session_id=S&token=1234%205678");

  sms->put_ThrowError(VARIANT_TRUE);
  server_.SetReply("/http/token_pay", Reply("OK: 607, Expired Token"));
  EXPECT_EQ(sms->TokenPay(token.get(), result.out()), E_FAIL);
  EXPECT_EQ(result.str(), "OK: 607, Expired Token");
  EXPECT_EQ(Error(sms.get()), 607);
  EXPECT_EQ(ErrorDesc(sms.get()), "TokenPay Failed.");

  server_.SetReply("/http/token_pay", Reply("ERR: 606, Invalid Token"));
  EXPECT_EQ(sms->TokenPay(token.get(), result.out()), E_FAIL);
  EXPECT_EQ(Error(sms.get()), 606);
}

TEST_F(ParlinkAccountOperations, ChangePasswordStoresTheNewPasswordOnSuccessOnly) {
  SmsPtr sms;
  LogIn(sms.get(), "S");
  Bstr fresh("new pw"), result;
  server_.SetReply("/utils/change_passwd", Reply("ERR: 002, nope"));
  ASSERT_EQ(sms->ChangePassword(fresh.get(), result.out()), S_OK);
  EXPECT_EQ(ErrorDesc(sms.get()), "Change Password failed.");
  Bstr shown;
  sms->get_smsPASSWORD(shown.out());
  EXPECT_EQ(shown.str(), "**"); // still "pw" from LogIn

  server_.SetReply("/utils/change_passwd", Reply("OK: changed"));
  ASSERT_EQ(sms->ChangePassword(fresh.get(), result.out()), S_OK);
  EXPECT_EQ(server_.LastRequest()->path, "/utils/change_passwd");
  EXPECT_EQ(LastBody(), "session_id=S&password=new+pw");
  sms->get_smsPASSWORD(shown.out());
  EXPECT_EQ(shown.str(), "******");
  VARIANT_BOOL in = 0;
  sms->get_smsIsLoggedIn(&in);
  EXPECT_EQ(in, VARIANT_TRUE);

  // The stored password is the caller's text, encoded once per request.
  server_.SetReply("/http/sendmsg", Reply("ID: 1"));
  Bstr msg("m"), to("1");
  ASSERT_EQ(sms->SendMsg(VARIANT_FALSE, msg.get(), to.get(), result.out()), S_OK);
  EXPECT_EQ(LastBody(), "api_id=3010101&user=demo&password=new+pw&text=m&to=1&mo=0"
                        "&msg_type=SMS_TEXT");
}

TEST_F(ParlinkAccountOperations, RecoverPasswordNeedsNoSession) {
  SmsPtr sms;
  server_.SetReply("/utils/recover_passwd", Reply("OK: mail sent"));
  Bstr user("de mo"), email("a@b.c"), result;
  ASSERT_EQ(sms->RecoverPassword(user.get(), email.get(), result.out()), S_OK);
  EXPECT_EQ(result.str(), "OK: mail sent");
  EXPECT_EQ(LastBody(), "user=de+mo&email=a%40b.c");
  Bstr storedUser;
  sms->get_smsUSER(storedUser.out());
  EXPECT_EQ(storedUser.str(), "");

  server_.SetReply("/utils/recover_passwd", Reply("ERR: 002, unknown"));
  sms->RecoverPassword(user.get(), email.get(), result.out());
  EXPECT_EQ(ErrorDesc(sms.get()), "Recover password failed.");
}

TEST_F(ParlinkAccountOperations, QueryCoverageCredentialsByLoginState) {
  SmsPtr sms;
  server_.SetReply("/utils/routeCoverage.php", Reply("ERR: anything goes"));
  Bstr to("+44 7700"), result;
  ASSERT_EQ(sms->QueryCoverage(to.get(), result.out()), S_OK);
  EXPECT_EQ(server_.LastRequest()->path, "/utils/routeCoverage.php");
  EXPECT_EQ(LastBody(), "api_id=&user=&password=&msisdn=%2b44+7700");
  EXPECT_EQ(result.str(), "ERR: anything goes");
  EXPECT_EQ(Error(sms.get()), 0);

  ASSERT_EQ(sms->QueryCoverage(nullptr, result.out()), S_OK);
  EXPECT_EQ(LastBody(), "api_id=&user=&password=&msisdn=");

  LogIn(sms.get(), "S");
  ASSERT_EQ(sms->QueryCoverage(to.get(), result.out()), S_OK);
  EXPECT_EQ(LastBody(), "session_id=S&msisdn=%2b44+7700");

  // Logged in with an empty session identifier: nothing is sent.
  server_.SetReply("/http/auth", Reply("OK: "));
  Bstr api("1"), user("u"), password("p");
  sms->Authenticate(api.get(), user.get(), password.get(), VARIANT_FALSE, result.out());
  server_.ClearRequests();
  ASSERT_EQ(sms->QueryCoverage(to.get(), result.out()), S_OK);
  EXPECT_EQ(result.str(), "ERR: 3");
  EXPECT_EQ(server_.RequestCount(), 0u);
}

TEST_F(ParlinkAccountOperations, VersionLocalAndFromTheServer) {
  SmsPtr sms;
  MarkError(sms.get());
  Bstr result;
  ASSERT_EQ(sms->Version(VARIANT_FALSE, result.out()), S_OK);
  EXPECT_EQ(result.str(), "OK: 2.0.0.44");
  EXPECT_EQ(Error(sms.get()), 0);
  EXPECT_EQ(server_.RequestCount(), 0u);

  ASSERT_EQ(sms->Version(VARIANT_TRUE, result.out()), S_OK);
  EXPECT_EQ(result.str(), "ERR: 3");

  LogIn(sms.get(), "S");
  server_.SetReply("/utils/version", Reply("OK: 4.1"));
  ASSERT_EQ(sms->Version(VARIANT_TRUE, result.out()), S_OK);
  EXPECT_EQ(result.str(), "OK: 4.1");
  EXPECT_EQ(LastBody(), "session_id=S");
  server_.SetReply("/utils/version", Reply("ERR: 5"));
  sms->Version(VARIANT_TRUE, result.out());
  EXPECT_EQ(ErrorDesc(sms.get()), "Version query failed.");
}

TEST_F(ParlinkAccountOperations, SetBaseUrlRefusesWrongKeysAndBadUrls) {
  SmsPtr sms;
  const std::string before = parlink::TransportContext::Instance().BaseUrl();
  const std::string url = "http://127.0.0.1:9/other";
  Bstr text(url), result;
  ASSERT_EQ(sms->SetBaseURL(VARIANT_FALSE, text.get(),
                            parlink::BaseUrlKey(static_cast<uint32_t>(url.size())) + 1,
                            result.out()),
            S_OK);
  EXPECT_EQ(result.str(), "ERR: -98,Base URL:Invalid Hash Key");
  EXPECT_EQ(Error(sms.get()), 98);
  EXPECT_EQ(ErrorDesc(sms.get()), "Base URL:Invalid Hash Key");
  auto error = TakeErrorObject();
  ASSERT_TRUE(error);
  EXPECT_EQ(error->description, "Base URL:Invalid Hash Key");
  EXPECT_EQ(parlink::TransportContext::Instance().BaseUrl(), before);

  sms->put_ThrowError(VARIANT_TRUE);
  for (const std::string refused : {"https://127.0.0.1/", "HTTP://127.0.0.1/", "ftp://x/"}) {
    ASSERT_EQ(MoveBaseUrl(sms.get(), refused, result), E_FAIL) << refused;
    EXPECT_EQ(result.str(), "ERR: -97,Base URL:Invalid URL");
    EXPECT_EQ(Error(sms.get()), 97);
    EXPECT_EQ(parlink::TransportContext::Instance().BaseUrl(), before);
  }
  error = TakeErrorObject();
  ASSERT_TRUE(error);
  EXPECT_EQ(error->description, "Base URL:Invalid URL");
}

TEST_F(ParlinkAccountOperations, SetBaseUrlMovesEveryLaterRequest) {
  SmsPtr sms;
  MarkError(sms.get());
  testsupport::RecordingServer other;
  other.SetReply("/gw/utils/routeCoverage.php", Reply("covered"));
  const std::string before = parlink::TransportContext::Instance().BaseUrl();
  const std::string moved = " http://127.0.0.1:" + std::to_string(other.Port()) + "/gw ";
  Bstr result;
  ASSERT_EQ(MoveBaseUrl(sms.get(), moved, result), S_OK);
  EXPECT_EQ(result.str(), "OK: " + before);
  EXPECT_EQ(Error(sms.get()), 3); // not touched by success
  EXPECT_EQ(parlink::TransportContext::Instance().BaseUrl(),
            "http://127.0.0.1:" + std::to_string(other.Port()) + "/gw/");

  Bstr to("1");
  ASSERT_EQ(sms->QueryCoverage(to.get(), result.out()), S_OK);
  EXPECT_EQ(result.str(), "covered");
  ASSERT_EQ(other.RequestCount(), 1u);
  EXPECT_EQ(other.LastRequest()->path, "/gw/utils/routeCoverage.php");
  EXPECT_EQ(server_.RequestCount(), 0u);

  // Reset ignores the other arguments and goes back to the default.
  MarkError(sms.get());
  Bstr junk("not a url");
  ASSERT_EQ(sms->SetBaseURL(VARIANT_TRUE, junk.get(), 0, result.out()), S_OK);
  EXPECT_EQ(result.str(), "OK: Reset");
  EXPECT_EQ(parlink::TransportContext::Instance().BaseUrl(), before);
  EXPECT_EQ(Error(sms.get()), 3);
}

TEST_F(ParlinkAccountOperations, ConfigureProxyTouchesNoErrorState) {
  SmsPtr sms;
  MarkError(sms.get());
  Bstr proxy("proxy.example"), port("8080"), result;
  ASSERT_EQ(sms->ConfigureProxy(4, proxy.get(), port.get(), result.out()), S_OK);
  EXPECT_EQ(result.str(), "OK:");
  EXPECT_EQ(Error(sms.get()), 3);
  EXPECT_FALSE(TakeErrorObject());
  ASSERT_EQ(sms->ConfigureProxy(1, nullptr, nullptr, result.out()), S_OK);
  EXPECT_EQ(result.str(), "OK:");
  EXPECT_EQ(server_.RequestCount(), 0u);
}

TEST_F(ParlinkAccountOperations, ConfigureProxyExDirectNeedsNoTest) {
  SmsPtr sms;
  MarkError(sms.get());
  Bstr empty(""), result;
  ASSERT_EQ(sms->ConfigureProxyEx(VARIANT_TRUE, 1, empty.get(), empty.get(), empty.get(),
                                  empty.get(), result.out()),
            S_OK);
  EXPECT_EQ(result.str(), "OK:");
  EXPECT_EQ(Error(sms.get()), 0);
  EXPECT_EQ(server_.RequestCount(), 0u);

  // Empty credentials still give a header: the encoding of a lone colon.
  EXPECT_EQ(parlink::TransportContext::Instance().ProxyAuthorizationHeader(),
            "Proxy-Authorization: Basic Og==\r\n");
  LogIn(sms.get(), "S");
  server_.SetReply("/http/ping", Reply("OK:"));
  ASSERT_EQ(sms->Ping(result.out()), S_OK);
  EXPECT_EQ(server_.LastRequest()->Header("Proxy-Authorization"), "Basic Og==");
}

TEST_F(ParlinkAccountOperations, ConfigureProxyExUnreachableProxyMakesNoGatewayRequest) {
  SmsPtr sms;
  const std::string closedPort = std::to_string(testsupport::FreeLoopbackPort());
  Bstr host("127.0.0.1"), port(closedPort), user("u"), password("p"), result;
  ASSERT_EQ(sms->ConfigureProxyEx(VARIANT_TRUE, 4, host.get(), port.get(), user.get(),
                                  password.get(), result.out()),
            S_OK);
  EXPECT_EQ(result.str(), "ERR: 95,Failed to communicate with the proxy server");
  EXPECT_EQ(Error(sms.get()), 95);
  EXPECT_EQ(ErrorDesc(sms.get()), "Failed to communicate with the proxy server");
  const auto error = TakeErrorObject();
  ASSERT_TRUE(error);
  EXPECT_EQ(error->description, "Failed to communicate with the proxy server");
  EXPECT_EQ(server_.RequestCount(), 0u);
}

TEST_F(ParlinkAccountOperations, ConfigureProxyExOnlineTestThroughANamedProxy) {
  SmsPtr sms;
  // The recording server stands in for the proxy: it receives the gateway
  // request in absolute form, with the proxy credentials.
  server_.SetReply("/utils/nettest", Reply("OK"));
  const std::string longUser(40, 'u'), longPassword(30, 'p');
  Bstr host("127.0.0.1"), port(std::to_string(server_.Port())), user(longUser),
      password(longPassword), result;
  ASSERT_EQ(sms->ConfigureProxyEx(VARIANT_TRUE, 4, host.get(), port.get(), user.get(),
                                  password.get(), result.out()),
            S_OK);
  EXPECT_EQ(result.str(), "OK:");
  EXPECT_EQ(Error(sms.get()), 0);
  ASSERT_EQ(server_.RequestCount(), 1u);
  const auto request = *server_.LastRequest();
  EXPECT_EQ(request.method, "GET");
  EXPECT_EQ(request.target, server_.BaseUrl() + "utils/nettest");
  // Credentials longer than 47 characters are carried whole.
  const std::string encoded = parlink::TransportContext::Instance().ProxyAuthorizationHeader();
  EXPECT_EQ(request.Header("Proxy-Authorization"), encoded.substr(21, encoded.size() - 23));
  EXPECT_EQ(encoded.size(), std::string("Proxy-Authorization: Basic \r\n").size() + 96);

  server_.SetReply("/utils/nettest", Reply("ERR: down"));
  sms->put_ThrowError(VARIANT_TRUE);
  ASSERT_EQ(sms->ConfigureProxyEx(VARIANT_TRUE, 4, host.get(), port.get(), user.get(),
                                  password.get(), result.out()),
            E_FAIL);
  EXPECT_EQ(result.str(), "ERR: 96,Talk via proxy connection failed.");
  EXPECT_EQ(Error(sms.get()), 96);
  EXPECT_EQ(ErrorDesc(sms.get()), "Talk via proxy connection failed.");
}

TEST_F(ParlinkAccountOperations, ConfigureProxyExPreconfiguredRunsOnlyTheOnlineTest) {
  SmsPtr sms;
  server_.SetReply("/utils/nettest", Reply("OK here"));
  Bstr empty, result;
  ASSERT_EQ(
      sms->ConfigureProxyEx(VARIANT_TRUE, 2, nullptr, nullptr, nullptr, nullptr, result.out()),
      S_OK);
  EXPECT_EQ(result.str(), "OK:");
  ASSERT_EQ(server_.RequestCount(), 1u);
  EXPECT_EQ(server_.LastRequest()->target, "/utils/nettest");
  EXPECT_FALSE(server_.LastRequest()->hasQuery);
}

TEST_F(ParlinkAccountOperations, TimeoutsReturnThePreviousValue) {
  SmsPtr sms;
  LONG previous = -1;
  ASSERT_EQ(sms->SetConnectTimeout(1500, &previous), S_OK);
  EXPECT_EQ(previous, 60000);
  ASSERT_EQ(sms->SetConnectTimeout(2500, &previous), S_OK);
  EXPECT_EQ(previous, 1500);
  ASSERT_EQ(sms->SetReceiveTimeout(700, &previous), S_OK);
  EXPECT_EQ(previous, 60000);

  // Set before any session: the session opened by the first request keeps them.
  LogIn(sms.get());
  ASSERT_EQ(sms->SetReceiveTimeout(800, &previous), S_OK);
  EXPECT_EQ(previous, 700);

  // A session reopened by a proxy method starts from the process's values.
  Bstr result;
  sms->ConfigureProxy(1, nullptr, nullptr, result.out());
  ASSERT_EQ(sms->SetReceiveTimeout(900, &previous), S_OK);
  EXPECT_EQ(previous, 700);
  ASSERT_EQ(sms->SetConnectTimeout(100, &previous), S_OK);
  EXPECT_EQ(previous, 2500);
}

TEST_F(ParlinkAccountOperations, PreconfiguredAccessUsesTheEnvironmentsProxyAndDirectDoesNot) {
  // The recording server is the environment's proxy; the gateway's own
  // name does not resolve, so only a request through the proxy arrives.
  setenv("http_proxy", server_.BaseUrl().c_str(), 1);
  SmsPtr sms;
  Bstr result;
  ASSERT_EQ(MoveBaseUrl(sms.get(), "http://gateway.invalid/", result), S_OK);
  server_.SetReply("/utils/recover_passwd", Reply("OK: via proxy"));
  Bstr user("u"), email("e");
  for (LONG inetType : {2, 3, 0}) {
    server_.ClearRequests();
    ASSERT_EQ(sms->ConfigureProxy(inetType, nullptr, nullptr, result.out()), S_OK);
    ASSERT_EQ(sms->RecoverPassword(user.get(), email.get(), result.out()), S_OK);
    EXPECT_EQ(result.str(), "OK: via proxy") << inetType;
    ASSERT_EQ(server_.RequestCount(), 1u) << inetType;
    EXPECT_EQ(server_.LastRequest()->target,
              "http://gateway.invalid/utils/recover_passwd?user=u&email=e");
  }
  server_.ClearRequests();
  ASSERT_EQ(sms->ConfigureProxy(1, nullptr, nullptr, result.out()), S_OK);
  ASSERT_EQ(sms->RecoverPassword(user.get(), email.get(), result.out()), S_OK);
  EXPECT_EQ(result.str(), "ERR: -2,Communication error: HttpSendRequest failed!");
  EXPECT_EQ(server_.RequestCount(), 0u);
  unsetenv("http_proxy");
}
