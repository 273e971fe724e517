#include "DestinationRules.h"

namespace gatewaysim {

namespace {
std::string Digits(const std::string &number) {
  return !number.empty() && number[0] == '+' ? number.substr(1) : number;
}
bool AllDigits(const std::string &text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}
bool StartsWith(const std::string &text, const std::string &prefix) {
  return !prefix.empty() && text.compare(0, prefix.size(), prefix) == 0;
}
bool EndsWith(const std::string &text, const std::string &suffix) {
  return !suffix.empty() && text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}
} // namespace

bool DestinationRules::ValidNumber(const std::string &number) {
  std::string digits = Digits(number);
  return digits.size() >= 7 && digits.size() <= 15 && AllDigits(digits);
}

bool DestinationRules::ValidSender(const std::string &sender) {
  if (sender.empty()) return false;
  std::string digits = Digits(sender);
  if (!digits.empty() && AllDigits(digits)) return digits.size() <= 16;
  if (sender.size() > 11) return false;
  for (char c : sender) {
    if (c < 0x20 || c > 0x7e) return false;
  }
  return true;
}

MessageFate DestinationRules::Classify(const std::string &number, const LifecycleConfig &config) {
  std::string digits = Digits(number);
  if (StartsWith(digits, config.routeFailPrefix)) return MessageFate::RoutingError;
  if (EndsWith(digits, config.failSuffix)) return MessageFate::DeliveryError;
  if (EndsWith(digits, config.offlineSuffix)) return MessageFate::Offline;
  return MessageFate::Normal;
}

} // namespace gatewaysim
