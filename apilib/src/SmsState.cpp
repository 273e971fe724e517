#include "src/SmsState.h"

#include "transport/FormEncoding.h"

namespace parlink {

void SmsState::Reset() {
  apiId.clear();
  user.clear();
  password.clear();
  isLoggedIn = VARIANT_FALSE;
  sessionId.clear();
  error = 0;
  from.clear();
  to.clear();
  valPeriod = 0;
  deliveryAck = VARIANT_FALSE;
  deliveryTime = 0;
  concat = 0;
  cliMsgId.clear();
  callback = 0;
  msgType = 0;
  udh.clear();
  text.clear();
  batchId.clear();
  errorDesc.clear();
  throwError = VARIANT_FALSE;
  communicationType = 0;
  unicode = VARIANT_FALSE;
  mo = VARIANT_FALSE;
  maxCredits = 1;
  queue = 3;
  escalate = 0;
  requiredFeatures = 3;
  clientId.clear();
}

void SmsState::EndSession() {
  sessionId.clear();
  isLoggedIn = VARIANT_FALSE;
}

const std::string &SmsState::Encoded(std::string_view value) {
  scratch.clear();
  AppendFormEncoded(scratch, value);
  return scratch;
}

} // namespace parlink
