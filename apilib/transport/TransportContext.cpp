#include "transport/TransportContext.h"

#include <curl/curl.h>

#include <mutex>

#include "transport/Base64.h"
#include "transport/BaseUrl.h"
#include "transport/HttpTransport.h"
#include "transport/SecureTransport.h"
#include "transport/SslLibrary.h"

namespace parlink {

namespace {
std::mutex g_instanceMutex;
std::unique_ptr<TransportContext> g_instance;
} // namespace

TransportContext &TransportContext::Instance() {
  std::lock_guard<std::mutex> lock(g_instanceMutex);
  if (!g_instance) g_instance = std::make_unique<TransportContext>();
  return *g_instance;
}

void TransportContext::ResetForTesting() {
  std::lock_guard<std::mutex> lock(g_instanceMutex);
  g_instance.reset();
}

TransportContext::TransportContext()
    : baseUrl_(DefaultBaseUrl()), ssl_(std::make_unique<SslLibrary>()) {
  curlReady_ = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
}

TransportContext::~TransportContext() {
  if (curlReady_) curl_global_cleanup();
}

bool TransportContext::SetBaseUrl(std::string_view candidate) {
  return ApplyBaseUrlRule(candidate, baseUrl_);
}

void TransportContext::ResetBaseUrl() {
  baseUrl_ = DefaultBaseUrl();
}

int32_t TransportContext::AccessTypeFor(int32_t inetConnection) {
  switch (inetConnection) {
  case 1:
    return kAccessDirect;
  case 3:
    return kAccessPreconfigNoAutoproxy;
  case 4:
    return kAccessNamedProxy;
  default:
    return kAccessPreconfig;
  }
}

bool TransportContext::EnsureSession(std::string &reason) {
  if (sessionOpen_) return true;
  if (!curlReady_) {
    const CURLcode rc = curl_global_init(CURL_GLOBAL_DEFAULT);
    curlReady_ = rc == CURLE_OK;
    if (!curlReady_) {
      reason = curl_easy_strerror(rc);
      return false;
    }
  }
  sessionOpen_ = true;
  settings_.connectTimeoutMs = processConnectTimeoutMs_;
  settings_.receiveTimeoutMs = processReceiveTimeoutMs_;
  savedConnectTimeoutMs_ = settings_.connectTimeoutMs;
  savedReceiveTimeoutMs_ = settings_.receiveTimeoutMs;
  return true;
}

TransportResult TransportContext::OpenSession(int32_t accessType, std::string_view proxyHost,
                                              std::string_view proxyPort) {
  sessionOpen_ = false;
  settings_.accessType = accessType;
  settings_.proxyList = "http=http://";
  settings_.proxyList.append(proxyHost);
  settings_.proxyList.push_back(':');
  settings_.proxyList.append(proxyPort);
  std::string reason;
  if (!EnsureSession(reason)) return TransportResult::Failure("ERR: '" + reason + "'");
  return TransportResult::Success("OK:");
}

void TransportContext::SetProxyCredentials(std::string_view user, std::string_view password) {
  settings_.proxyUser.assign(user);
  settings_.proxyPassword.assign(password);
  std::string credentials(user);
  credentials.push_back(':');
  credentials.append(password);
  settings_.proxyAuthorization = "Proxy-Authorization: Basic " + Base64Encode(credentials) + "\r\n";
}

long TransportContext::ConnectTimeout() const {
  return sessionOpen_ ? settings_.connectTimeoutMs : processConnectTimeoutMs_;
}

long TransportContext::ReceiveTimeout() const {
  return sessionOpen_ ? settings_.receiveTimeoutMs : processReceiveTimeoutMs_;
}

void TransportContext::SetConnectTimeout(long timeoutMs) {
  (sessionOpen_ ? settings_.connectTimeoutMs : processConnectTimeoutMs_) = timeoutMs;
}

void TransportContext::SetReceiveTimeout(long timeoutMs) {
  (sessionOpen_ ? settings_.receiveTimeoutMs : processReceiveTimeoutMs_) = timeoutMs;
}

bool TransportContext::SecureAvailable() const {
  return ssl_ && ssl_->Available();
}

TransportResult TransportContext::Request(std::string_view path, std::string_view body,
                                          int32_t communicationType) {
  std::string url = baseUrl_;
  url.append(path);
  if (communicationType == 1) {
    return SecureTransport(*ssl_).Send(url, body, ConnectTimeout(), ReceiveTimeout(), lastStatus_);
  }
  lastStatus_ = 0;
  std::string reason;
  if (!EnsureSession(reason))
    return TransportResult::Failure("Unable to init Internet communication!");
  return HttpTransport().Send(url, body, settings_, lastStatus_);
}

bool TransportContext::OnlineTest(int32_t communicationType) {
  const TransportResult reply = Request("utils/nettest", "", communicationType);
  return reply.ok && reply.text.compare(0, 2, "OK") == 0;
}

} // namespace parlink
