// The text rules requests and replies are built from: form encoding, the
// base URL rule, Base64, the authentication scrambling, reply reading and
// the secure path's response parsing.
#include <gtest/gtest.h>

#include <parlink/Parlink.h>

#include <cstdlib>

#include "src/AuthScrambler.h"
#include "src/OptionBlock.h"
#include "src/ReplyGrammar.h"
#include "transport/Base64.h"
#include "transport/BaseUrl.h"
#include "transport/FormEncoding.h"
#include "transport/HttpTransport.h"
#include "transport/LeadingInteger.h"
#include "transport/SecureResponse.h"
#include "transport/SecureTransport.h"
#include "transport/UrlParts.h"

using namespace parlink;

TEST(ParlinkFormEncoding, PassesUnreservedAndEncodesTheRest) {
  EXPECT_EQ(FormEncode("a b&c"), "a+b%26c");
  EXPECT_EQ(FormEncode("x-y_z.1"), "x-y_z.1");
  EXPECT_EQ(FormEncode(","), "%2c");
  EXPECT_EQ(FormEncode("\xE9"), "%e9");
  EXPECT_EQ(FormEncode(std::string("\0~*/", 4)), "%00%7e%2a%2f");
  EXPECT_EQ(FormEncode(""), "");
  const std::string all(256, '\xFF');
  EXPECT_EQ(FormEncode(all).size(), 3 * all.size());
}

TEST(ParlinkBaseUrlRule, TrimsAppendsSlashAndRefusesOthers) {
  std::string url = "http://old/";
  EXPECT_TRUE(ApplyBaseUrlRule("  http://host/api \t", url));
  EXPECT_EQ(url, "http://host/api/");
  EXPECT_TRUE(ApplyBaseUrlRule("http://host/", url));
  EXPECT_EQ(url, "http://host/");

  for (const char *refused :
       {"HTTP://host/api", "https://host/api", "ftp://x/", "http:/", "", "   ", "host/api"}) {
    url = "http://kept/";
    EXPECT_FALSE(ApplyBaseUrlRule(refused, url)) << refused;
    EXPECT_EQ(url, "http://kept/") << refused;
  }
}

TEST(ParlinkBaseUrlRule, DefaultComesFromTheEnvironmentWhenValid) {
  unsetenv("PARLINK_BASE_URL");
  EXPECT_EQ(DefaultBaseUrl(), "http://gateway.ostrand.example/");
  setenv("PARLINK_BASE_URL", "http://127.0.0.1:8080/gw", 1);
  EXPECT_EQ(DefaultBaseUrl(), "http://127.0.0.1:8080/gw/");
  setenv("PARLINK_BASE_URL", "https://refused/", 1);
  EXPECT_EQ(DefaultBaseUrl(), "http://gateway.ostrand.example/");
  unsetenv("PARLINK_BASE_URL");
}

TEST(ParlinkBase64, StandardAlphabetWithPadding) {
  EXPECT_EQ(Base64Encode(":"), "Og==");
  EXPECT_EQ(Base64Encode("user:pass"), "dXNlcjpwYXNz");
  EXPECT_EQ(Base64Encode("ab"), "YWI=");
  EXPECT_EQ(Base64Encode(""), "");
  EXPECT_EQ(Base64Encode("\xFB\xFF"), "+/8=");
}

TEST(ParlinkAuthScrambler, HexOfXorWithCyclicKeyAndReversible) {
  EXPECT_EQ(ScrambleAuthBody("P"), "00");
  EXPECT_EQ(ScrambleAuthBody("PelmaTorviP"), "0000000000000000000000");
  const std::string body = "api_id=1&user=u&password=p%26w";
  const std::string scrambled = ScrambleAuthBody(body);
  ASSERT_EQ(scrambled.size(), 2 * body.size());
  for (size_t i = 0; i < body.size(); ++i) {
    const int byte = std::stoi(scrambled.substr(2 * i, 2), nullptr, 16);
    EXPECT_EQ(static_cast<char>(byte ^ kAuthScrambleKey[i % 10]), body[i]);
  }
  EXPECT_EQ(scrambled.find_first_not_of("0123456789abcdef"), std::string::npos);
}

TEST(ParlinkReplyGrammar, ErrorCodeFromTheFifthCharacter) {
  EXPECT_EQ(ReplyErrorCode("ERR: 001, Authentication failed"), 1);
  EXPECT_EQ(ReplyErrorCode("ERR: 0000105, x"), 105);
  EXPECT_EQ(ReplyErrorCode("ERR:    7"), 7);
  EXPECT_EQ(ReplyErrorCode("ERR: -1,404"), -1);
  EXPECT_EQ(ReplyErrorCode("OK: 606, used"), 606);
  EXPECT_EQ(ReplyErrorCode("<html><body>oops</body></html>"), 0);
  EXPECT_EQ(ReplyErrorCode("ERR:"), 0);
  EXPECT_EQ(ReplyErrorCode("E"), 0);
  EXPECT_EQ(ReplyErrorCode(""), 0);
  EXPECT_EQ(ReplyErrorCode("ERR: 99999999999999999999"), 2147483647);
  EXPECT_EQ(ReplyErrorCode("ERR: -99999999999999999999"), -2147483647 - 1);
  EXPECT_TRUE(BeginsWithIgnoringCase("ApiMsgId: 12", "apimsgid:"));
  EXPECT_FALSE(BeginsWithIgnoringCase("apimsgid", "apimsgid:"));
  EXPECT_EQ(ReplyAfter("ID:", 4), "");
  EXPECT_EQ(ReplyAfter("ID: 7", 4), "7");
}

