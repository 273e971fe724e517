#include "transport/SecureResponse.h"

#include "transport/LeadingInteger.h"

namespace parlink {

SecureResponse ParseSecureResponse(std::string_view response) {
  SecureResponse parsed;
  const size_t blank = response.find(' ');
  if (blank != std::string_view::npos) {
    const std::string_view afterBlank = response.substr(blank + 1);
    parsed.hasStatus = true;
    parsed.status = ParseLeadingInteger(afterBlank);
    const size_t emptyLine = response.find("\r\n\r\n");
    if (afterBlank.substr(0, 2) == "20" && emptyLine != std::string_view::npos) {
      parsed.result = TransportResult::Success(std::string(response.substr(emptyLine + 4)));
      return parsed;
    }
  }
  parsed.result = TransportResult::Failure("ERR: -1," + std::string(response));
  return parsed;
}

} // namespace parlink
