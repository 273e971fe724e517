#pragma once
// The file "%%key" inside a key's folder: the key's own spelling and its
// values in the order they were first set.
//
//   DVREG1\n
//   K<len>:<key name>\n
//   V<len>:<value name>\n<len>:<value bytes>\n      (one per value)
//
// Lengths are decimal byte counts, so names and values may hold any byte.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace registry {

class KeyFile {
public:
  static constexpr std::string_view kFileName = "%%key";
  // Refuse to read anything larger: no key file we write comes near it.
  static constexpr size_t kMaxFileBytes = 64u << 20;

  std::string name;
  std::vector<std::pair<std::string, std::string>> values;

  std::string Serialize() const;
  // False when `bytes` is not a complete, well-formed key file; `out` then
  // holds the records read before the damage.
  static bool Parse(std::string_view bytes, KeyFile &out);

  const std::string *Find(std::string_view valueName) const;
  void Set(std::string_view valueName, std::string_view value);
  bool Erase(std::string_view valueName);
};

} // namespace registry
