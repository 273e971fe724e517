#include "src/MessageOperations.h"

#include "src/AuthScrambler.h"
#include "src/Credentials.h"
#include "src/GatewayExchange.h"
#include "src/OptionBlock.h"
#include "src/ReplyGrammar.h"
#include "src/SmsState.h"
#include "transport/TransportResult.h"

namespace parlink {

Outcome MessageOperations::Login(std::string_view path, std::string body, bool encoded,
                                 std::string_view failureDescription, bool replyOnFailure) {
  if (encoded) body = "string=" + ScrambleAuthBody(body);
  TransportResult reply = gateway_.Post(path, body);
  if (!reply.ok) return gateway_.FailTransport(reply.text);
  if (BeginsWith(reply.text, "OK: ")) {
    state_.sessionId.assign(ReplyAfter(reply.text, 4));
    state_.isLoggedIn = VARIANT_TRUE;
    state_.error = 0;
    return Outcome::Success(std::move(reply.text));
  }
  const LONG code = ReplyErrorCode(reply.text);
  return gateway_.Fail(code, std::string(failureDescription),
                       replyOnFailure ? std::move(reply.text) : std::string());
}

Outcome MessageOperations::Authenticate(std::string apiId, std::string user, std::string password,
                                        bool encoded) {
  state_.apiId = std::move(apiId);
  state_.user = std::move(user);
  state_.password = std::move(password);
  state_.EndSession();
  state_.error = 0;
  return Login("http/auth", AccountCredentials(state_), encoded, "Authentication Failed.", true);
}

Outcome MessageOperations::AuthenticateClient(std::string clientId, std::string user,
                                              std::string password, bool encoded) {
  state_.apiId.clear();
  state_.clientId = std::move(clientId);
  state_.user = std::move(user);
  state_.password = std::move(password);
  state_.EndSession();
  state_.error = 0;
  return Login("http/cli_auth", ClientCredentials(state_), encoded, "Client Authentication Failed.",
               false);
}

std::optional<std::string> MessageOperations::Credentials(bool useSession, Outcome &failure) {
  if (!useSession) return AccountCredentials(state_);
  if (!state_.HasValidSession()) {
    failure = gateway_.FailNoSession();
    return std::nullopt;
  }
  return SessionCredentials(state_);
}

Outcome MessageOperations::SendMsg(bool useSession, std::optional<std::string> msg,
                                   std::optional<std::string> to) {
  state_.error = 0;
  if (msg) state_.text = std::move(*msg);
  if (to) state_.to = std::move(*to);
  Outcome failure;
  std::optional<std::string> body = Credentials(useSession, failure);
  if (!body) return failure;
  *body += "&text=" + state_.Encoded(state_.text);
  AppendOptionBlock(*body, state_);
  return gateway_.Run("http/sendmsg", *body, PrefixJudge("ID:"), "Send Message Failed.");
}

Outcome MessageOperations::QueryOrStop(std::string_view path, const std::string &msgId, LONG idType,
                                       std::string_view failureDescription) {
  state_.error = 0;
  if (!state_.HasValidSession()) return gateway_.FailNoSession();
  std::string body = SessionCredentials(state_);
  body += idType == 1 ? "&apiMsgId=" : "&cliMsgId=";
  body += msgId;
  return gateway_.Run(path, body, PrefixJudge("ID:"), failureDescription);
}

Outcome MessageOperations::QueryMsg(const std::string &msgId, LONG idType) {
  return QueryOrStop("http/querymsg", msgId, idType, "Query Message Failed.");
}

Outcome MessageOperations::StopMsg(const std::string &msgId, LONG idType) {
  return QueryOrStop("http/delmsg", msgId, idType, "Stop Message Failed.");
}

Outcome MessageOperations::GetMsgCharge(bool useSession, const std::string &apiMsgId) {
  Outcome failure;
  std::optional<std::string> body = Credentials(useSession, failure);
  if (!body) return failure;
  *body += "&apimsgid=" + apiMsgId;
  AppendOptionBlock(*body, state_);
  return gateway_.Run(
      "http/getmsgcharge", *body,
      [](std::string_view reply) { return BeginsWithIgnoringCase(reply, "apimsgid:"); },
      "Get Message Charge Failed.");
}

Outcome MessageOperations::Ping() {
  state_.error = 0;
  if (!state_.HasValidSession()) return gateway_.FailNoSession();
  return gateway_.Run("http/ping", SessionCredentials(state_), PrefixJudge("OK:"), "Ping Failed.");
}

Outcome MessageOperations::QueryBalance() {
  state_.error = 0;
  if (!state_.HasValidSession()) return gateway_.FailNoSession();
  Outcome outcome = gateway_.Run("http/getbalance", SessionCredentials(state_),
                                 PrefixJudge("Credit: "), "Query Balance Failed.");
  if (outcome.ok) outcome.text = std::string(ReplyAfter(outcome.text, 8));
  return outcome;
}

std::string MessageOperations::EncodeToUnicode(std::u16string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size() * 4);
  for (char16_t unit : text) {
    out.push_back(kHex[(unit >> 12) & 0x0F]);
    out.push_back(kHex[(unit >> 8) & 0x0F]);
    out.push_back(kHex[(unit >> 4) & 0x0F]);
    out.push_back(kHex[unit & 0x0F]);
  }
  return out;
}

} // namespace parlink
