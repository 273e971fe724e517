#include "MessageLifecycle.h"

namespace gatewaysim {

int MessageLifecycle::StatusAt(const SimMessage &m, int64_t now) const {
  if (m.withdrawn) return kStatusCancelled;
  if (now < m.dueMs) return kStatusQueuedLater;
  int64_t deliveredAt = m.dueMs + config_.queuedMs;
  int64_t finalAt = deliveredAt + config_.deliveredMs;
  if (m.fate == MessageFate::RoutingError) {
    return now >= deliveredAt ? kStatusRoutingError : kStatusQueued;
  }
  bool reachesHandset = m.fate != MessageFate::Offline;
  if (reachesHandset && now >= finalAt && finalAt <= m.expiresMs) {
    return m.fate == MessageFate::DeliveryError ? kStatusDeliveryError : kStatusReceived;
  }
  if (now >= m.expiresMs) return kStatusExpired;
  return now >= deliveredAt ? kStatusDelivered : kStatusQueued;
}

bool MessageLifecycle::CanWithdraw(const SimMessage &m, int64_t now) const {
  return !m.withdrawn && m.dueMs - now > config_.withdrawLimitMs;
}

const char *MessageLifecycle::StatusName(int status) {
  switch (status) {
  case kStatusUnknown:
    return "Message unknown";
  case kStatusQueued:
    return "Message queued";
  case kStatusDelivered:
    return "Delivered";
  case kStatusReceived:
    return "Received by recipient";
  case kStatusCancelled:
    return "User cancelled message delivery";
  case kStatusDeliveryError:
    return "Error delivering message";
  case kStatusRoutingError:
    return "Routing Error";
  case kStatusExpired:
    return "Message Expired";
  case kStatusQueuedLater:
    return "Message Queued for later Delivery";
  default:
    return "Unknown status";
  }
}

} // namespace gatewaysim
