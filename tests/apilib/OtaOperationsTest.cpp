// Over-the-air settings: XML, bookmarks, CSD and GPRS settings.
#include "TestSms.h"

using namespace parlinktest;

namespace {

class ParlinkOtaOperations : public GatewayTest {
protected:
  void SetUp() override {
    GatewayTest::SetUp();
    server_.SetReply("/http/sendota", Reply("ID: ota1"));
  }
  HRESULT Bookmark(ISMS *sms, const std::string &name, const std::string &url, Bstr &result) {
    Bstr to("447700"), n(name), u(url);
    return sms->SendOTABookmark(to.get(), n.get(), u.get(), result.out());
  }
};

} // namespace

TEST_F(ParlinkOtaOperations, XmlForcesTheTextTypeForThisRequestOnly) {
  SmsPtr sms;
  sms->put_smsMSG_TYPE(1);
  Bstr to("4477"), xml("<a b='1'/>"), result;
  server_.SetReply("/http/sendota", Reply("whatever the gateway says"));
  ASSERT_EQ(sms->SendOTAasXML(VARIANT_FALSE, to.get(), xml.get(), result.out()), S_OK);
  EXPECT_EQ(result.str(), "whatever the gateway says");
  EXPECT_EQ(Error(sms.get()), 0);
  EXPECT_EQ(server_.LastRequest()->path, "/http/sendota");
  EXPECT_EQ(LastBody(), "api_id=&user=&password=&xml=%3ca+b%3d%271%27%2f%3e&to=4477&mo=0"
                        "&msg_type=SMS_TEXT");
  LONG type = 0;
  sms->get_smsMSG_TYPE(&type);
  EXPECT_EQ(type, 1);

  ASSERT_EQ(sms->SendOTAasXML(VARIANT_TRUE, to.get(), xml.get(), result.out()), S_OK);
  EXPECT_EQ(result.str(), "ERR: 3");
  EXPECT_EQ(server_.RequestCount(), 1u);

  LogIn(sms.get(), "S");
  ASSERT_EQ(sms->SendOTAasXML(VARIANT_TRUE, nullptr, xml.get(), result.out()), S_OK);
  EXPECT_EQ(LastBody(), "session_id=S&xml=%3ca+b%3d%271%27%2f%3e&to=4477&mo=0&msg_type=SMS_TEXT");
}

TEST_F(ParlinkOtaOperations, BookmarkLengthLimits) {
  SmsPtr sms;
  sms->put_smsMSG_TYPE(1);
  Bstr result;
  ASSERT_EQ(Bookmark(sms.get(), std::string(20, 'n'), std::string(255, 'u'), result), S_OK);
  EXPECT_EQ(result.str(), "ID: ota1");
  EXPECT_EQ(LastBody(), "api_id=&user=&password=&name=" + std::string(20, 'n') + "&url=" +
                            std::string(255, 'u') + "&to=447700&mo=0&msg_type=SMS_TEXT&ota_type=2");
  EXPECT_EQ(server_.LastRequest()->method, "POST");
  ASSERT_EQ(Bookmark(sms.get(), "Name", std::string(100, 'u'), result), S_OK);
  EXPECT_EQ(server_.RequestCount(), 2u);

  const std::string longName(21, 'n');
  ASSERT_EQ(Bookmark(sms.get(), longName, "u", result), S_OK);
  EXPECT_EQ(result.str(),
            "ERR: -2,Name parameter can only be a max of 20 characters long: " + longName);
  EXPECT_EQ(Error(sms.get()), 700);
  EXPECT_EQ(server_.RequestCount(), 2u);

  const std::string longUrl(256, 'u');
  sms->put_ThrowError(VARIANT_TRUE);
  ClearErrorObject();
  ASSERT_EQ(Bookmark(sms.get(), "n", longUrl, result), E_FAIL);
  EXPECT_EQ(result.str(),
            "ERR: -2,Url parameter can only be a max of 20 characters long: " + longUrl);
  EXPECT_EQ(ErrorDesc(sms.get()),
            "Url parameter can only be a max of 20 characters long: " + longUrl);

  // Both too long: the URL's failure stands.
  ASSERT_EQ(Bookmark(sms.get(), longName, longUrl, result), E_FAIL);
  EXPECT_EQ(result.str(),
            "ERR: -2,Url parameter can only be a max of 20 characters long: " + longUrl);
  const auto error = TakeErrorObject();
  ASSERT_TRUE(error);
  EXPECT_EQ(error->description,
            "Url parameter can only be a max of 20 characters long: " + longUrl);
  EXPECT_EQ(server_.RequestCount(), 2u);
}

TEST_F(ParlinkOtaOperations, BookmarkCountsBytesOfTheNarrowText) {
  SmsPtr sms;
  Bstr result;
  // Twenty e-acute characters are twenty bytes in the code page.
  std::string name, encoded;
  for (int i = 0; i < 20; ++i) {
    name += "\xC3\xA9";
    encoded += "%e9";
  }
  ASSERT_EQ(Bookmark(sms.get(), name, "u", result), S_OK);
  EXPECT_EQ(result.str(), "ID: ota1");
  EXPECT_NE(LastBody().find("&name=" + encoded + "&url=u&"), std::string::npos);
}

