#include "CallerResolver.h"

#include "ReplyBuilder.h"

namespace gatewaysim {

CallerResolver::Result CallerResolver::Checked(AccountIndex index) {
  if (state_.accounts.At(index).frozen)
    return {std::nullopt, ReplyBuilder::Error(kErrAccountFrozen)};
  return {index, {}};
}

CallerResolver::Result CallerResolver::Session(const FormParams &params, int64_t nowMs) {
  std::string sessionId = params.Value("session_id");
  if (sessionId.empty()) return {std::nullopt, ReplyBuilder::Error(kErrMissingSession)};
  auto account = state_.sessions.Use(sessionId, nowMs);
  if (!account) return {std::nullopt, ReplyBuilder::Error(kErrSessionExpired)};
  return Checked(*account);
}

CallerResolver::Result CallerResolver::SessionOrAccount(const FormParams &params, int64_t nowMs) {
  if (!params.Value("session_id").empty()) return Session(params, nowMs);
  if (params.Value("api_id").empty() && !params.Value("client_id").empty()) {
    return Credentials(params, "client_id");
  }
  return Credentials(params, "api_id");
}

CallerResolver::Result CallerResolver::Credentials(const FormParams &params, const char *idKey) {
  std::string id = params.Value(idKey);
  bool byApiId = std::string_view(idKey) == "api_id";
  if (id.empty()) {
    return {std::nullopt, ReplyBuilder::Error(byApiId ? kErrInvalidApiId : kErrAuthFailed)};
  }
  auto index = byApiId ? state_.accounts.FindByApiId(id) : state_.accounts.FindByClientId(id);
  if (!index) return {std::nullopt, ReplyBuilder::Error(kErrAuthFailed)};
  const Account &account = state_.accounts.At(*index);
  auto user = params.Get("user");
  auto password = params.Get("password");
  if (!user || !password || *user != account.user || *password != account.password) {
    return {std::nullopt, ReplyBuilder::Error(kErrAuthFailed)};
  }
  return Checked(*index);
}

} // namespace gatewaysim
