// The plain path: one HTTP/1.0 exchange on a libcurl easy handle. Bodies of
// up to 200 bytes go as GET behind "?" (the bare path when empty), longer
// ones as a form POST. The reply body is read up to its declared length, or
// to the end of the data when no length is declared or less arrives.
#ifndef PARLINK_TRANSPORT_HTTPTRANSPORT_H
#define PARLINK_TRANSPORT_HTTPTRANSPORT_H

#include <string>
#include <string_view>

#include "transport/PlainRequestSettings.h"
#include "transport/TransportResult.h"

namespace parlink {

class HttpTransport {
public:
  static constexpr size_t kGetLimit = 200;

  TransportResult Send(const std::string &url, std::string_view body,
                       const PlainRequestSettings &settings, int &lastStatus) const;

  // The request target for `path` and `body`: the path, then "?" and the
  // body for a GET with a body. Bytes a request line cannot carry (controls,
  // blanks and "#") are written as "%" and two hex digits.
  static std::string ObjectName(std::string_view path, std::string_view body);
};

} // namespace parlink

#endif
