// gateway-sim's reading of a request's form parameters and of the message
// option block they carry; encoding a value and decoding it again gives
// the value back.
#include "FormParams.h"
#include "MessageOptions.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char *>(data), size);
  gatewaysim::FormParams params = gatewaysim::FormParams::FromText(text);
  for (const auto &[name, value] : params.Pairs()) {
    if (gatewaysim::FormParams::Decode(gatewaysim::FormParams::Encode(value)) != value)
      std::abort();
    if (!params.Has(name)) std::abort();
  }
  gatewaysim::MessageOptions options;
  if (gatewaysim::MessageOptions::Parse(params, options) == 0) {
    if (options.cliMsgId.size() > 64 || !gatewaysim::MessageOptions::IsKnownType(options.msgType))
      std::abort();
    options.PartLimit();
    options.Coding();
  }
  return 0;
}
