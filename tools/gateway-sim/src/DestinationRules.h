#pragma once
// What the gateway accepts as addresses, and which numbers are set up to
// fail so that every final status can be produced on purpose.

#include <gatewaysim/SimOptions.h>

#include <string>

namespace gatewaysim {

enum class MessageFate {
  Normal,        // queued, delivered to the network, received
  DeliveryError, // ends with 007
  RoutingError,  // ends with 009
  Offline,       // never received: expires (010) when its validity ends
};

class DestinationRules {
public:
  // 7 to 15 digits after an optional "+".
  static bool ValidNumber(const std::string &number);
  // A numeric sender (optional "+", up to 16 digits) or an alphanumeric one
  // (1 to 11 printable ASCII characters).
  static bool ValidSender(const std::string &sender);
  // The routing prefix wins over the failing suffixes; an empty pattern
  // never matches.
  static MessageFate Classify(const std::string &number, const LifecycleConfig &config);
};

} // namespace gatewaysim