TEST(ParlinkOptionBlock, TypeWords) {
  EXPECT_STREQ(MessageTypeWord(0), "SMS_TEXT");
  EXPECT_STREQ(MessageTypeWord(1), "SMS_FLASH");
  EXPECT_STREQ(MessageTypeWord(2), "SMS_TEXT");
  EXPECT_STREQ(MessageTypeWord(3), "SMS_NOKIA_OLOGO");
  EXPECT_STREQ(MessageTypeWord(4), "SMS_NOKIA_GLOGO");
  EXPECT_STREQ(MessageTypeWord(5), "SMS_NOKIA_PICTURE");
  EXPECT_STREQ(MessageTypeWord(6), "SMS_NOKIA_RINGTONE");
  EXPECT_STREQ(MessageTypeWord(7), "SMS_NOKIA_CLEAN");
  EXPECT_STREQ(MessageTypeWord(8), "SMS_NOKIA_VCARD");
  EXPECT_STREQ(MessageTypeWord(9), "SMS_NOKIA_VCAL");
  EXPECT_STREQ(MessageTypeWord(10), "SMS_NOKIA_RTTL");
  EXPECT_STREQ(MessageTypeWord(11), "SMS_TEXT");
  EXPECT_STREQ(MessageTypeWord(-1), "SMS_TEXT");
}

TEST(ParlinkSecureResponse, BodyBehindTheEmptyLineOfA2xxResponse) {
  SecureResponse ok = ParseSecureResponse("HTTP/1.0 200 OK\r\nX: y\r\n\r\nOK: 1\r\nmore");
  EXPECT_TRUE(ok.result.ok);
  EXPECT_EQ(ok.result.text, "OK: 1\r\nmore");
  EXPECT_EQ(ok.status, 200);

  SecureResponse notFound = ParseSecureResponse("HTTP/1.0 404 Not Found\r\n\r\nnope");
  EXPECT_FALSE(notFound.result.ok);
  EXPECT_EQ(notFound.result.text, "ERR: -1,HTTP/1.0 404 Not Found\r\n\r\nnope");
  EXPECT_TRUE(notFound.hasStatus);
  EXPECT_EQ(notFound.status, 404);

  SecureResponse noBlank = ParseSecureResponse("garbage");
  EXPECT_FALSE(noBlank.result.ok);
  EXPECT_FALSE(noBlank.hasStatus);
  EXPECT_EQ(noBlank.result.text, "ERR: -1,garbage");

  SecureResponse noEmptyLine = ParseSecureResponse("HTTP/1.0 200 OK\r\nX: y\r\n");
  EXPECT_FALSE(noEmptyLine.result.ok);
  EXPECT_EQ(noEmptyLine.status, 200);

  EXPECT_FALSE(ParseSecureResponse("").result.ok);
  EXPECT_EQ(ParseSecureResponse("").result.text, "ERR: -1,");
}

TEST(ParlinkSecureRequest, ExactRequestText) {
  EXPECT_EQ(SecureTransport::BuildRequest("http://h/http/ping", "session_id=1"),
            "POST http://h/http/ping HTTP/1.0\r\nAccept: */*\r\nUser-Agent: COM API\r\n"
            "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 12\r\n\r\n"
            "session_id=1");
}

TEST(ParlinkUrlParts, HostPortAndPathWithinBounds) {
  UrlParts parts;
  ASSERT_TRUE(SplitUrl("http://example.org/api/http/auth", parts));
  EXPECT_EQ(parts.host, "example.org");
  EXPECT_EQ(parts.port, 80);
  EXPECT_EQ(parts.path, "/api/http/auth");
  ASSERT_TRUE(SplitUrl("http://127.0.0.1:8081/x", parts));
  EXPECT_EQ(parts.port, 8081);
  ASSERT_TRUE(SplitUrl("http://h", parts));
  EXPECT_EQ(parts.path, "/");
  EXPECT_FALSE(SplitUrl("http://", parts));
  EXPECT_FALSE(SplitUrl("http://h:99999/", parts));
  EXPECT_FALSE(SplitUrl("http://h/" + std::string(2100, 'a'), parts));
  EXPECT_FALSE(SplitUrl("http://" + std::string(2100, 'a') + "/", parts));
  EXPECT_EQ(BareHost("[::1]"), "::1");
}

TEST(ParlinkPlainRequestTarget, EscapesOnlyWhatARequestLineCannotCarry) {
  EXPECT_EQ(HttpTransport::ObjectName("/http/ping", ""), "/http/ping");
  EXPECT_EQ(HttpTransport::ObjectName("/p", "a=1&b=%2c"), "/p?a=1&b=%2c");
  EXPECT_EQ(HttpTransport::ObjectName("/p", "user=a b#c\r"), "/p?user=a%20b%23c%0d");
  EXPECT_EQ(HttpTransport::ObjectName("/p", std::string(201, 'x')), "/p");
}

TEST(ParlinkLeadingInteger, ReadsLikeTheGatewayWritesNumbers) {
  EXPECT_EQ(ParseLeadingInteger(" 200 OK"), 200);
  EXPECT_EQ(ParseLeadingInteger("+5"), 5);
  EXPECT_EQ(ParseLeadingInteger("-"), 0);
  EXPECT_EQ(ParseLeadingInteger("abc"), 0);
}

TEST(ParlinkBaseUrlKey, DerivedFromLengthAndHashConstant) {
  EXPECT_EQ(static_cast<uint32_t>(BaseUrlKey(0)), PARLINK_URL_HASH);
  EXPECT_EQ(static_cast<uint32_t>(BaseUrlKey(22)), (22u | (22u << 16)) ^ PARLINK_URL_HASH);
}
