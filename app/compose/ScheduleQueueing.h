#pragma once
// Queues the occurrences of a scheduled message: one message per send time,
// in order. With "Upload message to server within" checked each is Delay
// Scheduled (6) with a lead time of X days (X held to 1..7, the lead times
// the worker escalates); otherwise Scheduled (4) without lead time. The
// first gets reference id 0 (it refers to itself) and every other one the
// first's id, so all occurrences share one reference.

#include "compose/ComposeUi.h"
#include "compose/MessageQueuer.h"

#include <string>

namespace compose {

inline constexpr int kStatusScheduled = 4;
inline constexpr int kStatusDelayScheduled = 6;
inline constexpr int kSecondsPerDay = 86400;

// Returns the number of messages queued. Send times that a stored time
// cannot hold (before 1970 or after 2038) are skipped.
int QueueOccurrences(MessageQueuer &queuer, const ScheduleChoice &choice, int type,
                     const std::string &to, const std::string &text, bool force);

} // namespace compose
