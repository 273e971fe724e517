#include "transport/UrlParts.h"

#include <curl/curl.h>

#include <memory>

namespace parlink {

namespace {
constexpr size_t kPartLimit = 2084;

struct UrlHandleDeleter {
  void operator()(CURLU *handle) const { curl_url_cleanup(handle); }
};
struct CurlTextDeleter {
  void operator()(char *text) const { curl_free(text); }
};
using CurlText = std::unique_ptr<char, CurlTextDeleter>;

bool GetPart(CURLU *handle, CURLUPart what, unsigned flags, std::string &out, bool &present) {
  char *raw = nullptr;
  const CURLUcode rc = curl_url_get(handle, what, &raw, flags);
  CurlText text(raw);
  if (rc != CURLUE_OK) {
    present = false;
    out.clear();
    return rc == CURLUE_NO_PORT || rc == CURLUE_NO_QUERY || rc == CURLUE_NO_HOST;
  }
  present = true;
  out = text ? text.get() : "";
  return true;
}
} // namespace

bool SplitUrl(const std::string &url, UrlParts &parts) {
  std::unique_ptr<CURLU, UrlHandleDeleter> handle(curl_url());
  if (!handle) return false;
  if (curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), CURLU_ALLOW_SPACE) != CURLUE_OK)
    return false;
  std::string scheme, host, port, path, query;
  bool hasScheme = false, hasHost = false, hasPort = false, hasPath = false, hasQuery = false;
  if (!GetPart(handle.get(), CURLUPART_SCHEME, 0, scheme, hasScheme) || scheme != "http")
    return false;
  if (!GetPart(handle.get(), CURLUPART_HOST, 0, host, hasHost) || !hasHost || host.empty())
    return false;
  if (!GetPart(handle.get(), CURLUPART_PORT, 0, port, hasPort)) return false;
  if (!GetPart(handle.get(), CURLUPART_PATH, 0, path, hasPath)) return false;
  if (!GetPart(handle.get(), CURLUPART_QUERY, 0, query, hasQuery)) return false;
  if (path.empty()) path = "/";
  if (hasQuery) path += "?" + query;
  if (host.size() >= kPartLimit || path.size() >= kPartLimit) return false;

  int portNumber = 80;
  if (hasPort) {
    portNumber = 0;
    for (char c : port) {
      if (c < '0' || c > '9') return false;
      portNumber = portNumber * 10 + (c - '0');
      if (portNumber > 65535) return false;
    }
    if (portNumber == 0) return false;
  }
  parts.host = std::move(host);
  parts.port = portNumber;
  parts.path = std::move(path);
  return true;
}

std::string BareHost(const std::string &host) {
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
    return host.substr(1, host.size() - 2);
  return host;
}

} // namespace parlink
