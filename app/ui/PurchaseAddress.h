#pragma once
// The address "Buy Credits" opens: the credit purchase page (`voucher_url`),
// with the account's user name, password and client identifier appended
// while the program works online and a session is open, when the client is
// the program's own ("DVTX") or the settings ask for it.

#include <string>

namespace ui {

class PurchaseAddress {
public:
  struct Inputs {
    std::string voucherUrl;
    bool online = false;
    std::string sessionId; // smsSESSION_ID, read only while online
    std::string clientId;
    bool appendSessionIdOnPurchase = false;
    std::string login;
    std::string password;
  };

  // voucher_url, or voucher_url + "?username=" + login + "&password=" +
  // password + "&client_id=" + client_id (user name and password
  // form-encoded, the client identifier as it is).
  static std::string Build(const Inputs &in);
};

} // namespace ui
