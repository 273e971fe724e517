// The engine's readings of the gateway's answers about sent messages: the
// charge reply (status and charge), the balance, and the message id of a
// query by client message id.
#include "engine/BalanceReply.h"
#include "engine/ChargeReply.h"
#include "engine/QueryReply.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view reply(reinterpret_cast<const char *>(data), size);
  const engine::ChargeReply charge = engine::ChargeReply::Parse(reply);
  if (charge.charge.find(' ') != std::string::npos) std::abort();
  if (!charge.hasStatus && charge.status != 0) std::abort();
  if (charge.charge.size() > reply.size()) std::abort();
  engine::BalanceReply::Parse(reply);
  const std::string id = engine::QueryReply::ApiMsgId(reply);
  if (id.size() > 32 || (!id.empty() && !reply.starts_with("ID:"))) std::abort();
  return 0;
}
