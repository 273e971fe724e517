#include "SessionTable.h"

namespace gatewaysim {

void SessionTable::Open(const std::string &id, AccountIndex account, int64_t nowMs) {
  if (sessions_.size() >= 4096) Sweep(nowMs);
  sessions_[id] = Session{account, nowMs};
}

std::optional<AccountIndex> SessionTable::Use(const std::string &id, int64_t nowMs) {
  auto it = sessions_.find(id);
  if (it == sessions_.end()) return std::nullopt;
  if (Expired(it->second, nowMs)) {
    sessions_.erase(it);
    return std::nullopt;
  }
  if (nowMs > it->second.lastUsedMs) it->second.lastUsedMs = nowMs;
  return it->second.account;
}

void SessionTable::Sweep(int64_t nowMs) {
  for (auto it = sessions_.begin(); it != sessions_.end();) {
    if (Expired(it->second, nowMs)) {
      it = sessions_.erase(it);
    } else {
      ++it;
    }
  }
}

} // namespace gatewaysim