TEST_F(ParlinkOtaOperations, CsdBodyWithEveryPart) {
  SmsPtr sms;
  LogIn(sms.get(), "S");
  sms->put_smsMSG_TYPE(1);
  Bstr to("4477"), name("My ISP"), url("http://wap.x/"), authName("user"), secret("s&s"),
      dial("+44 123"), result;
  ASSERT_EQ(sms->OTA_SetCSD(to.get(), name.get(), url.get(), 1, 2, authName.get(), secret.get(), 1,
                            7, dial.get(), result.out()),
            S_OK);
  EXPECT_EQ(result.str(), "ID: ota1");
  EXPECT_EQ(LastBody(), "session_id=S&ota_type=1&name=My+ISP&url=http%3a%2f%2fwap.x%2f"
                        "&bearer=GSM_CSD&ppp_logintype=AUTOMATIC&ppp_authtype=CHAP"
                        "&ppp_authname=user&ppp_authsecret=s%26s&csd_calltype=ISDN"
                        "&csd_callspeed=57600&csd_dialstring=%2b44+123&to=4477&mo=0"
                        "&msg_type=SMS_FLASH");
}

TEST_F(ParlinkOtaOperations, CsdValueMappings) {
  SmsPtr sms; // logged out: account credentials instead of a failure
  Bstr to("1"), name("N"), empty(""), result;
  const auto csd = [&](LONG login, LONG auth, LONG callType, LONG speed) {
    EXPECT_EQ(sms->OTA_SetCSD(to.get(), name.get(), nullptr, login, auth, empty.get(), nullptr,
                              callType, speed, empty.get(), result.out()),
              S_OK);
    return LastBody();
  };
  EXPECT_EQ(csd(0, 0, 0, 0), "api_id=&user=&password=&ota_type=1&name=N&bearer=GSM_CSD"
                             "&ppp_authtype=PAP&csd_calltype=ANALOG&csd_callspeed=AUTO&to=1&mo=0"
                             "&msg_type=SMS_TEXT");
  EXPECT_EQ(csd(2, 1, 5, 8), "api_id=&user=&password=&ota_type=1&name=N&bearer=GSM_CSD"
                             "&ppp_logintype=MANUAL&ppp_authtype=PAP&csd_callspeed=AUTO&to=1&mo=0"
                             "&msg_type=SMS_TEXT");
  EXPECT_NE(csd(3, 3, 0, 1).find("&ppp_authtype=MSCHAP&csd_calltype=ANALOG&csd_callspeed=9600&"),
            std::string::npos);
  const char *speeds[] = {"9600", "14400", "19200", "28800", "38400", "43200", "57600"};
  for (LONG speed = 1; speed <= 7; ++speed)
    EXPECT_NE(csd(0, 0, 9, speed).find(std::string("&csd_callspeed=") + speeds[speed - 1] + "&"),
              std::string::npos);
  EXPECT_NE(csd(0, 9, 9, -1).find("&ppp_authtype=PAP&csd_callspeed=AUTO&"), std::string::npos);
}

TEST_F(ParlinkOtaOperations, GprsBodyAndPorts) {
  SmsPtr sms;
  Bstr to("1"), name("N"), url("u"), access("internet.apn"), empty(""), result;
  const auto gprs = [&](LONG port) {
    EXPECT_EQ(sms->OTA_SetGPRS(to.get(), name.get(), url.get(), 1, 3, empty.get(), empty.get(),
                               port, access.get(), result.out()),
              S_OK);
    return LastBody();
  };
  EXPECT_EQ(gprs(1), "api_id=&user=&password=&ota_type=1&name=N&url=u&bearer=GPRS"
                     "&ppp_logintype=AUTOMATIC&ppp_authtype=MSCHAP&port=9201"
                     "&gprs_access=internet.apn&to=1&mo=0&msg_type=SMS_TEXT");
  EXPECT_NE(gprs(2).find("&port=9202&"), std::string::npos);
  EXPECT_NE(gprs(3).find("&port=9203&"), std::string::npos);
  EXPECT_NE(gprs(0).find("&port=9200&"), std::string::npos);
  EXPECT_NE(gprs(7).find("&port=9200&"), std::string::npos);
}

TEST_F(ParlinkOtaOperations, SettingsFailuresHaveTheirOwnDescriptions) {
  SmsPtr sms;
  server_.SetReply("/http/sendota", Reply("ERR: 101, Invalid or missing parameter"));
  Bstr to("1"), name("N"), result;
  ASSERT_EQ(sms->OTA_SetCSD(to.get(), name.get(), nullptr, 0, 0, nullptr, nullptr, 0, 0, nullptr,
                            result.out()),
            S_OK);
  EXPECT_EQ(result.str(), "ERR: 101, Invalid or missing parameter");
  EXPECT_EQ(Error(sms.get()), 101);
  EXPECT_EQ(ErrorDesc(sms.get()), "OTA_SetCSD Failed.");
  ASSERT_EQ(sms->OTA_SetGPRS(to.get(), name.get(), nullptr, 0, 0, nullptr, nullptr, 0, nullptr,
                             result.out()),
            S_OK);
  EXPECT_EQ(ErrorDesc(sms.get()), "OTA_SetGPRS Failed.");
  Bstr smsTo;
  sms->get_smsTO(smsTo.out());
  EXPECT_EQ(smsTo.str(), "1");
}
