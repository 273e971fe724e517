#include "src/OtaOperations.h"

#include "src/Credentials.h"
#include "src/GatewayExchange.h"
#include "src/OptionBlock.h"
#include "src/SmsState.h"

namespace parlink {

namespace {
constexpr char kOtaPath[] = "http/sendota";
}

std::string OtaOperations::SessionOrAccount() {
  return state_.HasValidSession() ? SessionCredentials(state_) : AccountCredentials(state_);
}

Outcome OtaOperations::PostAnyReply(const std::string &body) {
  TransportResult reply = gateway_.Post(kOtaPath, body);
  if (!reply.ok) return gateway_.FailTransport(reply.text);
  return Outcome::Success(std::move(reply.text));
}

Outcome OtaOperations::SendOTAasXML(bool useSession, std::optional<std::string> to,
                                    const std::string &xml) {
  state_.error = 0;
  if (to) state_.to = std::move(*to);
  std::string body;
  if (useSession) {
    if (!state_.HasValidSession()) return gateway_.FailNoSession();
    body = SessionCredentials(state_);
  } else {
    body = AccountCredentials(state_);
  }
  body += "&xml=" + state_.Encoded(xml);
  AppendOptionBlock(body, state_, OptionBlockLines{.forceTextType = true});
  return PostAnyReply(body);
}

Outcome OtaOperations::SendOTABookmark(std::string to, const std::string &name,
                                       const std::string &url) {
  state_.error = 0;
  state_.to = std::move(to);
  std::optional<Outcome> refused;
  if (name.size() > kNameLimit) {
    std::string description = "Name parameter can only be a max of 20 characters long: " + name;
    std::string result = "ERR: -2," + description;
    refused = gateway_.Fail(700, std::move(description), std::move(result));
  }
  if (url.size() > kUrlLimit) {
    std::string description = "Url parameter can only be a max of 20 characters long: " + url;
    std::string result = "ERR: -2," + description;
    refused = gateway_.Fail(700, std::move(description), std::move(result));
  }
  if (refused) return *refused;

  std::string body = SessionOrAccount();
  body += "&name=" + state_.Encoded(name);
  body += "&url=" + state_.Encoded(url);
  AppendOptionBlock(body, state_, OptionBlockLines{.forceTextType = true});
  body += "&ota_type=2";
  return PostAnyReply(body);
}

std::string OtaOperations::SettingsHead(const OtaConnection &connection, const char *bearer) {
  std::string body = SessionOrAccount();
  body += "&ota_type=1";
  if (!connection.name.empty()) body += "&name=" + state_.Encoded(connection.name);
  if (!connection.url.empty()) body += "&url=" + state_.Encoded(connection.url);
  body += "&bearer=";
  body += bearer;
  if (connection.pppLoginType == 1) body += "&ppp_logintype=AUTOMATIC";
  if (connection.pppLoginType == 2) body += "&ppp_logintype=MANUAL";
  switch (connection.pppAuthType) {
  case 2:
    body += "&ppp_authtype=CHAP";
    break;
  case 3:
    body += "&ppp_authtype=MSCHAP";
    break;
  default:
    body += "&ppp_authtype=PAP";
    break;
  }
  if (!connection.pppAuthName.empty())
    body += "&ppp_authname=" + state_.Encoded(connection.pppAuthName);
  if (!connection.pppAuthSecret.empty())
    body += "&ppp_authsecret=" + state_.Encoded(connection.pppAuthSecret);
  return body;
}

Outcome OtaOperations::SetCSD(std::string to, const OtaConnection &connection, LONG callType,
                              LONG callSpeed, const std::string &dialString) {
  static constexpr const char *kSpeeds[] = {"9600",  "14400", "19200", "28800",
                                            "38400", "43200", "57600"};
  state_.error = 0;
  state_.to = std::move(to);
  std::string body = SettingsHead(connection, "GSM_CSD");
  if (callType == 0) body += "&csd_calltype=ANALOG";
  if (callType == 1) body += "&csd_calltype=ISDN";
  body += "&csd_callspeed=";
  body += (callSpeed >= 1 && callSpeed <= 7) ? kSpeeds[callSpeed - 1] : "AUTO";
  if (!dialString.empty()) body += "&csd_dialstring=" + state_.Encoded(dialString);
  AppendOptionBlock(body, state_);
  return gateway_.Run(kOtaPath, body, PrefixJudge("ID:"), "OTA_SetCSD Failed.");
}

Outcome OtaOperations::SetGPRS(std::string to, const OtaConnection &connection, LONG port,
                               const std::string &gprsAccess) {
  state_.error = 0;
  state_.to = std::move(to);
  std::string body = SettingsHead(connection, "GPRS");
  switch (port) {
  case 1:
    body += "&port=9201";
    break;
  case 2:
    body += "&port=9202";
    break;
  case 3:
    body += "&port=9203";
    break;
  default:
    body += "&port=9200";
    break;
  }
  if (!gprsAccess.empty()) body += "&gprs_access=" + state_.Encoded(gprsAccess);
  AppendOptionBlock(body, state_);
  return gateway_.Run(kOtaPath, body, PrefixJudge("ID:"), "OTA_SetGPRS Failed.");
}

} // namespace parlink
