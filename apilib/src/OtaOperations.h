// Over-the-air settings messages: free XML, a bookmark, and the connection
// settings of a handset for a data call (CSD) or GPRS.
#ifndef PARLINK_SRC_OTAOPERATIONS_H
#define PARLINK_SRC_OTAOPERATIONS_H

#include <automation/automation.h>

#include <optional>
#include <string>

#include "src/Outcome.h"

namespace parlink {

struct SmsState;
class GatewayExchange;

// The connection fields both settings messages carry.
struct OtaConnection {
  std::string name;
  std::string url;
  LONG pppLoginType = 0;
  LONG pppAuthType = 0;
  std::string pppAuthName;
  std::string pppAuthSecret;
};

class OtaOperations {
public:
  static constexpr size_t kNameLimit = 20;
  static constexpr size_t kUrlLimit = 255;

  OtaOperations(SmsState &state, GatewayExchange &gateway) : state_(state), gateway_(gateway) {}

  Outcome SendOTAasXML(bool useSession, std::optional<std::string> to, const std::string &xml);
  Outcome SendOTABookmark(std::string to, const std::string &name, const std::string &url);
  Outcome SetCSD(std::string to, const OtaConnection &connection, LONG callType, LONG callSpeed,
                 const std::string &dialString);
  Outcome SetGPRS(std::string to, const OtaConnection &connection, LONG port,
                  const std::string &gprsAccess);

private:
  // Session credentials when a session is valid, else account credentials.
  std::string SessionOrAccount();
  // Parts 1 to 9 of a settings body, with `bearer` after the name and URL.
  std::string SettingsHead(const OtaConnection &connection, const char *bearer);
  // Posts and accepts any reply once the transport succeeded.
  Outcome PostAnyReply(const std::string &body);

  SmsState &state_;
  GatewayExchange &gateway_;
};

} // namespace parlink

#endif
