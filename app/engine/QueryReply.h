#pragma once
// Reads the gateway's answer to a message query (QueryMsg by API or client
// message id): "ID: <id> Status: <nnn>".

#include <string>
#include <string_view>

namespace engine {

class QueryReply {
public:
  // The gateway's message id, at most 32 characters; empty when the reply
  // does not begin with "ID:".
  static std::string ApiMsgId(std::string_view reply);
};

} // namespace engine
