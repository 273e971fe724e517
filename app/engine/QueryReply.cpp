#include "QueryReply.h"

#include "ApiMsgIdParser.h"

#include <algorithm>

namespace engine {

std::string QueryReply::ApiMsgId(std::string_view reply) {
  if (!reply.starts_with("ID:")) return std::string();
  reply.remove_prefix(3);
  while (!reply.empty() && reply.front() == ' ')
    reply.remove_prefix(1);
  const std::size_t end = reply.find_first_of(" \t\r\n,|");
  return std::string(reply.substr(0, std::min(end, ApiIdEntry::kIdChars)));
}

} // namespace engine
