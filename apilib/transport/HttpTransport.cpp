#include "transport/HttpTransport.h"

#include <curl/curl.h>

#include <chrono>
#include <memory>

#include "transport/UrlParts.h"

namespace parlink {

namespace {
using Clock = std::chrono::steady_clock;

struct EasyDeleter {
  void operator()(CURL *easy) const { curl_easy_cleanup(easy); }
};
struct HeaderListDeleter {
  void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};

// State shared with libcurl's callbacks during one exchange.
struct Exchange {
  CURL *easy = nullptr;
  std::string body;
  bool statusLineSeen = false;
  bool interim = false;         // the current response is a 1xx one
  bool headersComplete = false; // a final response's headers have all arrived
  bool connected = false;
  Clock::time_point lastActivity = Clock::now();
  curl_off_t lastUp = 0;
  long receiveTimeoutMs = 0;
};

size_t OnHeader(char *data, size_t size, size_t count, void *user) {
  auto &exchange = *static_cast<Exchange *>(user);
  const size_t length = size * count;
  const std::string_view line(data, length);
  exchange.lastActivity = Clock::now();
  if (line.substr(0, 5) == "HTTP/") {
    // A new response (after an interim one or a redirect) starts afresh.
    exchange.statusLineSeen = true;
    exchange.headersComplete = false;
    exchange.body.clear();
    const size_t blank = line.find(' ');
    exchange.interim =
        blank != std::string_view::npos && blank + 1 < line.size() && line[blank + 1] == '1';
  } else if (exchange.statusLineSeen && (line == "\r\n" || line == "\n")) {
    if (!exchange.interim) exchange.headersComplete = true;
  }
  return length;
}

size_t OnBody(char *data, size_t size, size_t count, void *user) {
  auto &exchange = *static_cast<Exchange *>(user);
  const size_t length = size * count;
  exchange.lastActivity = Clock::now();
  const size_t room = kReplyLimit - exchange.body.size();
  exchange.body.append(data, length < room ? length : room);
  // Past the limit the transfer stops; what was read stays the reply.
  return exchange.body.size() >= kReplyLimit ? 0 : length;
}

// Ends the exchange when the connection has been silent for longer than the
// receive time-out.
int OnProgress(void *user, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded) {
  auto &exchange = *static_cast<Exchange *>(user);
  const auto now = Clock::now();
  if (!exchange.connected) {
    curl_off_t connectTime = 0;
    if (curl_easy_getinfo(exchange.easy, CURLINFO_CONNECT_TIME_T, &connectTime) != CURLE_OK ||
        connectTime <= 0) {
      exchange.lastActivity = now;
      return 0;
    }
    exchange.connected = true;
    exchange.lastActivity = now;
  }
  if (uploaded != exchange.lastUp) {
    exchange.lastUp = uploaded;
    exchange.lastActivity = now;
  }
  if (exchange.receiveTimeoutMs > 0 &&
      now - exchange.lastActivity > std::chrono::milliseconds(exchange.receiveTimeoutMs))
    return 1;
  return 0;
}

bool NeedsEscape(unsigned char byte) {
  return byte <= 0x20 || byte == 0x7F || byte == '#';
}

std::string ProxyFromList(const std::string &proxyList) {
  constexpr std::string_view kPrefix = "http=";
  if (proxyList.compare(0, kPrefix.size(), kPrefix) == 0) return proxyList.substr(kPrefix.size());
  return proxyList;
}
} // namespace

std::string HttpTransport::ObjectName(std::string_view path, std::string_view body) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string target;
  const auto append = [&target](std::string_view text) {
    for (char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      if (NeedsEscape(byte)) {
        target.push_back('%');
        target.push_back(kHex[byte >> 4]);
        target.push_back(kHex[byte & 0x0F]);
      } else {
        target.push_back(c);
      }
    }
  };
  append(path);
  if (!body.empty() && body.size() <= kGetLimit) {
    target.push_back('?');
    append(body);
  }
  return target;
}

