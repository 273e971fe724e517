#pragma once
// Talks to a gateway simulator the way the Parlink library does: the plain
// path is HTTP/1.0 with the body as a query string when it is at most 200
// characters and as a form-encoded POST when it is longer; the secure path
// is one POST with the absolute "http://" URL in the request line, the
// sending side shut down after the request, over TLS or (for tests of the
// request form alone) over plain TCP.

#include <string>

namespace gatewaysimtest {

struct HttpResult {
  bool transportOk = false; // a complete HTTP response arrived
  long status = 0;
  std::string body;
  std::string error;  // transport failure text
  int curlCode = 0;   // plain path: the libcurl result code
  std::string method; // plain path: "GET" or "POST" as sent
};

// True when `text` equals `pattern` with every "<id>" standing for an
// identifier of 32 lower-case hex digits, e.g. "ID: <id> To: 27831234567".
bool MatchesReply(const std::string &text, const std::string &pattern);

class SimClient {
public:
  explicit SimClient(std::string baseUrl) : baseUrl_(std::move(baseUrl)) {}

  HttpResult Call(const std::string &path, const std::string &body, long timeoutMs = 5000) const;
  // Admin helpers: GET or POST (empty form body) under /_admin/.
  HttpResult AdminGet(const std::string &pathAndQuery) const;
  HttpResult AdminPost(const std::string &pathAndQuery, const std::string &body = "") const;

  // The secure path's request, over plain TCP to host:port of the base URL.
  HttpResult AbsoluteFormPost(const std::string &path, const std::string &body) const;
  // The secure path's request over TLS to 127.0.0.1:`port`, trusting
  // `caFile`.
  HttpResult SecurePost(int port, const std::string &caFile, const std::string &path,
                        const std::string &body) const;

  const std::string &BaseUrl() const { return baseUrl_; }

  // Request texts as the library builds them.
  static std::string Encode(const std::string &value);
  static std::string AccountCredentials(const std::string &apiId, const std::string &user,
                                        const std::string &password);
  static std::string ClientCredentials(const std::string &clientId, const std::string &user,
                                       const std::string &password);
  static std::string Scrambled(const std::string &body); // "string=" + hex

private:
  HttpResult Raw(const std::string &method, const std::string &url, const std::string &body,
                 long timeoutMs, bool http10) const;
  std::string baseUrl_;
};

} // namespace gatewaysimtest
