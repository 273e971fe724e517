#pragma once
// The simulated accounts, their balances and the credit vouchers. Not
// thread-safe: the gateway serialises access.

#include "CreditAmount.h"

#include <gatewaysim/SimOptions.h>

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace gatewaysim {

struct Account {
  std::string apiId;
  std::string clientId;
  std::string user;
  std::string password;
  std::string email;
  Millicredits balance = 0;
  bool frozen = false;
};

using AccountIndex = size_t;

class AccountBook {
public:
  enum class Redeem { Accepted, Used, Unknown };

  // Checks the specs (an identifier each, unique identifiers, finite
  // amounts, 16-digit voucher tokens used once). False with a message when
  // they are unusable.
  bool Load(const std::vector<AccountSpec> &specs, std::string &error);

  size_t Size() const { return accounts_.size(); }
  Account &At(AccountIndex index) { return accounts_.at(index); }
  const Account &At(AccountIndex index) const { return accounts_.at(index); }

  std::optional<AccountIndex> FindByApiId(const std::string &apiId) const;
  std::optional<AccountIndex> FindByClientId(const std::string &clientId) const;
  // api_id first, then client_id.
  std::optional<AccountIndex> FindById(const std::string &id) const;
  std::optional<AccountIndex> FindByUser(const std::string &user) const;

  // Vouchers are bearer tokens: any account may redeem any unused one.
  Redeem RedeemVoucher(const std::string &token, AccountIndex into, Millicredits &value);
  size_t UnusedVouchers() const;

  static bool IsVoucherToken(const std::string &token);

private:
  struct Voucher {
    Millicredits value = 0;
    bool used = false;
  };
  std::vector<Account> accounts_;
  std::map<std::string, Voucher> vouchers_;
};

} // namespace gatewaysim
