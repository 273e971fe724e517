// Opening a session and sending, following and withdrawing single messages.
#ifndef PARLINK_SRC_MESSAGEOPERATIONS_H
#define PARLINK_SRC_MESSAGEOPERATIONS_H

#include <automation/automation.h>

#include <optional>
#include <string>
#include <string_view>

#include "src/Outcome.h"

namespace parlink {

struct SmsState;
class GatewayExchange;

class MessageOperations {
public:
  MessageOperations(SmsState &state, GatewayExchange &gateway) : state_(state), gateway_(gateway) {}

  Outcome Authenticate(std::string apiId, std::string user, std::string password, bool encoded);
  Outcome AuthenticateClient(std::string clientId, std::string user, std::string password,
                             bool encoded);
  Outcome SendMsg(bool useSession, std::optional<std::string> msg, std::optional<std::string> to);
  // `idType` 1 asks by the gateway's message identifier, any other value by
  // the client's.
  Outcome QueryMsg(const std::string &msgId, LONG idType);
  Outcome StopMsg(const std::string &msgId, LONG idType);
  Outcome GetMsgCharge(bool useSession, const std::string &apiMsgId);
  Outcome Ping();
  Outcome QueryBalance();

  // Each UTF-16 code unit as four lowercase hex digits.
  static std::string EncodeToUnicode(std::u16string_view text);

private:
  // Session credentials when `useSession` (nullopt and the no-session
  // failure in `failure` when none is valid), else account credentials.
  std::optional<std::string> Credentials(bool useSession, Outcome &failure);
  Outcome QueryOrStop(std::string_view path, const std::string &msgId, LONG idType,
                      std::string_view failureDescription);
  // Common to both ways of logging in; `body` holds the plain credentials.
  Outcome Login(std::string_view path, std::string body, bool encoded,
                std::string_view failureDescription, bool replyOnFailure);

  SmsState &state_;
  GatewayExchange &gateway_;
};

} // namespace parlink

#endif
