#pragma once
// The account login that the login page and the worker's keep-alive share:
// AuthenticateClient with the client identifier, user name and password,
// then the error code. A communication failure (error 99) is shown to the
// user with strings 1027 and 1028.

#include "GatewayApi.h"
#include "UserPrompt.h"

#include "shell/StringTable.h"

#include <string>

namespace engine {

class LoginOperation {
public:
  static constexpr int kCommunicationError = 99;
  static constexpr int kCommFailedTextId = 1027;
  static constexpr int kCommFailedCaptionId = 1028;

  struct Result {
    bool ok = false;
    HRESULT status = S_OK;
    std::int32_t error = 0;
    std::string reply;
  };

  // Logs in; `prompt` may be null (no message box).
  static Result Login(GatewayApi &gateway, const std::string &clientId, const std::string &user,
                      const std::string &password, UserPrompt *prompt,
                      const shell::StringTable &strings);
};

} // namespace engine
