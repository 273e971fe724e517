#pragma once
// Every accepted message, by identifier and by the client's own message
// identifier. Not thread-safe: the gateway serialises access.

#include "SimMessage.h"

#include <deque>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>

namespace gatewaysim {

class MessageBook {
public:
  SimMessage &Add(SimMessage message);
  SimMessage *Find(const std::string &id);
  // The newest message of `account` carrying this client message identifier.
  SimMessage *FindByCliMsgId(AccountIndex account, const std::string &cliMsgId);
  const std::deque<SimMessage> &All() const { return messages_; }
  size_t Size() const { return messages_.size(); }
  void Clear();

private:
  std::deque<SimMessage> messages_; // stable addresses
  std::unordered_map<std::string, size_t> byId_;
  std::map<std::pair<AccountIndex, std::string>, size_t> byCliMsgId_;
};

} // namespace gatewaysim
