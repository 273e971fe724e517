#include "SimClient.h"

#include <arpa/inet.h>
#include <curl/curl.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>

#if defined(__SANITIZE_THREAD__)
// The system's HTTP library is not built for the thread sanitizer: its
// lazily initialised statics and inline atomics look like races to it.
// Reports from inside that library are therefore not ours to act on.
extern "C" const char *__tsan_default_suppressions() {
  return "called_from_lib:libcpp-httplib.so\n";
}
#endif

namespace gatewaysimtest {

namespace {
size_t Collect(char *data, size_t size, size_t count, void *user) {
  static_cast<std::string *>(user)->append(data, size * count);
  return size * count;
}

void InitCurl() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Splits "http://host:port/" into host and port.
void HostPort(const std::string &url, std::string &host, int &port) {
  std::string rest = url.substr(url.find("://") + 3);
  rest = rest.substr(0, rest.find('/'));
  size_t colon = rest.rfind(':');
  host = rest.substr(0, colon);
  port = colon == std::string::npos ? 80 : std::atoi(rest.c_str() + colon + 1);
}

std::string SecureRequest(const std::string &url, const std::string &body) {
  return "POST " + url + " HTTP/1.0\r\nAccept: */*\r\nUser-Agent: COM API\r\n" +
         "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
         std::to_string(body.size()) + "\r\n\r\n" + body;
}

// Reads a whole HTTP/1.0 response into `result`.
void ParseResponse(const std::string &response, HttpResult &result) {
  size_t blank = response.find(' ');
  size_t head = response.find("\r\n\r\n");
  if (blank == std::string::npos || head == std::string::npos) {
    result.error = "incomplete response: " + response;
    return;
  }
  result.status = std::atol(response.c_str() + blank + 1);
  result.body = response.substr(head + 4);
  result.transportOk = true;
}

int ConnectLoopback(int port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}
} // namespace

bool MatchesReply(const std::string &text, const std::string &pattern) {
  static const std::string kId = "<id>";
  size_t t = 0, p = 0;
  while (p < pattern.size()) {
    if (pattern.compare(p, kId.size(), kId) == 0) {
      if (t + 32 > text.size()) return false;
      for (size_t i = t; i < t + 32; ++i) {
        char c = text[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
      }
      t += 32;
      p += kId.size();
    } else {
      if (t >= text.size() || text[t] != pattern[p]) return false;
      ++t;
      ++p;
    }
  }
  return t == text.size();
}

std::string SimClient::Encode(const std::string &value) {
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  for (char ch : value) {
    auto c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '.' || c == '_') {
      out.push_back(static_cast<char>(c));
    } else if (c == ' ') {
      out.push_back('+');
    } else {
      out += {'%', kHex[c >> 4], kHex[c & 15]};
    }
  }
  return out;
}

std::string SimClient::AccountCredentials(const std::string &apiId, const std::string &user,
                                          const std::string &password) {
  return "api_id=" + apiId + "&user=" + user + "&password=" + Encode(password);
}

std::string SimClient::ClientCredentials(const std::string &clientId, const std::string &user,
                                         const std::string &password) {
  return "client_id=" + clientId + "&user=" + user + "&password=" + Encode(password);
}

std::string SimClient::Scrambled(const std::string &body) {
  static const char kKey[] = "PelmaTorvi";
  static const char kHex[] = "0123456789abcdef";
  std::string out = "string=";
  for (size_t i = 0; i < body.size(); ++i) {
    auto b = static_cast<unsigned char>(body[i] ^ kKey[i % 10]);
    out += {kHex[b >> 4], kHex[b & 15]};
  }
  return out;
}

HttpResult SimClient::Raw(const std::string &method, const std::string &url,
                          const std::string &body, long timeoutMs, bool http10) const {
  InitCurl();
  HttpResult result;
  result.method = method;
  CURL *curl = curl_easy_init();
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, timeoutMs);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  if (http10) curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &result.body);
  curl_slist *headers = nullptr;
  if (method == "POST") {
    headers = curl_slist_append(headers, "Content-Type: application/x-www-form-urlencoded");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.c_str());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
  }
  CURLcode rc = curl_easy_perform(curl);
  result.curlCode = rc;
  if (rc == CURLE_OK) {
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
    result.transportOk = true;
  } else {
    result.error = curl_easy_strerror(rc);
  }
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
  return result;
}

HttpResult SimClient::Call(const std::string &path, const std::string &body, long timeoutMs) const {
  if (body.size() <= 200) {
    std::string url = baseUrl_ + path + (body.empty() ? "" : "?" + body);
    return Raw("GET", url, "", timeoutMs, true);
  }
  return Raw("POST", baseUrl_ + path, body, timeoutMs, true);
}

HttpResult SimClient::AdminGet(const std::string &pathAndQuery) const {
  return Raw("GET", baseUrl_ + "_admin/" + pathAndQuery, "", 5000, false);
}

HttpResult SimClient::AdminPost(const std::string &pathAndQuery, const std::string &body) const {
  return Raw("POST", baseUrl_ + "_admin/" + pathAndQuery, body, 5000, false);
}

HttpResult SimClient::AbsoluteFormPost(const std::string &path, const std::string &body) const {
  HttpResult result;
  std::string host;
  int port = 0;
  HostPort(baseUrl_, host, port);
  int fd = ConnectLoopback(port);
  if (fd < 0) {
    result.error = "connect failed";
    return result;
  }
  // The request line names the gateway's own host, as the library's base
  // URL would; the simulator must not care.
  std::string request = SecureRequest("http://gateway.example/" + path, body);
  if (send(fd, request.data(), request.size(), MSG_NOSIGNAL) !=
      static_cast<ssize_t>(request.size())) {
    result.error = "send failed";
  }
  shutdown(fd, SHUT_WR);
  std::string response;
  char buf[512];
  for (ssize_t n; (n = recv(fd, buf, sizeof buf, 0)) > 0;)
    response.append(buf, static_cast<size_t>(n));
  close(fd);
  if (result.error.empty()) ParseResponse(response, result);
  return result;
}

HttpResult SimClient::SecurePost(int port, const std::string &caFile, const std::string &path,
                                 const std::string &body) const {
  HttpResult result;
  SSL_CTX *ctx = SSL_CTX_new(TLS_client_method());
  SSL_CTX_load_verify_locations(ctx, caFile.c_str(), nullptr);
  SSL_CTX_set_verify(ctx, SSL_VERIFY_PEER, nullptr);
  int fd = ConnectLoopback(port);
  SSL *ssl = SSL_new(ctx);
  SSL_set_fd(ssl, fd);
  SSL_set_tlsext_host_name(ssl, "localhost");
  if (fd < 0 || SSL_connect(ssl) != 1) {
    result.error = "TLS handshake failed";
  } else {
    std::string request = SecureRequest(baseUrl_ + path, body);
    SSL_write(ssl, request.data(), static_cast<int>(request.size()));
    shutdown(fd, SHUT_WR);
    std::string response;
    char buf[512];
    for (int n; (n = SSL_read(ssl, buf, sizeof buf)) > 0;)
      response.append(buf, static_cast<size_t>(n));
    ParseResponse(response, result);
  }
  SSL_free(ssl);
  if (fd >= 0) close(fd);
  SSL_CTX_free(ctx);
  return result;
}

} // namespace gatewaysimtest
