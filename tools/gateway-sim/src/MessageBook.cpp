#include "MessageBook.h"

namespace gatewaysim {

SimMessage &MessageBook::Add(SimMessage message) {
  size_t index = messages_.size();
  messages_.push_back(std::move(message));
  SimMessage &stored = messages_.back();
  byId_[stored.id] = index;
  if (!stored.cliMsgId.empty()) byCliMsgId_[{stored.account, stored.cliMsgId}] = index;
  return stored;
}

SimMessage *MessageBook::Find(const std::string &id) {
  auto it = byId_.find(id);
  return it == byId_.end() ? nullptr : &messages_[it->second];
}

SimMessage *MessageBook::FindByCliMsgId(AccountIndex account, const std::string &cliMsgId) {
  auto it = byCliMsgId_.find({account, cliMsgId});
  return it == byCliMsgId_.end() ? nullptr : &messages_[it->second];
}

void MessageBook::Clear() {
  messages_.clear();
  byId_.clear();
  byCliMsgId_.clear();
}

} // namespace gatewaysim
