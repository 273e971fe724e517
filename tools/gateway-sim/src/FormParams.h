#pragma once
// Form data ("a=1&b=x+y%2c") as sent in a query string or a
// application/x-www-form-urlencoded body: decoded name/value pairs in their
// order. Values are raw bytes (the gateway's 8-bit text); names compare
// exactly.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace gatewaysim {

class FormParams {
public:
  FormParams() = default;

  // Appends the pairs of `text`. A pair without "=" has an empty value;
  // empty pairs ("&&") are skipped; a "%" not followed by two hexadecimal
  // digits stays as it is.
  void Parse(std::string_view text);
  static FormParams FromText(std::string_view text);

  bool Has(std::string_view name) const;
  // First value of `name`, if present.
  std::optional<std::string> Get(std::string_view name) const;
  // First value of `name`, or "" when absent.
  std::string Value(std::string_view name) const;
  void Set(std::string name, std::string value);

  const std::vector<std::pair<std::string, std::string>> &Pairs() const { return pairs_; }
  bool Empty() const { return pairs_.empty(); }

  // "+" to blank and %xx to the byte.
  static std::string Decode(std::string_view text);
  // Letters, digits, "-", "." and "_" unchanged, blank to "+", every other
  // byte to "%" and two lower-case hex digits.
  static std::string Encode(std::string_view text);

private:
  std::vector<std::pair<std::string, std::string>> pairs_;
};

} // namespace gatewaysim
