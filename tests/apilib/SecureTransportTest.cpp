// The secure path against a local TLS server on 127.0.0.1:443 with a test
// certificate authority made at run time, and the library's loading rules.
#include "TestSms.h"
#include "TlsTestServer.h"

#include <csignal>
#include <cstdlib>
#include <fstream>

#include "testsupport/TestEnv.h"
#include "transport/SecureTransport.h"

using namespace parlinktest;
namespace fs = std::filesystem;

namespace {

// Keys and certificates made with the openssl command in a fresh folder.
struct TestPki {
  fs::path dir;
  fs::path caCert, caKey;
  fs::path goodCert, goodKey;   // localhost and 127.0.0.1, issued by the CA
  fs::path otherCert, otherKey; // other.example, issued by the CA
  fs::path selfCert, selfKey;   // localhost, self-signed

  bool Make() {
    dir = testsupport::MakeTempDir("pki");
    caCert = dir / "ca.pem";
    caKey = dir / "ca.key";
    const std::string curve = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";
    if (!Run("openssl req -x509" + curve + " -keyout " + Q(caKey) + " -out " + Q(caCert) +
             " -days 2 -subj /CN=Parlink-Test-CA -addext basicConstraints=critical,CA:TRUE"
             " -addext keyUsage=critical,keyCertSign,cRLSign"))
      return false;
    return Issue("good", "localhost", "DNS:localhost,IP:127.0.0.1", goodCert, goodKey) &&
           Issue("other", "other.example", "DNS:other.example", otherCert, otherKey) &&
           Run("openssl req -x509" + curve + " -keyout " + Q(selfKey = dir / "self.key") +
               " -out " + Q(selfCert = dir / "self.pem") +
               " -days 2 -subj /CN=localhost -addext subjectAltName=DNS:localhost,IP:127.0.0.1");
  }

private:
  static std::string Q(const fs::path &p) { return "'" + p.string() + "'"; }
  static bool Run(const std::string &command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
  }
  bool Issue(const std::string &name, const std::string &cn, const std::string &san, fs::path &cert,
             fs::path &key) {
    cert = dir / (name + ".pem");
    key = dir / (name + ".key");
    const fs::path csr = dir / (name + ".csr"), ext = dir / (name + ".ext");
    std::ofstream(ext) << "subjectAltName=" << san << "\n";
    return Run("openssl req -new -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes"
               " -keyout " +
               Q(key) + " -out " + Q(csr) + " -subj /CN=" + cn) &&
           Run("openssl x509 -req -in " + Q(csr) + " -CA " + Q(caCert) + " -CAkey " + Q(caKey) +
               " -CAcreateserial -days 2 -out " + Q(cert) + " -extfile " + Q(ext));
  }
};

std::string Response(const std::string &body) {
  return "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body;
}

class ParlinkSecureTransport : public GatewayTest {
protected:
  void SetUp() override {
    GatewayTest::SetUp();
    std::signal(SIGPIPE, SIG_IGN); // the test server writes to clients that may have gone
    if (!TlsTestServer::CanBindPort())
      GTEST_SKIP() << "127.0.0.1:443 cannot be bound here (needs privileges or is in use)";
    ASSERT_TRUE(pki_.Make()) << "the openssl command could not make the test certificates";
    setenv("SSL_CERT_FILE", pki_.caCert.c_str(), 1);
    unsetenv("SSL_CERT_DIR");
    UseBase("http://localhost/");
  }
  void TearDown() override {
    unsetenv("SSL_CERT_FILE");
    GatewayTest::TearDown();
  }
  static void UseBase(const std::string &url) {
    setenv("PARLINK_BASE_URL", url.c_str(), 1);
    parlink::TransportContext::ResetForTesting();
  }
  static HRESULT Recover(ISMS *sms, Bstr &result) {
    sms->put_smsCommunicationType(1);
    Bstr user("de mo"), email("a@b");
    return sms->RecoverPassword(user.get(), email.get(), result.out());
  }

  TestPki pki_;
};

} // namespace

TEST_F(ParlinkSecureTransport, PostsTheAbsoluteUrlAndReadsToTheEnd) {
  const std::string body = "OK: " + std::string(3000, 'x') + "\r\nsecond line";
  TlsTestServer server(pki_.goodCert, pki_.goodKey, Response(body));
  ASSERT_TRUE(server.Listening());
  SmsPtr sms;
  Bstr result;
  ASSERT_EQ(Recover(sms.get(), result), S_OK);
  EXPECT_EQ(result.str(), body);
  EXPECT_EQ(Error(sms.get()), 0);
  EXPECT_EQ(parlink::TransportContext::Instance().LastHttpStatus(), 200);
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0],
            "POST http://localhost/utils/recover_passwd HTTP/1.0\r\nAccept: */*\r\n"
            "User-Agent: COM API\r\nContent-Type: application/x-www-form-urlencoded\r\n"
            "Content-Length: 22\r\n\r\nuser=de+mo&email=a%40b");
  EXPECT_EQ(server.ServerNames()[0], "localhost");
  // Nothing reached the plain server.
  EXPECT_EQ(server_.RequestCount(), 0u);
}

