#include "MessageSubmitter.h"

#include "DestinationRules.h"
#include "ReplyBuilder.h"

namespace gatewaysim {

int MessageSubmitter::Check(const Submission &s, int &parts) const {
  if (state_.accounts.At(s.account).frozen) return kErrAccountFrozen;
  if (!DestinationRules::ValidNumber(s.to)) return kErrInvalidDestination;
  if (s.overTheAir) {
    parts = s.fixedParts > 0 ? s.fixedParts : 1;
    return 0;
  }
  const MessageOptions &o = s.options;
  if (s.text.empty() && o.udh.empty()) return kErrEmptyMessage;
  if (o.unicode && !o.IsBinaryType(o.msgType) &&
      (s.text.size() % 4 != 0 || !MessageCharger::IsHex(s.text))) {
    return kErrInvalidParameter;
  }
  parts = MessageCharger::Parts(o.Coding(), s.text, o.udh);
  if (o.PartLimit() > 0 && parts > o.PartLimit()) return kErrMaxPartsExceeded;
  return 0;
}

int MessageSubmitter::Submit(const Submission &s, int64_t nowMs, std::string &id) {
  int parts = 1;
  if (int error = Check(s, parts)) {
    state_.counters.MessageRejected();
    return error;
  }
  Millicredits charge = state_.creditsPerPart * parts;
  const MessageOptions &o = s.options;
  if (o.maxCredits > 0 && charge > static_cast<Millicredits>(o.maxCredits) * 1000) {
    state_.counters.MessageRejected();
    return kErrMaxCredit;
  }
  if (!state_.throttle.Allows(s.account, nowMs)) {
    state_.counters.MessageRejected();
    return kErrThrottle;
  }
  Account &account = state_.accounts.At(s.account);
  if (account.balance < charge) {
    state_.counters.MessageRejected();
    return kErrNoCredit;
  }
  account.balance -= charge;
  state_.throttle.Record(s.account, nowMs);

  SimMessage m;
  m.id = state_.ids.Next();
  m.account = s.account;
  m.to = s.to;
  m.from = o.from;
  m.text = s.text;
  m.msgType = s.overTheAir ? "OTA" : o.msgType;
  m.unicode = o.unicode;
  m.udh = o.udh;
  m.cliMsgId = o.cliMsgId;
  m.batchId = s.batchId;
  m.parts = parts;
  m.charge = charge;
  m.acceptedMs = nowMs;
  m.dueMs = nowMs + static_cast<int64_t>(o.deliveryTimeMinutes) * 60000;
  int validity =
      o.valPeriodMinutes > 0 ? o.valPeriodMinutes : state_.lifecycle.defaultValidityMinutes;
  m.expiresMs = m.dueMs + static_cast<int64_t>(validity) * 60000;
  m.fate = DestinationRules::Classify(s.to, state_.lifecycle);
  id = m.id;
  state_.messages.Add(std::move(m));
  state_.counters.MessageAccepted(charge);
  return 0;
}

} // namespace gatewaysim
