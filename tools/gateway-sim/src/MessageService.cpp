#include "MessageService.h"

#include "CallerResolver.h"
#include "MessageSubmitter.h"
#include "ReplyBuilder.h"

#include <algorithm>

namespace gatewaysim {

std::string MessageService::SendMsg(const FormParams &params, int64_t nowMs) {
  auto caller = CallerResolver(state_).SessionOrAccount(params, nowMs);
  if (!caller.account) return caller.error;
  Submission s;
  s.account = *caller.account;
  if (int error = MessageOptions::Parse(params, s.options)) {
    state_.counters.MessageRejected();
    return ReplyBuilder::Error(error);
  }
  s.text = params.Value("text");
  std::string to = params.Value("to");
  if (to.find(',') == std::string::npos) {
    s.to = to;
    std::string id;
    if (int error = MessageSubmitter(state_).Submit(s, nowMs, id))
      return ReplyBuilder::Error(error);
    return ReplyBuilder::Id(id);
  }
  // Several recipients: one line per number, as for a batch.
  std::string reply;
  size_t pos = 0;
  while (pos <= to.size()) {
    size_t comma = std::min(to.find(',', pos), to.size());
    s.to = to.substr(pos, comma - pos);
    pos = comma + 1;
    if (s.to.empty()) continue;
    std::string id;
    int error = MessageSubmitter(state_).Submit(s, nowMs, id);
    if (!reply.empty()) reply += '\n';
    reply += (error ? ReplyBuilder::Error(error) : ReplyBuilder::Id(id)) + " To: " + s.to;
  }
  return reply.empty() ? ReplyBuilder::Error(kErrInvalidDestination) : reply;
}

SimMessage *MessageService::Lookup(const FormParams &params, AccountIndex account,
                                   std::string &error) {
  if (auto apiMsgId = params.Get("apiMsgId"); apiMsgId && !apiMsgId->empty()) {
    SimMessage *m = state_.messages.Find(*apiMsgId);
    if (!m || m->account != account) {
      error = ReplyBuilder::Error(kErrUnknownApiMsgId);
      return nullptr;
    }
    return m;
  }
  if (auto cliMsgId = params.Get("cliMsgId"); cliMsgId && !cliMsgId->empty()) {
    SimMessage *m = state_.messages.FindByCliMsgId(account, *cliMsgId);
    if (!m) error = ReplyBuilder::Error(kErrUnknownCliMsgId);
    return m;
  }
  error = ReplyBuilder::Error(kErrMissingMessageId);
  return nullptr;
}

std::string MessageService::QueryMsg(const FormParams &params, int64_t nowMs) {
  auto caller = CallerResolver(state_).Session(params, nowMs);
  if (!caller.account) return caller.error;
  std::string error;
  SimMessage *m = Lookup(params, *caller.account, error);
  if (!m) return error;
  return ReplyBuilder::Id(m->id) +
         " Status: " + ReplyBuilder::Status(state_.rules.StatusAt(*m, nowMs));
}

std::string MessageService::DelMsg(const FormParams &params, int64_t nowMs) {
  auto caller = CallerResolver(state_).Session(params, nowMs);
  if (!caller.account) return caller.error;
  std::string error;
  SimMessage *m = Lookup(params, *caller.account, error);
  if (!m) return error;
  if (!state_.rules.CanWithdraw(*m, nowMs)) return ReplyBuilder::Error(kErrCannotStop);
  m->withdrawn = true;
  m->withdrawnMs = nowMs;
  state_.accounts.At(m->account).balance += m->charge;
  state_.counters.Refund(m->charge);
  return ReplyBuilder::Id(m->id) + " Status: " + ReplyBuilder::Status(kStatusCancelled);
}

std::string MessageService::GetMsgCharge(const FormParams &params, int64_t nowMs) {
  auto caller = CallerResolver(state_).SessionOrAccount(params, nowMs);
  if (!caller.account) return caller.error;
  std::string id = params.Value("apimsgid");
  if (id.empty()) return ReplyBuilder::Error(kErrMissingMessageId);
  SimMessage *m = state_.messages.Find(id);
  if (!m || m->account != *caller.account) return ReplyBuilder::Error(kErrUnknownApiMsgId);
  Millicredits charge = m->withdrawn ? 0 : m->charge;
  return "apiMsgId: " + m->id + " charge: " + CreditAmount::Format(charge) +
         " status: " + ReplyBuilder::Status(state_.rules.StatusAt(*m, nowMs));
}

std::string MessageService::SendOta(const FormParams &params, int64_t nowMs) {
  auto caller = CallerResolver(state_).SessionOrAccount(params, nowMs);
  if (!caller.account) return caller.error;
  Submission s;
  s.account = *caller.account;
  if (int error = MessageOptions::Parse(params, s.options)) {
    state_.counters.MessageRejected();
    return ReplyBuilder::Error(error);
  }
  s.to = params.Value("to");
  s.overTheAir = true;
  std::string otaType = params.Value("ota_type");
  if (otaType == "2") {
    if (params.Value("url").empty()) return ReplyBuilder::Error(kErrInvalidParameter);
    s.text = params.Value("name") + " " + params.Value("url");
  } else if (otaType == "1") {
    std::string bearer = params.Value("bearer");
    if (bearer != "GSM_CSD" && bearer != "GPRS") return ReplyBuilder::Error(kErrInvalidParameter);
    s.text = params.Value("name") + " " + bearer;
  } else if (otaType.empty() && params.Has("xml")) {
    s.text = params.Value("xml");
    if (s.text.empty()) return ReplyBuilder::Error(kErrInvalidParameter);
  } else {
    return ReplyBuilder::Error(kErrInvalidParameter);
  }
  // The settings travel as binary messages of 140 bytes; count what the
  // request describes, credentials and destination aside.
  size_t bytes = 0;
  for (const auto &[key, value] : params.Pairs()) {
    if (key != "session_id" && key != "api_id" && key != "client_id" && key != "user" &&
        key != "password" && key != "to") {
      bytes += key.size() + value.size();
    }
  }
  s.fixedParts = static_cast<int>(std::max<size_t>(1, (bytes + 139) / 140));
  std::string id;
  if (int error = MessageSubmitter(state_).Submit(s, nowMs, id)) return ReplyBuilder::Error(error);
  return ReplyBuilder::Id(id);
}

} // namespace gatewaysim
