#include "Counters.h"

#include <codepage/Codepage.h>

namespace gatewaysim {

void Counters::Request(const std::string &path) {
  std::lock_guard lock(mutex_);
  ++requests_[path];
  ++requestsTotal_;
}

void Counters::Fault(const std::string &kind) {
  std::lock_guard lock(mutex_);
  ++faults_[kind];
}

void Counters::MessageAccepted(Millicredits charge) {
  std::lock_guard lock(mutex_);
  ++accepted_;
  charged_ += charge;
}

void Counters::MessageRejected() {
  std::lock_guard lock(mutex_);
  ++rejected_;
}

void Counters::Refund(Millicredits amount) {
  std::lock_guard lock(mutex_);
  refunded_ += amount;
}

void Counters::CreditAdded(Millicredits amount) {
  std::lock_guard lock(mutex_);
  added_ += amount;
}

void Counters::SessionOpened() {
  std::lock_guard lock(mutex_);
  ++sessions_;
}

uint64_t Counters::Requests(const std::string &path) const {
  std::lock_guard lock(mutex_);
  auto it = requests_.find(path);
  return it == requests_.end() ? 0 : it->second;
}

nlohmann::json Counters::ToJson() const {
  std::lock_guard lock(mutex_);
  nlohmann::json requests = nlohmann::json::object();
  for (const auto &[path, n] : requests_)
    requests[codepage::AnsiToUtf8(path)] = n;
  nlohmann::json faults = nlohmann::json::object();
  for (const auto &[kind, n] : faults_)
    faults[kind] = n;
  return {{"requests", requests},
          {"requests_total", requestsTotal_},
          {"messages", accepted_},
          {"messages_rejected", rejected_},
          {"sessions", sessions_},
          {"credits_charged", CreditAmount::ToCredits(charged_)},
          {"credits_refunded", CreditAmount::ToCredits(refunded_)},
          {"credits_added", CreditAmount::ToCredits(added_)},
          {"faults", faults}};
}

void Counters::Reset() {
  std::lock_guard lock(mutex_);
  requests_.clear();
  faults_.clear();
  requestsTotal_ = accepted_ = rejected_ = sessions_ = 0;
  charged_ = refunded_ = added_ = 0;
}

} // namespace gatewaysim
