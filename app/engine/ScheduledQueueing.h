#pragma once
// Queues one outbox message per send time of a schedule. All occurrences
// share one reference id: the ID of the first message that was stored.

#include "MessageQueuer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace engine {

struct ScheduledMessage {
  int type = 0;
  std::string to;
  std::string text;
  bool forceSenderId = false;
  // The "Upload message to server within" check box and the number of days
  // (1..7) of its list.
  bool uploadToServer = false;
  int uploadDays = 1;
};

class ScheduledQueueing {
public:
  static constexpr int kSecondsPerDay = 86400;

  // Status and Delay of every occurrence: Delay Scheduled (6) with
  // uploadDays x 86400 seconds when the upload box is checked, else
  // Scheduled (4) with Delay 0.
  static int StatusFor(const ScheduledMessage &message);
  static int DelayFor(const ScheduledMessage &message);

  // Queues the occurrences in order and returns the IDs of those stored. The
  // first stored one gets reference 0 and every later one its ID; a message
  // the store refused (ID -1) is no reference. A time the store's 32-bit
  // field cannot hold (at or before 1970, after January 2038) is skipped
  // rather than moved to another moment.
  static std::vector<int> Queue(MessageQueuer &queuer, const ScheduledMessage &message,
                                const std::vector<std::int64_t> &times);
};

} // namespace engine
