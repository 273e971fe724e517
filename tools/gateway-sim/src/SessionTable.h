#pragma once
// Open sessions: identifier to account, ended after an idle time of
// simulated time. Every successful lookup renews the session. Not
// thread-safe: the gateway serialises access.

#include "AccountBook.h"

#include <cstdint>
#include <string>
#include <unordered_map>

namespace gatewaysim {

class SessionTable {
public:
  explicit SessionTable(int64_t idleMs) : idleMs_(idleMs) {}

  void Open(const std::string &id, AccountIndex account, int64_t nowMs);
  // The session's account, renewed to `nowMs`; nothing when the session is
  // unknown or has been idle too long (it is then forgotten).
  std::optional<AccountIndex> Use(const std::string &id, int64_t nowMs);
  size_t Size() const { return sessions_.size(); }
  void SetIdleMs(int64_t idleMs) { idleMs_ = idleMs; }
  int64_t IdleMs() const { return idleMs_; }
  // Forgets every expired session.
  void Sweep(int64_t nowMs);
  void Clear() { sessions_.clear(); }

private:
  struct Session {
    AccountIndex account;
    int64_t lastUsedMs;
  };
  bool Expired(const Session &s, int64_t nowMs) const { return nowMs - s.lastUsedMs > idleMs_; }

  int64_t idleMs_;
  std::unordered_map<std::string, Session> sessions_;
};

} // namespace gatewaysim