TEST_F(ParlinkSecureTransport, LongBodiesArePostedTooAndAnAddressHostIsVerified) {
  TlsTestServer server(pki_.goodCert, pki_.goodKey, Response("OK: fine"));
  ASSERT_TRUE(server.Listening());
  UseBase("http://127.0.0.1:8080/gw");
  SmsPtr sms;
  sms->put_smsCommunicationType(1);
  Bstr user(std::string(300, 'u')), email("e"), result;
  ASSERT_EQ(sms->RecoverPassword(user.get(), email.get(), result.out()), S_OK);
  EXPECT_EQ(result.str(), "OK: fine");
  ASSERT_EQ(server.Requests().size(), 1u);
  // Port 443 whatever the URL says; the URL itself goes in the request line.
  EXPECT_EQ(server.Requests()[0].rfind("POST http://127.0.0.1:8080/gw/utils/recover_passwd "
                                       "HTTP/1.0\r\n",
                                       0),
            0u);
  EXPECT_NE(server.Requests()[0].find("Content-Length: 313\r\n"), std::string::npos);
  EXPECT_EQ(server.ServerNames()[0], ""); // no SNI for an address
}

TEST_F(ParlinkSecureTransport, UntrustedCertificateIsRefused) {
  TlsTestServer server(pki_.selfCert, pki_.selfKey, Response("OK: should not be read"));
  ASSERT_TRUE(server.Listening());
  SmsPtr sms;
  sms->put_ThrowError(VARIANT_TRUE);
  Bstr result;
  ASSERT_EQ(Recover(sms.get(), result), E_FAIL);
  EXPECT_EQ(result.str(), "ERR: -2,Communication error: SSL connect failed!");
  EXPECT_EQ(Error(sms.get()), 99);
  EXPECT_EQ(ErrorDesc(sms.get()), "Communication error: SSL connect failed!");
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(ParlinkSecureTransport, CertificateForAnotherHostIsRefused) {
  TlsTestServer server(pki_.otherCert, pki_.otherKey, Response("OK: should not be read"));
  ASSERT_TRUE(server.Listening());
  SmsPtr sms;
  Bstr result;
  ASSERT_EQ(Recover(sms.get(), result), S_OK);
  EXPECT_EQ(result.str(), "ERR: -2,Communication error: SSL connect failed!");
  EXPECT_TRUE(server.Requests().empty());
}

TEST_F(ParlinkSecureTransport, NonSuccessStatusCarriesTheWholeResponse) {
  const std::string response = "HTTP/1.0 404 Not Found\r\nX: y\r\n\r\nmissing";
  TlsTestServer server(pki_.goodCert, pki_.goodKey, response);
  ASSERT_TRUE(server.Listening());
  SmsPtr sms;
  Bstr result;
  ASSERT_EQ(Recover(sms.get(), result), S_OK);
  EXPECT_EQ(result.str(), "ERR: -2,Communication error: ERR: -1," + response);
  EXPECT_EQ(parlink::TransportContext::Instance().LastHttpStatus(), 404);
}

TEST_F(ParlinkSecureTransport, NothingListening) {
  SmsPtr sms;
  Bstr result;
  ASSERT_EQ(Recover(sms.get(), result), S_OK);
  EXPECT_EQ(result.str(), "ERR: -2,Communication error: Socket connect failed!");
  UseBase("http://no-such-host.invalid/");
  ASSERT_EQ(Recover(sms.get(), result), S_OK);
  EXPECT_EQ(result.str(), "ERR: -2,Communication error: Failed to gethostbyname!");
}

// The loading rules need no server.
class ParlinkSecureLibraryLoading : public GatewayTest {};

TEST_F(ParlinkSecureLibraryLoading, MissingLibraryMeansNoSecurePath) {
  setenv("PARLINK_SSL_LIBRARY", (testsupport::MakeTempDir("ssl") / "libssl.so.3").c_str(), 1);
  parlink::TransportContext::ResetForTesting();
  SmsPtr sms;
  VARIANT_BOOL can = VARIANT_TRUE;
  ASSERT_EQ(sms->get_CanSendViaSSL(&can), S_OK);
  EXPECT_EQ(can, VARIANT_FALSE);
  sms->put_smsCommunicationType(1);
  Bstr user("u"), email("e"), result;
  ASSERT_EQ(sms->RecoverPassword(user.get(), email.get(), result.out()), S_OK);
  EXPECT_EQ(result.str(), "ERR: -2,Communication error: SSL not installed correctly!");
  EXPECT_EQ(Error(sms.get()), 99);
  EXPECT_EQ(server_.RequestCount(), 0u);
  // The plain path still works.
  sms->put_smsCommunicationType(0);
  ASSERT_EQ(sms->RecoverPassword(user.get(), email.get(), result.out()), S_OK);
  EXPECT_EQ(result.str(), "OK:");
  unsetenv("PARLINK_SSL_LIBRARY");
}

TEST_F(ParlinkSecureLibraryLoading, LibraryWithoutTheEntryPointsIsNotEnough) {
  // zlib loads fine but has none of the names, nor anything that has them.
  setenv("PARLINK_SSL_LIBRARY", "libz.so.1", 1);
  parlink::TransportContext::ResetForTesting();
  SmsPtr sms;
  VARIANT_BOOL can = VARIANT_TRUE;
  ASSERT_EQ(sms->get_CanSendViaSSL(&can), S_OK);
  EXPECT_EQ(can, VARIANT_FALSE);
  unsetenv("PARLINK_SSL_LIBRARY");
}

TEST_F(ParlinkSecureLibraryLoading, SystemLibraryByDefault) {
  SmsPtr sms;
  VARIANT_BOOL can = VARIANT_FALSE;
  ASSERT_EQ(sms->get_CanSendViaSSL(&can), S_OK);
  EXPECT_EQ(can, VARIANT_TRUE);
}
