// A request URL split into host, port and path.
#ifndef PARLINK_TRANSPORT_URLPARTS_H
#define PARLINK_TRANSPORT_URLPARTS_H

#include <string>

namespace parlink {

struct UrlParts {
  std::string host; // as written in the URL (IPv6 literals keep their brackets)
  int port = 80;    // the URL's port, 80 when it names none
  std::string path; // from the first "/" on, with any query; "/" when empty
};

// Host and path must each fit 2,084 characters, as the gateway URL buffers
// always have; a longer one, or a URL that cannot be parsed, fails.
bool SplitUrl(const std::string &url, UrlParts &parts);

// The host name without IPv6 brackets, for name resolution.
std::string BareHost(const std::string &host);

} // namespace parlink

#endif
