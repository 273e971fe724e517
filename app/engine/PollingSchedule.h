#pragma once
// The rules of status polling: which statuses are polled and in which
// order, the back-off between queries, and how the gateway's status numbers
// map onto the outbox's statuses.

#include <array>
#include <optional>

namespace engine {

class PollingSchedule {
public:
  // QueryTime given to a message when the gateway accepts it.
  static constexpr int kFirstInterval = 60;

  // Unknown, Queued, Delivered to Gateway, Scheduled on Server, Sent.
  static constexpr std::array<int, 5> kPolledStatuses = {11, 1, 8, 7, 3};

  // The QueryTime after a query: 60 → 300 → 1800 → 2700 → 3600 → 0 (ends).
  static int NextInterval(int queryTime);

  // The outbox status for a gateway status (eSMSMsgStatus); nothing when the
  // stored status stays as it is (8 "all OK", and unknown numbers).
  static std::optional<int> MapGatewayStatus(int gatewayStatus);
};

} // namespace engine
