// Reading a whole HTTP response received on the secure path.
#ifndef PARLINK_TRANSPORT_SECURERESPONSE_H
#define PARLINK_TRANSPORT_SECURERESPONSE_H

#include <string_view>

#include "transport/TransportResult.h"

namespace parlink {

struct SecureResponse {
  TransportResult result;
  bool hasStatus = false; // a blank was found and a status read behind it
  int status = 0;
};

// The status is the number behind the first blank. A status beginning "20"
// and an empty line give the body behind that line; anything else fails
// with "ERR: -1," and the whole response.
SecureResponse ParseSecureResponse(std::string_view response);

} // namespace parlink

#endif
