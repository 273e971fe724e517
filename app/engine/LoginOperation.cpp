#include "LoginOperation.h"

#include <mutex>

namespace engine {

LoginOperation::Result LoginOperation::Login(GatewayApi &gateway, const std::string &clientId,
                                             const std::string &user, const std::string &password,
                                             UserPrompt *prompt,
                                             const shell::StringTable &strings) {
  Result result;
  {
    std::lock_guard<TrackedRecursiveMutex> unit(gateway.CallLock());
    result.status =
        gateway.AuthenticateClient(clientId.c_str(), user.c_str(), password.c_str(), &result.reply);
    result.error = gateway.LastError();
  }
  // A failed invocation is a failed login even when the library could not
  // record an error code.
  result.ok = SUCCEEDED(result.status) && result.error == 0;
  if (result.error == kCommunicationError && prompt != nullptr)
    prompt->Ask(strings.Get(kCommFailedTextId), strings.Get(kCommFailedCaptionId),
                kBoxOk | kBoxIconError);
  return result;
}

} // namespace engine
