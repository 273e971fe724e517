#include "compose/ScheduleQueueing.h"

#include <algorithm>
#include <limits>

namespace compose {

int QueueOccurrences(MessageQueuer &queuer, const ScheduleChoice &choice, int type,
                     const std::string &to, const std::string &text, bool force) {
  const int status = choice.upload ? kStatusDelayScheduled : kStatusScheduled;
  const int delay = choice.upload ? std::clamp(choice.uploadDays, 1, 7) * kSecondsPerDay : 0;
  int firstId = 0;
  int queued = 0;
  for (std::int64_t t : choice.sendTimes) {
    if (t <= 0 || t > std::numeric_limits<int>::max()) {
      continue;
    }
    const int id =
        queuer.QueueMessage(status, static_cast<int>(t), type, firstId, to, text, delay, force);
    if (queued == 0) {
      firstId = id > 0 ? id : 0;
    }
    ++queued;
  }
  return queued;
}

} // namespace compose
