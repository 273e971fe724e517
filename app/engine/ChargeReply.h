#pragma once
// Reads the gateway's answer to GetMsgCharge: the status number after
// "status:" and the first word after "charge:", in any letter case.

#include <string>
#include <string_view>

namespace engine {

struct ChargeReply {
  // True when the reply holds "status:" (the status was read).
  bool hasStatus = false;
  // The decimal number after "status:" (0 when none follows).
  int status = 0;
  // The first word after "charge:", lower-cased; empty when the reply has no
  // "charge:".
  std::string charge;

  static ChargeReply Parse(std::string_view reply);
};

} // namespace engine
