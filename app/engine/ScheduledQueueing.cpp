#include "ScheduledQueueing.h"

#include <algorithm>
#include <climits>

namespace engine {

namespace {
constexpr int kStatusScheduled = 4;
constexpr int kStatusDelayScheduled = 6;
} // namespace

int ScheduledQueueing::StatusFor(const ScheduledMessage &message) {
  return message.uploadToServer ? kStatusDelayScheduled : kStatusScheduled;
}

int ScheduledQueueing::DelayFor(const ScheduledMessage &message) {
  if (!message.uploadToServer) return 0;
  return std::clamp(message.uploadDays, 1, 7) * kSecondsPerDay;
}

std::vector<int> ScheduledQueueing::Queue(MessageQueuer &queuer, const ScheduledMessage &message,
                                          const std::vector<std::int64_t> &times) {
  std::vector<int> ids;
  const int status = StatusFor(message);
  const int delay = DelayFor(message);
  int refId = 0;
  for (std::int64_t t : times) {
    // The store keeps 32-bit times; a time of 0 would mean "now".
    int time = static_cast<int>(std::clamp<std::int64_t>(t, 1, INT_MAX));
    int id = queuer.QueueMessage(status, time, message.type, refId, message.to, message.text, delay,
                                 message.forceSenderId);
    if (refId == 0) refId = id;
    ids.push_back(id);
  }
  return ids;
}

} // namespace engine
