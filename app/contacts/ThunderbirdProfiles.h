#pragma once
// Thunderbird's profiles: the folders that hold a profiles.ini (the native
// one, the snap's and every flatpak's), and the choice of the profile to
// read. A profile name chooses the profile of that name; no name chooses
// the default profile: the one named by the [Install...] section's
// "Default=" first (what current versions start with), then the one marked
// "Default=1", then the first listed.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace contacts {

struct ThunderbirdProfile {
  std::string name;
  std::filesystem::path folder;
};

class ThunderbirdProfiles {
public:
  // ~/.thunderbird, ~/snap/thunderbird/common/.thunderbird and each
  // ~/.var/app/*/.thunderbird, whether or not they exist.
  static std::vector<std::filesystem::path> Roots(const std::filesystem::path &home);
  // The roots that hold a profiles.ini.
  static std::vector<std::filesystem::path> ExistingRoots(const std::filesystem::path &home);

  // The profile chosen from one profiles.ini of `root`.
  static std::optional<ThunderbirdProfile> Choose(std::string_view profilesIni,
                                                  const std::filesystem::path &root,
                                                  std::string_view name);
  // The first root (in the order given) that has the profile.
  static std::optional<ThunderbirdProfile> Find(const std::vector<std::filesystem::path> &roots,
                                                std::string_view name);
};

} // namespace contacts
