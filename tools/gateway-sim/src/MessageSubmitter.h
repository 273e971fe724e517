#pragma once
// Accepts one message for one destination: checks it, charges the account
// and files it. Used by single sends, batch items and over-the-air
// messages. The caller holds the state's mutex.

#include "GatewayState.h"
#include "MessageOptions.h"

#include <string>

namespace gatewaysim {

struct Submission {
  AccountIndex account = 0;
  std::string to;
  std::string text;
  MessageOptions options;
  std::string batchId;
  // Over-the-air messages: the type word "OTA" and a given part count.
  bool overTheAir = false;
  int fixedParts = 0;
};

class MessageSubmitter {
public:
  explicit MessageSubmitter(GatewayState &state) : state_(state) {}

  // 0 and the new message's identifier in `id`, or the error code to answer
  // (004, 101, 105, 107, 113, 117, 301, 302). Nothing is charged on error.
  int Submit(const Submission &submission, int64_t nowMs, std::string &id);

private:
  int Check(const Submission &s, int &parts) const;
  GatewayState &state_;
};

} // namespace gatewaysim
