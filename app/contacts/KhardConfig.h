#pragma once
// The address books named in khard's configuration
// ($XDG_CONFIG_HOME/khard/khard.conf): the "path" of every [[book]] below
// [addressbooks], with "~" and $VARIABLE / ${VARIABLE} expanded.

#include <filesystem>
#include <string_view>
#include <vector>

namespace contacts {

class KhardConfig {
public:
  static std::filesystem::path DefaultFile();
  static std::vector<std::filesystem::path> AddressBookPaths(std::string_view configText);
  static std::filesystem::path ExpandPath(std::string_view written);
};

} // namespace contacts
