#pragma once
// Reads accounts from JSON: either {"accounts": [ ... ]} or a bare array of
// objects with the keys api_id, client_id, user, password, email, balance,
// frozen and vouchers ([{"token": "16 digits", "value": 10, "used": false}]).

#include <gatewaysim/SimOptions.h>

#include <optional>
#include <string>
#include <vector>

namespace gatewaysim {

class AccountFile {
public:
  static std::optional<std::vector<AccountSpec>> Parse(const std::string &json, std::string &error);
  static std::optional<std::vector<AccountSpec>> Load(const std::string &path, std::string &error);
};

} // namespace gatewaysim
