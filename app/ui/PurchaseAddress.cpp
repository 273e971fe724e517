#include "PurchaseAddress.h"

#include "compose/UrlEncoder.h"
#include "shell/Settings.h"

namespace ui {

std::string PurchaseAddress::Build(const Inputs &in) {
  std::string address = in.voucherUrl;
  const bool ownClient = in.clientId == shell::kDefaultClientId;
  if (in.online && (ownClient || in.appendSessionIdOnPurchase) && !in.sessionId.empty()) {
    address += "?username=" + compose::UrlEncode(in.login);
    address += "&password=" + compose::UrlEncode(in.password);
    address += "&client_id=" + in.clientId;
  }
  return address;
}

} // namespace ui
