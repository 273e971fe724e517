#include "src/Credentials.h"

#include "src/SmsState.h"

namespace parlink {

std::string SessionCredentials(const SmsState &state) {
  return "session_id=" + state.sessionId;
}

std::string AccountCredentials(SmsState &state) {
  std::string body = "api_id=" + state.apiId + "&user=" + state.user + "&password=";
  body += state.Encoded(state.password);
  return body;
}

std::string ClientCredentials(SmsState &state) {
  std::string body = "client_id=" + state.clientId + "&user=" + state.user + "&password=";
  body += state.Encoded(state.password);
  return body;
}

} // namespace parlink
