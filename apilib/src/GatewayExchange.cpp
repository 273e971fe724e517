#include "src/GatewayExchange.h"

#include "src/ErrorReporter.h"
#include "src/ReplyGrammar.h"
#include "src/SmsState.h"
#include "transport/TransportContext.h"

namespace parlink {

Outcome GatewayExchange::Fail(LONG code, std::string description, std::string resultText) {
  state_.error = code;
  state_.errorDesc = std::move(description);
  PublishErrorInfo(state_.errorDesc);
  return Outcome::Failure(std::move(resultText));
}

Outcome GatewayExchange::FailNoSession() {
  return Fail(3, "No valid Session ID", "ERR: 3");
}

TransportResult GatewayExchange::Post(std::string_view path, std::string_view body) {
  return transport_.Request(path, body, state_.communicationType);
}

Outcome GatewayExchange::FailTransport(const std::string &message) {
  std::string description = "Communication error: " + message;
  std::string result = "ERR: -2," + description;
  return Fail(99, std::move(description), std::move(result));
}

Outcome GatewayExchange::Run(std::string_view path, std::string_view body, const Judge &succeeded,
                             std::string_view failureDescription) {
  TransportResult reply = Post(path, body);
  if (!reply.ok) return FailTransport(reply.text);
  if (succeeded(reply.text)) {
    state_.error = 0;
    return Outcome::Success(std::move(reply.text));
  }
  const LONG code = ReplyErrorCode(reply.text);
  return Fail(code, std::string(failureDescription), std::move(reply.text));
}

GatewayExchange::Judge PrefixJudge(std::string prefix) {
  return [prefix = std::move(prefix)](std::string_view reply) { return BeginsWith(reply, prefix); };
}

} // namespace parlink
