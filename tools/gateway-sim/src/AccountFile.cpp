#include "AccountFile.h"

#include <codepage/Codepage.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace gatewaysim {

namespace {
using nlohmann::json;

bool ReadText(const json &object, const char *key, std::string &out, std::string &error) {
  auto it = object.find(key);
  if (it == object.end() || it->is_null()) return true;
  if (it->is_string()) {
    // JSON text is UTF-8; the gateway compares the 8-bit text it receives.
    out = codepage::Utf8ToAnsi(it->get<std::string>());
    return true;
  }
  if (it->is_number_integer()) { // an api_id written as a number
    out = std::to_string(it->get<long long>());
    return true;
  }
  error = std::string("\"") + key + "\" must be text";
  return false;
}

bool ReadNumber(const json &object, const char *key, double &out, std::string &error) {
  auto it = object.find(key);
  if (it == object.end() || it->is_null()) return true;
  if (!it->is_number()) {
    error = std::string("\"") + key + "\" must be a number";
    return false;
  }
  out = it->get<double>();
  return true;
}

bool ReadBool(const json &object, const char *key, bool &out, std::string &error) {
  auto it = object.find(key);
  if (it == object.end() || it->is_null()) return true;
  if (!it->is_boolean()) {
    error = std::string("\"") + key + "\" must be true or false";
    return false;
  }
  out = it->get<bool>();
  return true;
}

std::optional<AccountSpec> ReadAccount(const json &object, std::string &error) {
  if (!object.is_object()) {
    error = "an account must be an object";
    return std::nullopt;
  }
  AccountSpec spec;
  if (!ReadText(object, "api_id", spec.apiId, error) ||
      !ReadText(object, "client_id", spec.clientId, error) ||
      !ReadText(object, "user", spec.user, error) ||
      !ReadText(object, "password", spec.password, error) ||
      !ReadText(object, "email", spec.email, error) ||
      !ReadNumber(object, "balance", spec.balance, error) ||
      !ReadBool(object, "frozen", spec.frozen, error)) {
    return std::nullopt;
  }
  auto vouchers = object.find("vouchers");
  if (vouchers != object.end() && !vouchers->is_null()) {
    if (!vouchers->is_array()) {
      error = "\"vouchers\" must be an array";
      return std::nullopt;
    }
    for (const json &v : *vouchers) {
      VoucherSpec voucher;
      if (!v.is_object()) {
        error = "a voucher must be an object";
        return std::nullopt;
      }
      if (!ReadText(v, "token", voucher.token, error) ||
          !ReadNumber(v, "value", voucher.value, error) ||
          !ReadBool(v, "used", voucher.used, error)) {
        return std::nullopt;
      }
      spec.vouchers.push_back(std::move(voucher));
    }
  }
  return spec;
}
} // namespace

std::optional<std::vector<AccountSpec>> AccountFile::Parse(const std::string &text,
                                                           std::string &error) {
  json doc = json::parse(text, nullptr, false);
  if (doc.is_discarded()) {
    error = "not valid JSON";
    return std::nullopt;
  }
  const json *list = &doc;
  if (doc.is_object()) {
    auto it = doc.find("accounts");
    if (it == doc.end()) {
      error = "no \"accounts\" array";
      return std::nullopt;
    }
    list = &*it;
  }
  if (!list->is_array()) {
    error = "\"accounts\" must be an array";
    return std::nullopt;
  }
  std::vector<AccountSpec> specs;
  for (size_t i = 0; i < list->size(); ++i) {
    std::string why;
    auto spec = ReadAccount((*list)[i], why);
    if (!spec) {
      error = "account " + std::to_string(i + 1) + ": " + why;
      return std::nullopt;
    }
    specs.push_back(std::move(*spec));
  }
  return specs;
}

std::optional<std::vector<AccountSpec>> AccountFile::Load(const std::string &path,
                                                          std::string &error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path;
    return std::nullopt;
  }
  std::ostringstream text;
  text << in.rdbuf();
  auto specs = Parse(text.str(), error);
  if (!specs) error = path + ": " + error;
  return specs;
}

} // namespace gatewaysim
