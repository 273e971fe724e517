#pragma once
// Display names of the message status codes (0..17) and type codes (0..8).
// They start with built-in defaults and are replaced once from the string
// table at start-up (status n: string 1216 + n, type n: string 1312 + n),
// before any other thread runs; afterwards they are read without locking and
// the returned pointers stay valid for the object's lifetime.

#include <array>
#include <string>

namespace shell {

class StringTable;

class NameTables {
public:
  static constexpr int kStatusCount = 18;
  static constexpr int kTypeCount = 9;
  static constexpr int kStatusNameBase = 1216;
  static constexpr int kStatusDescriptionBase = 1520;
  static constexpr int kTypeNameBase = 1312;

  NameTables(); // built-in defaults

  // Replaces every name for which the table has a non-empty text.
  void Load(const StringTable &strings);

  // Status name, or null for a code outside 0..17.
  const char *StatusName(int code) const;
  // Type name, or null for a code outside 0..8.
  const char *TypeName(int code) const;

  // The built-in defaults only.
  static const NameTables &Defaults();

private:
  std::array<std::string, kStatusCount> statusNames_;
  std::array<std::string, kTypeCount> typeNames_;
};

} // namespace shell
