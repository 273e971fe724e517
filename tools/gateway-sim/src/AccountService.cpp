#include "AccountService.h"

#include "AuthScrambler.h"
#include "CallerResolver.h"
#include "DestinationRules.h"
#include "ReplyBuilder.h"

#include <algorithm>
#include <cctype>

namespace gatewaysim {

namespace {
std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}
} // namespace

std::string AccountService::OpenSession(const FormParams &given, const char *idKey, int64_t nowMs) {
  FormParams params = given;
  if (auto scrambled = given.Get("string")) {
    auto plain = AuthScrambler::Unscramble(*scrambled);
    if (!plain) return ReplyBuilder::Error(kErrAuthFailed);
    params = FormParams::FromText(*plain);
  }
  auto caller = CallerResolver(state_).Credentials(params, idKey);
  if (!caller.account) return caller.error;
  std::string id = state_.ids.Next();
  state_.sessions.Open(id, *caller.account, nowMs);
  state_.counters.SessionOpened();
  return ReplyBuilder::Ok(id);
}

std::string AccountService::Auth(const FormParams &params, int64_t nowMs) {
  return OpenSession(params, "api_id", nowMs);
}

std::string AccountService::ClientAuth(const FormParams &params, int64_t nowMs) {
  return OpenSession(params, "client_id", nowMs);
}

std::string AccountService::Ping(const FormParams &params, int64_t nowMs) {
  auto caller = CallerResolver(state_).Session(params, nowMs);
  if (!caller.account) return caller.error;
  return ReplyBuilder::Ok("Session active");
}

std::string AccountService::Balance(const FormParams &params, int64_t nowMs) {
  auto caller = CallerResolver(state_).Session(params, nowMs);
  if (!caller.account) return caller.error;
  return ReplyBuilder::Credit(state_.accounts.At(*caller.account).balance);
}

std::string AccountService::TokenPay(const FormParams &params, int64_t nowMs) {
  auto caller = CallerResolver(state_).Session(params, nowMs);
  if (!caller.account) return caller.error;
  Millicredits value = 0;
  switch (state_.accounts.RedeemVoucher(params.Value("token"), *caller.account, value)) {
  case AccountBook::Redeem::Accepted:
    state_.counters.CreditAdded(value);
    return ReplyBuilder::Ok("605, Token accepted");
  case AccountBook::Redeem::Used:
    return ReplyBuilder::Error(kErrExpiredToken);
  case AccountBook::Redeem::Unknown:
    break;
  }
  return ReplyBuilder::Error(kErrInvalidToken);
}

std::string AccountService::ChangePassword(const FormParams &params, int64_t nowMs) {
  auto caller = CallerResolver(state_).Session(params, nowMs);
  if (!caller.account) return caller.error;
  std::string password = params.Value("password");
  if (password.empty() || password.size() > 64) return ReplyBuilder::Error(kErrInvalidParameter);
  state_.accounts.At(*caller.account).password = password;
  return ReplyBuilder::Ok("Password changed");
}

std::string AccountService::RecoverPassword(const FormParams &params, int64_t) {
  std::string user = params.Value("user");
  std::string email = params.Value("email");
  auto index = user.empty() ? std::nullopt : state_.accounts.FindByUser(user);
  if (!index || email.empty() || Lower(state_.accounts.At(*index).email) != Lower(email)) {
    return ReplyBuilder::Error(kErrUnknownUser);
  }
  return ReplyBuilder::Ok("Password sent to " + state_.accounts.At(*index).email);
}

std::string AccountService::Coverage(const FormParams &params, int64_t nowMs) {
  auto caller = CallerResolver(state_).SessionOrAccount(params, nowMs);
  if (!caller.account) return caller.error;
  std::string number = params.Value("msisdn");
  if (!DestinationRules::ValidNumber(number)) return ReplyBuilder::Error(kErrInvalidDestination);
  if (DestinationRules::Classify(number, state_.lifecycle) == MessageFate::RoutingError) {
    return ReplyBuilder::Error(kErrCannotRoute);
  }
  return ReplyBuilder::Ok(
      "This prefix is currently supported. Messages sent to " + number +
      " will be routed. Charge: " + CreditAmount::Format(state_.creditsPerPart));
}

std::string AccountService::Version(const FormParams &params, int64_t nowMs) {
  auto caller = CallerResolver(state_).Session(params, nowMs);
  if (!caller.account) return caller.error;
  return ReplyBuilder::Ok(kVersion);
}

std::string AccountService::NetTest(const FormParams &, int64_t) {
  return "OK";
}

} // namespace gatewaysim
