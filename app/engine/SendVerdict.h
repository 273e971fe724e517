#pragma once
// What the answer to one sending request (SendMsg, StartBatch, EndBatch,
// QueryMsgCLIID) means for the message. The library's convention reports a
// reply that is neither "ID:" nor "ERR:" (an error page of a proxy, a
// captive portal) with error 0, so error 0 alone is not an acceptance: the
// reply must also begin with the operation's success prefix.

#include <automation/automation.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

enum class SendVerdict {
  Accepted, // error 0 and the success prefix
  NoCredit, // "ERR: 301": the account has no credit left
  Refused,  // any other answer of the gateway itself ("ERR: n", n not 99)
  Unknown,  // no answer of the gateway: communication failure, error page,
            // failed invocation; the request may or may not have arrived
};

struct SendAnswer {
  HRESULT status = S_OK;
  std::int32_t error = 0;
  std::string reply;
};

inline constexpr std::int32_t kErrorNoCredit = 301;
inline constexpr std::int32_t kErrorCommunication = 99;
inline constexpr std::int32_t kErrorUnknownCliMsgId = 104;

SendVerdict Judge(const SendAnswer &answer, std::string_view successPrefix);

} // namespace engine
