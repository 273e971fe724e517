// The per-object state of an SMS object: every property value, plus the
// client identifier, the batch template and the encoding scratch.
#ifndef PARLINK_SRC_SMSSTATE_H
#define PARLINK_SRC_SMSSTATE_H

#include <automation/automation.h>

#include <string>
#include <string_view>

namespace parlink {

struct SmsState {
  SmsState() { Reset(); }

  // Restores every value to its initial one, except the batch template and
  // the scratch.
  void Reset();
  // A session is valid when logged in with a session identifier.
  bool HasValidSession() const { return isLoggedIn != VARIANT_FALSE && !sessionId.empty(); }
  void EndSession();
  // The form encoding of `value`, built in the scratch text.
  const std::string &Encoded(std::string_view value);

  // Text values are Windows-1252.
  std::string apiId;
  std::string user;
  std::string password;
  VARIANT_BOOL isLoggedIn = VARIANT_FALSE;
  std::string sessionId;
  LONG error = 0;
  std::string from;
  std::string to;
  LONG valPeriod = 0;
  VARIANT_BOOL deliveryAck = VARIANT_FALSE;
  LONG deliveryTime = 0;
  LONG concat = 0;
  std::string cliMsgId;
  LONG callback = 0;
  LONG msgType = 0;
  std::string udh;
  std::string text;
  std::string batchId;
  std::string errorDesc;
  VARIANT_BOOL throwError = VARIANT_FALSE;
  LONG communicationType = 0;
  VARIANT_BOOL unicode = VARIANT_FALSE;
  VARIANT_BOOL mo = VARIANT_FALSE;
  LONG maxCredits = 1;
  LONG queue = 3;
  LONG escalate = 0;
  LONG requiredFeatures = 3;

  std::string clientId;      // from AuthenticateClient; emptied by Reset
  std::string batchTemplate; // from the last StartBatch; kept by Reset
  std::string scratch;       // holds one encoded value while a body is built
};

} // namespace parlink

#endif
