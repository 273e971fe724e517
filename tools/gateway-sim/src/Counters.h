#pragma once
// Figures for observation: requests per path, messages, credits, sessions
// and injected faults. Thread-safe.

#include "CreditAmount.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>

namespace gatewaysim {

class Counters {
public:
  void Request(const std::string &path);
  void Fault(const std::string &kind);
  void MessageAccepted(Millicredits charge);
  void MessageRejected();
  void Refund(Millicredits amount);
  void CreditAdded(Millicredits amount);
  void SessionOpened();

  uint64_t Requests(const std::string &path) const;
  nlohmann::json ToJson() const;
  void Reset();

private:
  mutable std::mutex mutex_;
  std::map<std::string, uint64_t> requests_;
  std::map<std::string, uint64_t> faults_;
  uint64_t requestsTotal_ = 0;
  uint64_t accepted_ = 0;
  uint64_t rejected_ = 0;
  uint64_t sessions_ = 0;
  Millicredits charged_ = 0;
  Millicredits refunded_ = 0;
  Millicredits added_ = 0;
};

} // namespace gatewaysim
