// The plain HTTP path: GET or POST by body length, the headers, and every
// way an exchange can fail, always ending without hanging.
#include "TestSms.h"

#include <thread>

using namespace parlinktest;
using testsupport::RecordingServer;

namespace {

class ParlinkPlainTransport : public GatewayTest {
protected:
  // A RecoverPassword body is "user=" + user + "&email=", 12 bytes plus the user.
  HRESULT RecoverWithBodyLength(ISMS *sms, size_t length, Bstr &result) {
    Bstr user(std::string(length - 12, 'a')), email("");
    return sms->RecoverPassword(user.get(), email.get(), result.out());
  }
};

class ParlinkRawTransport : public GatewayTest {
protected:
  ParlinkRawTransport() : GatewayTest(RecordingServer::Mode::RawSocket) {}
  std::string PingWith(const std::string &raw, HRESULT &hr, SmsPtr &sms) {
    server_.SetReply("/http/ping", RawReply(raw));
    LogInRaw(sms.get());
    Bstr result;
    hr = sms->Ping(result.out());
    return result.str();
  }
  void LogInRaw(ISMS *sms) {
    server_.SetReply("/http/auth", RawReply("HTTP/1.0 200 OK\r\nContent-Length: 6\r\n\r\nOK: S1"));
    Bstr api("1"), user("u"), password("p"), result;
    ASSERT_EQ(sms->Authenticate(api.get(), user.get(), password.get(), VARIANT_FALSE, result.out()),
              S_OK);
    ASSERT_EQ(result.str(), "OK: S1");
  }
};

} // namespace

