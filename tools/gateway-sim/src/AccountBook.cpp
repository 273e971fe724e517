#include "AccountBook.h"

#include <set>

namespace gatewaysim {

bool AccountBook::IsVoucherToken(const std::string &token) {
  if (token.size() != 16) return false;
  for (char c : token) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool AccountBook::Load(const std::vector<AccountSpec> &specs, std::string &error) {
  std::vector<Account> accounts;
  std::map<std::string, Voucher> vouchers;
  std::set<std::string> apiIds;
  std::set<std::string> clientIds;
  for (size_t i = 0; i < specs.size(); ++i) {
    const AccountSpec &spec = specs[i];
    std::string where = "account " + std::to_string(i + 1);
    if (spec.apiId.empty() && spec.clientId.empty()) {
      error = where + ": needs an api_id or a client_id";
      return false;
    }
    if (!spec.apiId.empty() && !apiIds.insert(spec.apiId).second) {
      error = where + ": api_id " + spec.apiId + " given twice";
      return false;
    }
    if (!spec.clientId.empty() && !clientIds.insert(spec.clientId).second) {
      error = where + ": client_id " + spec.clientId + " given twice";
      return false;
    }
    auto balance = CreditAmount::FromCredits(spec.balance);
    if (!balance) {
      error = where + ": balance out of range";
      return false;
    }
    Account account{spec.apiId, spec.clientId, spec.user,  spec.password,
                    spec.email, *balance,      spec.frozen};
    accounts.push_back(std::move(account));
    for (const VoucherSpec &v : spec.vouchers) {
      auto value = CreditAmount::FromCredits(v.value);
      if (!IsVoucherToken(v.token)) {
        error = where + ": voucher token \"" + v.token + "\" is not 16 digits";
        return false;
      }
      if (!value || *value < 0) {
        error = where + ": voucher " + v.token + " has no usable value";
        return false;
      }
      if (!vouchers.emplace(v.token, Voucher{*value, v.used}).second) {
        error = where + ": voucher " + v.token + " given twice";
        return false;
      }
    }
  }
  accounts_ = std::move(accounts);
  vouchers_ = std::move(vouchers);
  return true;
}

std::optional<AccountIndex> AccountBook::FindByApiId(const std::string &apiId) const {
  if (apiId.empty()) return std::nullopt;
  for (AccountIndex i = 0; i < accounts_.size(); ++i) {
    if (accounts_[i].apiId == apiId) return i;
  }
  return std::nullopt;
}

std::optional<AccountIndex> AccountBook::FindByClientId(const std::string &clientId) const {
  if (clientId.empty()) return std::nullopt;
  for (AccountIndex i = 0; i < accounts_.size(); ++i) {
    if (accounts_[i].clientId == clientId) return i;
  }
  return std::nullopt;
}

std::optional<AccountIndex> AccountBook::FindById(const std::string &id) const {
  if (auto found = FindByApiId(id)) return found;
  return FindByClientId(id);
}

std::optional<AccountIndex> AccountBook::FindByUser(const std::string &user) const {
  for (AccountIndex i = 0; i < accounts_.size(); ++i) {
    if (accounts_[i].user == user) return i;
  }
  return std::nullopt;
}

AccountBook::Redeem AccountBook::RedeemVoucher(const std::string &token, AccountIndex into,
                                               Millicredits &value) {
  value = 0;
  auto it = vouchers_.find(token);
  if (it == vouchers_.end() || into >= accounts_.size()) return Redeem::Unknown;
  if (it->second.used) return Redeem::Used;
  it->second.used = true;
  value = it->second.value;
  accounts_[into].balance += value;
  return Redeem::Accepted;
}

size_t AccountBook::UnusedVouchers() const {
  size_t n = 0;
  for (const auto &[token, voucher] : vouchers_) {
    if (!voucher.used) ++n;
  }
  return n;
}

} // namespace gatewaysim
