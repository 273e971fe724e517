// The Parlink object's secure path against the simulator's HTTPS listener.
// The secure path always connects to port 443, so this test needs to bind
// 127.0.0.1:443 and is skipped where it cannot.

#include "SimClient.h"

#include <automation/automation.h>
#include <codepage/Codepage.h>
#include <gatewaysim/GatewaySimServer.h>
#include <parlink/Parlink.h>

#include "src/SMS.h"
#include "testsupport/TestEnv.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

namespace {

class SecureSms final : public SMS {
public:
  SecureSms() = default;
  HRESULT QueryInterface(REFIID, void **ppv) override {
    if (ppv) *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return 2; }
  ULONG Release() override { return 1; }
  HRESULT GetTypeInfoCount(UINT *count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *,
                 UINT *) override {
    return E_NOTIMPL;
  }
  ~SecureSms() = default;
};

BSTR Wide(const std::string &utf8) {
  std::u16string w = codepage::Utf8ToUtf16(utf8);
  return SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
}

std::string Take(BSTR value) {
  std::string out = value ? codepage::Utf16ToUtf8(std::u16string(value, SysStringLen(value))) : "";
  SysFreeString(value);
  return out;
}

bool Port443Free() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  int yes = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(443);
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bool ok = bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0;
  close(fd);
  return ok;
}

} // namespace

TEST(SimParlinkSecureTest, LoginAndSendOverHttps) {
  if (!Port443Free()) GTEST_SKIP() << "127.0.0.1:443 cannot be bound here";
  auto dir = testsupport::MakeTempDir("tls");
  std::string cert = (dir / "cert.pem").string();
  std::string key = (dir / "key.pem").string();
  std::string command = "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1"
                        " -addext subjectAltName=IP:127.0.0.1,DNS:localhost -keyout " +
                        key + " -out " + cert + " >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "openssl command not available";
  setenv("SSL_CERT_FILE", cert.c_str(), 1);

  gatewaysim::SimOptions options;
  options.speed = 0;
  options.httpsPort = 443;
  options.certFile = cert;
  options.keyFile = key;
  gatewaysim::GatewaySimServer server(options);
  std::string error;
  ASSERT_TRUE(server.Start(&error)) << error;
  setenv("PARLINK_BASE_URL", server.BaseUrl().c_str(), 1);

  SecureSms sms;
  VARIANT_BOOL canSsl = VARIANT_FALSE;
  sms.get_CanSendViaSSL(&canSsl);
  if (canSsl != VARIANT_TRUE) GTEST_SKIP() << "the secure-transport library is not available";
  std::string url = server.BaseUrl();
  BSTR result = nullptr;
  BSTR wideUrl = Wide(url);
  sms.SetBaseURL(VARIANT_FALSE, wideUrl, parlink::BaseUrlKey(static_cast<uint32_t>(url.size())),
                 &result);
  SysFreeString(wideUrl);
  Take(result);
  sms.put_smsCommunicationType(1);

  BSTR api = Wide("3010101"), user = Wide("demo"), password = Wide("demo123");
  sms.Authenticate(api, user, password, VARIANT_TRUE, &result);
  std::string login = Take(result);
  SysFreeString(api);
  SysFreeString(user);
  SysFreeString(password);
  EXPECT_EQ(login.rfind("OK: ", 0), 0u) << login;

  BSTR text = Wide("over TLS"), to = Wide("27831234567");
  sms.SendMsg(VARIANT_TRUE, text, to, &result);
  std::string sent = Take(result);
  SysFreeString(text);
  SysFreeString(to);
  EXPECT_EQ(sent.rfind("ID: ", 0), 0u) << sent;
  // Every secure request is a POST with the absolute URL in its request line.
  std::string log = server.LogJsonLines();
  EXPECT_NE(log.find("\"method\":\"POST\",\"params\""), std::string::npos) << log;
  EXPECT_EQ(log.find("\"method\":\"GET\""), std::string::npos) << log;
  unsetenv("SSL_CERT_FILE");
}
