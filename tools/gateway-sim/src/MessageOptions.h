#pragma once
// The message option block that accompanies a send, a batch start or an
// over-the-air message: from, val_period, max_cred, req_feat, deliv_time,
// cliMsgId, udh, deliv_ack, unicode, concat, queue, escalate, callback, mo
// and msg_type.

#include "FormParams.h"
#include "MessageCharger.h"

#include <string>

namespace gatewaysim {

struct MessageOptions {
  std::string from;
  int valPeriodMinutes = 0; // 0: the default validity
  int maxCredits = 0;       // 0: no ceiling
  int requiredFeatures = 3;
  int deliveryTimeMinutes = 0; // 0: at once
  std::string cliMsgId;
  std::string udh;
  bool deliveryAck = false;
  bool unicode = false;
  int concat = -1; // -1: not given
  int queue = 3;
  int escalate = 0;
  int callback = 0;
  bool mo = false;
  std::string msgType = "SMS_TEXT";

  // Most parts a message may take under `concat`; 0 when unlimited.
  int PartLimit() const;
  MessageCharger::Coding Coding() const;

  // Reads the block from `params`. Returns 0, or the error code to answer:
  // 101 for a malformed number, 102 for a malformed user data header,
  // 106 for a malformed sender, 112 for an unknown msg_type.
  static int Parse(const FormParams &params, MessageOptions &out);
  static bool IsKnownType(const std::string &word);
  static bool IsBinaryType(const std::string &word);
};

} // namespace gatewaysim