TEST_F(ParlinkPlainTransport, BodyOf200GoesAsGetAnd201AsPost) {
  SmsPtr sms;
  server_.SetReply("/utils/recover_passwd", Reply("OK: sent"));
  Bstr result;
  ASSERT_EQ(RecoverWithBodyLength(sms.get(), 200, result), S_OK);
  auto request = *server_.LastRequest();
  EXPECT_EQ(request.method, "GET");
  EXPECT_EQ(request.path, "/utils/recover_passwd");
  EXPECT_EQ(request.query, "user=" + std::string(188, 'a') + "&email=");
  EXPECT_EQ(request.query.size(), 200u);
  EXPECT_EQ(request.body, "");
  EXPECT_FALSE(request.HasHeader("Content-Type"));

  ASSERT_EQ(RecoverWithBodyLength(sms.get(), 201, result), S_OK);
  EXPECT_EQ(result.str(), "OK: sent");
  request = *server_.LastRequest();
  EXPECT_EQ(request.method, "POST");
  EXPECT_EQ(request.target, "/utils/recover_passwd");
  EXPECT_FALSE(request.hasQuery);
  EXPECT_EQ(request.body, "user=" + std::string(189, 'a') + "&email=");
  EXPECT_EQ(request.Header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(request.Header("Content-Length"), "201");
}

TEST_F(ParlinkPlainTransport, HeadersOfEveryRequest) {
  SmsPtr sms;
  Bstr result;
  ASSERT_EQ(RecoverWithBodyLength(sms.get(), 20, result), S_OK);
  const auto request = *server_.LastRequest();
  EXPECT_EQ(request.version, "HTTP/1.0");
  EXPECT_EQ(request.Header("User-Agent"), "Parlink");
  EXPECT_EQ(request.Header("Accept"), "*/*");
  EXPECT_EQ(request.Header("Cache-Control"), "no-cache");
  EXPECT_EQ(request.Header("Pragma"), "no-cache");
  EXPECT_EQ(request.Header("Host"), "127.0.0.1:" + std::to_string(server_.Port()));
  EXPECT_FALSE(request.HasHeader("Proxy-Authorization"));
  EXPECT_FALSE(request.HasHeader("Expect"));
}

TEST_F(ParlinkPlainTransport, EmptyBodyGoesToTheBarePath) {
  EXPECT_TRUE(parlink::TransportContext::Instance().OnlineTest(0));
  const auto request = *server_.LastRequest();
  EXPECT_EQ(request.method, "GET");
  EXPECT_EQ(request.target, "/utils/nettest");
  EXPECT_FALSE(request.hasQuery);
  server_.SetReply("/utils/nettest", Reply("NOT OK"));
  EXPECT_FALSE(parlink::TransportContext::Instance().OnlineTest(0));
}

TEST_F(ParlinkPlainTransport, ConnectionRefused) {
  const int port = testsupport::FreeLoopbackPort();
  setenv("PARLINK_BASE_URL", ("http://127.0.0.1:" + std::to_string(port) + "/").c_str(), 1);
  parlink::TransportContext::ResetForTesting();
  SmsPtr sms;
  sms->put_ThrowError(VARIANT_TRUE);
  Bstr result;
  ASSERT_EQ(RecoverWithBodyLength(sms.get(), 20, result), E_FAIL);
  EXPECT_EQ(result.str(), "ERR: -2,Communication error: HttpSendRequest failed!");
  EXPECT_EQ(Error(sms.get()), 99);
  EXPECT_EQ(ErrorDesc(sms.get()), "Communication error: HttpSendRequest failed!");
  const auto error = TakeErrorObject();
  ASSERT_TRUE(error);
  EXPECT_EQ(error->description, "Communication error: HttpSendRequest failed!");
}

TEST_F(ParlinkPlainTransport, HttpErrorStatusIsACommunicationError) {
  SmsPtr sms;
  server_.SetReply("/utils/recover_passwd", Reply("OK: not really", 404));
  Bstr result;
  ASSERT_EQ(RecoverWithBodyLength(sms.get(), 20, result), S_OK);
  EXPECT_EQ(result.str(), "ERR: -2,Communication error: ERR: -1,404");
  EXPECT_EQ(Error(sms.get()), 99);
  EXPECT_EQ(parlink::TransportContext::Instance().LastHttpStatus(), 404);

  server_.SetReply("/utils/recover_passwd", Reply("oops", 500));
  RecoverWithBodyLength(sms.get(), 20, result);
  EXPECT_EQ(result.str(), "ERR: -2,Communication error: ERR: -1,500");
}

TEST_F(ParlinkPlainTransport, StallPastTheReceiveTimeoutFails) {
  SmsPtr sms;
  LONG previous = 0;
  sms->SetReceiveTimeout(300, &previous);
  server_.SetReply("/utils/recover_passwd", Reply("OK: late").WithStall(std::chrono::seconds(30)));
  Bstr result;
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(RecoverWithBodyLength(sms.get(), 20, result), S_OK);
  EXPECT_EQ(result.str(), "ERR: -2,Communication error: HttpSendRequest failed!");
  EXPECT_EQ(Error(sms.get()), 99);
  // Well before the server would have answered.
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}

TEST_F(ParlinkPlainTransport, BadBaseUrlCannotBeDecoded) {
  setenv("PARLINK_BASE_URL", "http://host:99999/", 1);
  parlink::TransportContext::ResetForTesting();
  ASSERT_EQ(parlink::TransportContext::Instance().BaseUrl(), "http://host:99999/");
  SmsPtr sms;
  Bstr result;
  RecoverWithBodyLength(sms.get(), 20, result);
  EXPECT_EQ(result.str(), "ERR: -2,Communication error: Failed to decode URL!");
}

TEST_F(ParlinkPlainTransport, ObjectUsedFromTwoThreadsOneAfterTheOther) {
  SmsPtr sms;
  server_.SetReply("/http/ping", Reply("OK: pong"));
  LogIn(sms.get());
  std::string first, second;
  std::thread([&] {
    Bstr result;
    sms->Ping(result.out());
    first = result.str();
  }).join();
  std::thread([&] {
    Bstr result;
    sms->Ping(result.out());
    second = result.str();
  }).join();
  EXPECT_EQ(first, "OK: pong");
  EXPECT_EQ(second, "OK: pong");
}

TEST_F(ParlinkRawTransport, ReplyLongerThanDeclaredEndsAtTheDeclaredLength) {
  SmsPtr sms;
  HRESULT hr = E_UNEXPECTED;
  EXPECT_EQ(PingWith("HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nOK: 1234567", hr, sms), "OK: 1");
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(Error(sms.get()), 0);
}

TEST_F(ParlinkRawTransport, ReplyShorterThanDeclaredEndsAtTheDataReceived) {
  SmsPtr sms;
  HRESULT hr = E_UNEXPECTED;
  EXPECT_EQ(PingWith("HTTP/1.0 200 OK\r\nContent-Length: 50\r\n\r\nOK: 12", hr, sms), "OK: 12");
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(Error(sms.get()), 0);
}

TEST_F(ParlinkRawTransport, ReplyWithoutLengthIsReadToTheEnd) {
  SmsPtr sms;
  HRESULT hr = E_UNEXPECTED;
  const std::string body = "OK: " + std::string(5000, 'z');
  EXPECT_EQ(PingWith("HTTP/1.0 200 OK\r\n\r\n" + body, hr, sms), body);
}

TEST_F(ParlinkRawTransport, ReplyTextEndsAtANulByte) {
  SmsPtr sms;
  HRESULT hr = E_UNEXPECTED;
  EXPECT_EQ(
      PingWith(std::string("HTTP/1.0 200 OK\r\nContent-Length: 9\r\n\r\nOK: 1\0xyz", 47), hr, sms),
      "OK: 1");
}

TEST_F(ParlinkRawTransport, NotHttpAtAllIsAFailedSend) {
  SmsPtr sms;
  HRESULT hr = E_UNEXPECTED;
  EXPECT_EQ(PingWith("hello there\r\n", hr, sms),
            "ERR: -2,Communication error: HttpSendRequest failed!");
  EXPECT_EQ(Error(sms.get()), 99);
}

TEST_F(ParlinkRawTransport, StallInsideTheBodyKeepsWhatArrived) {
  SmsPtr sms;
  LogInRaw(sms.get());
  LONG previous = 0;
  sms->SetReceiveTimeout(300, &previous);
  // Headers and part of the declared body, then silence.
  server_.SetReply("/http/ping", RawReply("HTTP/1.0 200 OK\r\nContent-Length: 20\r\n\r\nOK: part")
                                     .HoldingOpen(std::chrono::seconds(30)));
  Bstr result;
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(sms->Ping(result.out()), S_OK);
  EXPECT_EQ(result.str(), "OK: part");
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
}
