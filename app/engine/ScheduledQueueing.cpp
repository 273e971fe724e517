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
    // A time of 0 would mean "now".
    if (t <= 0 || t > INT_MAX) continue;
    int id = queuer.QueueMessage(status, static_cast<int>(t), message.type, refId, message.to,
                                 message.text, delay, message.forceSenderId);
    if (id <= 0) continue;
    if (refId == 0) refId = id;
    ids.push_back(id);
  }
  return ids;
}

} // namespace engine
