#pragma once
// Splitting a key path ("SOFTWARE\\Quorvane\\Dvtx3") into its names.

#include <string>
#include <string_view>
#include <vector>

namespace registry {

class KeyPath {
public:
  static constexpr size_t kMaxNameBytes = 255;

  // False when a name is empty or longer than kMaxNameBytes. "" gives no
  // names (the hive itself).
  static bool Split(std::string_view key, std::vector<std::string> &names);
};

} // namespace registry
