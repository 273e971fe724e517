#include "MessageOptions.h"

#include "DestinationRules.h"
#include "ReplyBuilder.h"

#include <charconv>

namespace gatewaysim {

namespace {
// A non-negative decimal integer of at most nine digits.
bool ReadCount(const FormParams &params, const char *name, int &out) {
  auto value = params.Get(name);
  if (!value) return true;
  if (value->empty() || value->size() > 9) return false;
  int parsed = 0;
  auto [end, ec] = std::from_chars(value->data(), value->data() + value->size(), parsed);
  if (ec != std::errc() || end != value->data() + value->size() || parsed < 0) return false;
  out = parsed;
  return true;
}

bool ReadFlag(const FormParams &params, const char *name, bool &out) {
  int value = out ? 1 : 0;
  if (!ReadCount(params, name, value) || value > 1) return false;
  out = value == 1;
  return true;
}
} // namespace

bool MessageOptions::IsKnownType(const std::string &word) {
  return word == "SMS_TEXT" || word == "SMS_FLASH" || IsBinaryType(word);
}

bool MessageOptions::IsBinaryType(const std::string &word) {
  return word == "SMS_NOKIA_OLOGO" || word == "SMS_NOKIA_GLOGO" || word == "SMS_NOKIA_PICTURE" ||
         word == "SMS_NOKIA_RINGTONE" || word == "SMS_NOKIA_CLEAN" || word == "SMS_NOKIA_VCARD" ||
         word == "SMS_NOKIA_VCAL" || word == "SMS_NOKIA_RTTL";
}

int MessageOptions::PartLimit() const {
  if (concat < 0) return 0;
  return concat == 0 ? 1 : concat;
}

MessageCharger::Coding MessageOptions::Coding() const {
  if (IsBinaryType(msgType)) return MessageCharger::Coding::Binary;
  return unicode ? MessageCharger::Coding::Unicode : MessageCharger::Coding::Text;
}

int MessageOptions::Parse(const FormParams &params, MessageOptions &out) {
  MessageOptions o;
  if (!ReadCount(params, "val_period", o.valPeriodMinutes) ||
      !ReadCount(params, "max_cred", o.maxCredits) ||
      !ReadCount(params, "req_feat", o.requiredFeatures) ||
      !ReadCount(params, "deliv_time", o.deliveryTimeMinutes) ||
      !ReadFlag(params, "deliv_ack", o.deliveryAck) || !ReadFlag(params, "unicode", o.unicode) ||
      !ReadCount(params, "queue", o.queue) || !ReadCount(params, "escalate", o.escalate) ||
      !ReadCount(params, "callback", o.callback) || !ReadFlag(params, "mo", o.mo)) {
    return kErrInvalidParameter;
  }
  if (params.Has("concat")) {
    int concat = 0;
    if (!ReadCount(params, "concat", concat) || concat > 3) return kErrInvalidParameter;
    o.concat = concat;
  }
  if (o.queue < 1 || o.queue > 3 || o.escalate > 2 || o.callback > 3) return kErrInvalidParameter;
  o.cliMsgId = params.Value("cliMsgId");
  if (o.cliMsgId.size() > 64) return kErrInvalidParameter;
  o.udh = params.Value("udh");
  if (o.udh.size() % 2 != 0 || !MessageCharger::IsHex(o.udh) || o.udh.size() > 280) {
    return kErrInvalidUdh;
  }
  o.from = params.Value("from");
  if (!o.from.empty() && !DestinationRules::ValidSender(o.from)) return kErrInvalidSource;
  if (auto type = params.Get("msg_type")) o.msgType = *type;
  if (!IsKnownType(o.msgType)) return kErrInvalidMsgType;
  out = std::move(o);
  return 0;
}

} // namespace gatewaysim