TransportResult HttpTransport::Send(const std::string &url, std::string_view body,
                                    const PlainRequestSettings &settings, int &lastStatus) const {
  lastStatus = 0;
  UrlParts parts;
  if (!SplitUrl(url, parts)) return TransportResult::Failure("Failed to decode URL!");

  const bool post = body.size() > kGetLimit;
  std::string requestUrl = "http://" + parts.host;
  if (parts.port != 80) requestUrl += ":" + std::to_string(parts.port);
  requestUrl += ObjectName(parts.path, post ? std::string_view() : body);

  std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
  if (!easy) return TransportResult::Failure("HttpOpenRequest failed!");
  CURL *h = easy.get();

  std::unique_ptr<curl_slist, HeaderListDeleter> headers;
  const auto addHeader = [&headers](const std::string &line) {
    curl_slist *grown = curl_slist_append(headers.get(), line.c_str());
    if (!grown) return false;
    headers.release();
    headers.reset(grown);
    return true;
  };
  bool headersOk = addHeader("Accept: */*") && addHeader("Cache-Control: no-cache") &&
                   addHeader("Pragma: no-cache") && addHeader("Expect:");
  if (!settings.proxyAuthorization.empty()) {
    std::string line = settings.proxyAuthorization;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
      line.pop_back();
    headersOk = headersOk && addHeader(line);
  }
  if (post) headersOk = headersOk && addHeader("Content-Type: application/x-www-form-urlencoded");
  if (!headersOk) return TransportResult::Failure("HttpOpenRequest failed!");

  Exchange exchange;
  exchange.easy = h;
  exchange.receiveTimeoutMs = settings.receiveTimeoutMs;

  curl_easy_setopt(h, CURLOPT_URL, requestUrl.c_str());
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  curl_easy_setopt(h, CURLOPT_USERAGENT, "Parlink");
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &OnHeader);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, &exchange);
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &OnBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &exchange);
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &OnProgress);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, &exchange);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS,
                   settings.connectTimeoutMs > 0 ? settings.connectTimeoutMs : 0L);

  switch (settings.accessType) {
  case kAccessDirect:
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    curl_easy_setopt(h, CURLOPT_NOPROXY, "*");
    break;
  case kAccessNamedProxy: {
    const std::string proxy = ProxyFromList(settings.proxyList);
    curl_easy_setopt(h, CURLOPT_PROXY, proxy.c_str()); // libcurl copies the text
    curl_easy_setopt(h, CURLOPT_NOPROXY, "");
    break;
  }
  default:
    break; // http_proxy and no_proxy of the environment, as libcurl reads them
  }
  if (!settings.proxyUser.empty())
    curl_easy_setopt(h, CURLOPT_PROXYUSERNAME, settings.proxyUser.c_str());
  if (!settings.proxyPassword.empty())
    curl_easy_setopt(h, CURLOPT_PROXYPASSWORD, settings.proxyPassword.c_str());

  const std::string postBody(post ? body : std::string_view());
  if (post) {
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(postBody.size()));
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, postBody.data());
  } else {
    curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
  }

  // A failure before a complete response header is a failed send; once the
  // headers are in, a failure only ends the reading and the body stands as
  // far as it came.
  curl_easy_perform(h);
  if (!exchange.headersComplete) return TransportResult::Failure("HttpSendRequest failed!");

  long status = 0;
  if (curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK || status <= 0)
    return TransportResult::Failure("Unable to query status!");
  const std::string statusText = std::to_string(status);
  lastStatus = static_cast<int>(status);
  if (statusText.compare(0, 2, "20") != 0) return TransportResult::Failure("ERR: -1," + statusText);

  if (const size_t nul = exchange.body.find('\0'); nul != std::string::npos)
    exchange.body.resize(nul);
  return TransportResult::Success(std::move(exchange.body));
}

} // namespace parlink
