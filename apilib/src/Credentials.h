// The credential texts request bodies begin with.
#ifndef PARLINK_SRC_CREDENTIALS_H
#define PARLINK_SRC_CREDENTIALS_H

#include <string>

namespace parlink {

struct SmsState;

// "session_id=" and the session identifier.
std::string SessionCredentials(const SmsState &state);
// "api_id=...&user=...&password=..." with the password form-encoded.
std::string AccountCredentials(SmsState &state);
// "client_id=...&user=...&password=..." with the password form-encoded.
std::string ClientCredentials(SmsState &state);

} // namespace parlink

#endif
