#pragma once
// The account balance as the program keeps it (`LastBalance`, in tenths of
// a credit) and as the labels show it.

#include <QString>

#include <optional>
#include <string>

namespace ui {

class BalanceValue {
public:
  // The gateway's balance text ("42.5", "100", "98.25") in tenths of a
  // credit (425, 1000, 982; further decimals are cut). Nothing for a text
  // that is not a number or does not fit.
  static std::optional<int> ParseTenths(const std::string &text);
  // "Balance: 12.5" (string 1398), with "?" behind while offline.
  static QString Label(int tenths, bool online);
};

} // namespace ui
