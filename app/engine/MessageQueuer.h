#pragma once
// Adds a message to the outbox (and, when it is Pending and the program is
// online, hands it to the worker). CommsWorker implements it; the SMS page
// and the scheduling use it.

#include <string>

namespace engine {

class MessageQueuer {
public:
  virtual ~MessageQueuer() = default;
  // Returns the new message's ID. `time` 0 means now; `delay` is in seconds.
  virtual int QueueMessage(int status, int time, int type, int refId, const std::string &to,
                           const std::string &text, int delay, bool forceSenderId) = 0;
};

} // namespace engine
