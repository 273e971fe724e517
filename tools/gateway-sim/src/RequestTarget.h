#pragma once
// Splits an HTTP request target into the gateway path and the raw query.
// Accepts the origin form ("/http/auth?...") and the absolute form
// ("http://host:port/http/auth?..."), which clients speaking through a
// secure socket put in the request line.

#include <string>
#include <string_view>

namespace gatewaysim {

struct RequestTarget {
  std::string path;  // decoded, without leading "/", e.g. "http/auth"
  std::string query; // raw, without "?"

  static RequestTarget Parse(std::string_view target);
};

} // namespace gatewaysim
