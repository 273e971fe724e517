#pragma once
// One message the gateway accepted.

#include "AccountBook.h"
#include "CreditAmount.h"
#include "DestinationRules.h"

#include <cstdint>
#include <string>

namespace gatewaysim {

struct SimMessage {
  std::string id; // 32 lower-case hex digits
  AccountIndex account = 0;
  std::string to;
  std::string from;
  std::string text;    // as received (hex for Unicode and binary types)
  std::string msgType; // "SMS_TEXT", "SMS_FLASH", "SMS_NOKIA_...", or "OTA"
  bool unicode = false;
  std::string udh;
  std::string cliMsgId;
  std::string batchId;
  int parts = 1;
  Millicredits charge = 0;
  int64_t acceptedMs = 0;
  int64_t dueMs = 0;     // delivery starts (later than acceptedMs when deferred)
  int64_t expiresMs = 0; // validity ends
  MessageFate fate = MessageFate::Normal;
  bool withdrawn = false;
  int64_t withdrawnMs = 0;
};

} // namespace gatewaysim
