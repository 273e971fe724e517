#pragma once
// The status of a message at a given simulated time:
//   withdrawn                      006
//   before its delivery time       011 (deferred messages)
//   then                           002 queued
//   after queuedMs                 003 delivered to the network, or 009 for
//                                  a number that cannot be routed
//   after queuedMs + deliveredMs   004 received, or 007 for a failing number;
//                                  a handset that is off never receives
//   validity over, not received    010 expired

#include "SimMessage.h"

#include <gatewaysim/SimOptions.h>

namespace gatewaysim {

enum MessageStatusCode : int {
  kStatusUnknown = 1,
  kStatusQueued = 2,
  kStatusDelivered = 3,
  kStatusReceived = 4,
  kStatusCancelled = 6,
  kStatusDeliveryError = 7,
  kStatusRoutingError = 9,
  kStatusExpired = 10,
  kStatusQueuedLater = 11,
};

class MessageLifecycle {
public:
  explicit MessageLifecycle(const LifecycleConfig &config) : config_(config) {}

  int StatusAt(const SimMessage &message, int64_t nowMs) const;
  // A deferred message may be withdrawn only while its delivery time is more
  // than the configured limit (10 minutes) away.
  bool CanWithdraw(const SimMessage &message, int64_t nowMs) const;
  static const char *StatusName(int status);

private:
  const LifecycleConfig &config_;
};

} // namespace gatewaysim
