// Parlink's reading of the gateway's one-line replies: the success
// prefixes, the error code after "ERR:" and the values behind a prefix.
#include "src/ReplyGrammar.h"
#include "transport/LeadingInteger.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view reply(reinterpret_cast<const char *>(data), size);
  for (std::string_view prefix : {"OK: ", "OK:", "ID:", "Credit: ", "ERR: "}) {
    if (parlink::BeginsWith(reply, prefix) && !parlink::BeginsWithIgnoringCase(reply, prefix))
      std::abort();
    const std::string_view after = parlink::ReplyAfter(reply, prefix.size());
    if (after.size() + prefix.size() != reply.size() && !after.empty()) std::abort();
  }
  parlink::BeginsWithIgnoringCase(reply, "apimsgid:");
  const LONG code = parlink::ReplyErrorCode(reply);
  if (reply.size() <= 4 && code != 0) std::abort();
  parlink::ParseLeadingInteger(reply);
  return 0;
}
