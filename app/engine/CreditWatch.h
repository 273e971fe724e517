#pragma once
// Sending while the account has no credit left. When a send is refused with
// "ERR: 301" the dispatch pass stops (the message and every message not yet
// sent stay Pending); CreditWatch then tells the user once (a box with the
// number of messages that wait, offering the Options page with its Buy
// Credits and Redeem), notes the balance, and holds back every later pass
// until the balance has grown. The first pass after that sends again.
//
// Used only on the communications worker, inside the dispatch pass.

#include "EngineServices.h"
#include "WorkerOutput.h"

#include <optional>

namespace engine {

class CreditWatch {
public:
  static constexpr int kCaptionId = 1592;
  static constexpr int kTextId = 1593;
  // The Options tab, whose page holds Buy Credits and Redeem.
  static constexpr int kOptionsTabId = 1047;

  CreditWatch(const EngineServices &services, WorkerOutput &out) : services_(services), out_(out) {}

  // True when a pass may send: always, unless sending stopped for want of
  // credit and the balance has not grown since (asked of the gateway).
  bool MayDispatch();
  // A send met "no credit left": stops later passes, logs, tells the user.
  void NoCreditLeft();
  bool Stopped() const { return stopped_; }

private:
  std::optional<double> QueryBalance();

  const EngineServices &services_;
  WorkerOutput &out_;
  bool stopped_ = false;
  std::optional<double> balanceAtStop_;
};

} // namespace engine
