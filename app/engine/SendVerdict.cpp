#include "SendVerdict.h"

namespace engine {

SendVerdict Judge(const SendAnswer &answer, std::string_view successPrefix) {
  const std::string_view reply(answer.reply);
  if (SUCCEEDED(answer.status) && answer.error == 0 && reply.starts_with(successPrefix))
    return SendVerdict::Accepted;
  if (FAILED(answer.status) || answer.error == kErrorCommunication || !reply.starts_with("ERR:"))
    return SendVerdict::Unknown;
  return answer.error == kErrorNoCredit ? SendVerdict::NoCredit : SendVerdict::Refused;
}

} // namespace engine
