// The steps every gateway operation shares: recording a failure (code,
// description and error object), the missing-session failure, and posting a
// body and judging the reply.
#ifndef PARLINK_SRC_GATEWAYEXCHANGE_H
#define PARLINK_SRC_GATEWAYEXCHANGE_H

#include <automation/automation.h>

#include <functional>
#include <string>
#include <string_view>

#include "src/Outcome.h"
#include "transport/TransportResult.h"

namespace parlink {

struct SmsState;
class TransportContext;

class GatewayExchange {
public:
  using Judge = std::function<bool(std::string_view reply)>;

  GatewayExchange(SmsState &state, TransportContext &transport)
      : state_(state), transport_(transport) {}

  // Sets smsERROR and smsERROR_DESC, publishes the error object and fails
  // with `resultText`.
  Outcome Fail(LONG code, std::string description, std::string resultText);
  // smsERROR 3, "No valid Session ID", result "ERR: 3".
  Outcome FailNoSession();

  // Posts `body` on the object's communication type. A transport failure
  // becomes smsERROR 99 with the transport's message; the reply otherwise.
  TransportResult Post(std::string_view path, std::string_view body);
  Outcome FailTransport(const std::string &message);

  // Posts and judges: a reply `succeeded` accepts is a success with the
  // whole reply; any other reply sets smsERROR from the reply and
  // `failureDescription`, and is the result text.
  Outcome Run(std::string_view path, std::string_view body, const Judge &succeeded,
              std::string_view failureDescription);

  TransportContext &Transport() { return transport_; }

private:
  SmsState &state_;
  TransportContext &transport_;
};

// A judge accepting replies that begin with `prefix` (case-sensitive).
GatewayExchange::Judge PrefixJudge(std::string prefix);

} // namespace parlink

#endif
