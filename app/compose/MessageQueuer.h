#pragma once
// Where the SMS page hands a finished message: the communications worker's
// QueueMessage in the program, a recorder in tests.

#include <string>

namespace compose {

class MessageQueuer {
public:
  virtual ~MessageQueuer() = default;
  // Adds the message to the outbox (and, for a Pending message while the
  // program works online, asks the worker to send it at once). Returns the
  // new message's id.
  virtual int QueueMessage(int status, int time, int type, int refId, const std::string &to,
                           const std::string &text, int delay, bool force) = 0;
};

} // namespace compose
