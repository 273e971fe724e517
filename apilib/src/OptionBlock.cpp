#include "src/OptionBlock.h"

#include "src/SmsState.h"

namespace parlink {

namespace {
// Values 1..max are sent as they are, anything else as `fallback`.
std::string Choice(LONG value, LONG max, LONG fallback) {
  return std::to_string(value >= 1 && value <= max ? value : fallback);
}
} // namespace

const char *MessageTypeWord(LONG msgType) {
  switch (msgType) {
  case 1:
    return "SMS_FLASH";
  case 3:
    return "SMS_NOKIA_OLOGO";
  case 4:
    return "SMS_NOKIA_GLOGO";
  case 5:
    return "SMS_NOKIA_PICTURE";
  case 6:
    return "SMS_NOKIA_RINGTONE";
  case 7:
    return "SMS_NOKIA_CLEAN";
  case 8:
    return "SMS_NOKIA_VCARD";
  case 9:
    return "SMS_NOKIA_VCAL";
  case 10:
    return "SMS_NOKIA_RTTL";
  default:
    return "SMS_TEXT";
  }
}

void AppendOptionBlock(std::string &body, SmsState &state, OptionBlockLines lines) {
  if (!state.from.empty()) body += "&from=" + state.Encoded(state.from);
  if (lines.withTo && !state.to.empty()) body += "&to=" + state.Encoded(state.to);
  if (state.valPeriod > 0) body += "&val_period=" + std::to_string(state.valPeriod);
  if (state.maxCredits > 1) body += "&max_cred=" + std::to_string(state.maxCredits);
  if (state.requiredFeatures != 3) body += "&req_feat=" + std::to_string(state.requiredFeatures);
  if (state.deliveryTime > 0) body += "&deliv_time=" + std::to_string(state.deliveryTime);
  if (!state.cliMsgId.empty()) body += "&cliMsgId=" + state.Encoded(state.cliMsgId);
  if (!state.udh.empty()) body += "&udh=" + state.Encoded(state.udh);
  if (state.deliveryAck != VARIANT_FALSE) body += "&deliv_ack=1";
  if (state.unicode != VARIANT_FALSE) body += "&unicode=1";
  if (state.concat != 0) body += "&concat=" + Choice(state.concat, 3, 0);
  if (state.queue != 3) body += "&queue=" + Choice(state.queue, 2, 3);
  if (state.escalate != 0) body += "&escalate=" + Choice(state.escalate, 2, 0);
  if (state.callback != 0) body += "&callback=" + Choice(state.callback, 3, 0);
  body += state.mo != VARIANT_FALSE ? "&mo=1" : "&mo=0";
  body += "&msg_type=";
  body += MessageTypeWord(lines.forceTextType ? 0 : state.msgType);
}

} // namespace parlink
