// The whole HTTP response read on Parlink's secure path: the status behind
// the first blank, the empty line that ends the headers, and the body.
#include "transport/SecureResponse.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view response(reinterpret_cast<const char *>(data), size);
  const parlink::SecureResponse parsed = parlink::ParseSecureResponse(response);
  if (parsed.result.ok) {
    // A body is what follows the first empty line, and only with a 2xx status.
    const std::size_t end = response.find("\r\n\r\n");
    if (end == std::string_view::npos || !parsed.hasStatus) std::abort();
    if (parsed.result.text != response.substr(end + 4)) std::abort();
  } else if (parsed.result.text.rfind("ERR: -1,", 0) != 0) {
    std::abort();
  }
  return 0;
}
