#include "contacts/ThunderbirdProfiles.h"

#include "contacts/FileText.h"
#include "contacts/IniText.h"

#include <algorithm>

namespace contacts {

namespace fs = std::filesystem;

namespace {

struct Listed {
  std::string name;
  std::string path;
  bool relative = true;
  bool markedDefault = false;
};

fs::path Resolve(const fs::path &root, const std::string &path, bool relative) {
  return relative ? root / path : fs::path(path);
}

} // namespace

std::vector<fs::path> ThunderbirdProfiles::Roots(const fs::path &home) {
  std::vector<fs::path> roots{home / ".thunderbird",
                              home / "snap" / "thunderbird" / "common" / ".thunderbird"};
  std::vector<fs::path> flatpaks;
  std::error_code ec;
  for (fs::directory_iterator it(home / ".var" / "app", ec), end; !ec && it != end;
       it.increment(ec))
    flatpaks.push_back(it->path() / ".thunderbird");
  std::sort(flatpaks.begin(), flatpaks.end());
  roots.insert(roots.end(), flatpaks.begin(), flatpaks.end());
  return roots;
}

std::vector<fs::path> ThunderbirdProfiles::ExistingRoots(const fs::path &home) {
  std::vector<fs::path> existing;
  for (fs::path &root : Roots(home)) {
    std::error_code ec;
    if (fs::is_regular_file(root / "profiles.ini", ec)) existing.push_back(std::move(root));
  }
  return existing;
}

std::optional<ThunderbirdProfile> ThunderbirdProfiles::Choose(std::string_view profilesIni,
                                                              const fs::path &root,
                                                              std::string_view name) {
  std::vector<Listed> profiles;
  std::string installDefault;
  for (const IniSection &section : IniText::Parse(profilesIni)) {
    if (section.name.rfind("Profile", 0) == 0 && section.Has("Path")) {
      profiles.push_back({section.Value("Name"), section.Value("Path"),
                          section.Value("IsRelative") != "0", section.Value("Default") == "1"});
    } else if (section.name.rfind("Install", 0) == 0 && installDefault.empty()) {
      installDefault = section.Value("Default");
    }
  }
  auto make = [&](const Listed &p) {
    return ThunderbirdProfile{p.name, Resolve(root, p.path, p.relative)};
  };

  if (!name.empty()) {
    for (const Listed &p : profiles)
      if (p.name == name) return make(p);
    return std::nullopt;
  }
  if (!installDefault.empty()) {
    for (const Listed &p : profiles)
      if (p.path == installDefault) return make(p);
    fs::path folder(installDefault);
    return ThunderbirdProfile{"", folder.is_absolute() ? folder : root / folder};
  }
  for (const Listed &p : profiles)
    if (p.markedDefault) return make(p);
  if (!profiles.empty()) return make(profiles.front());
  return std::nullopt;
}

std::optional<ThunderbirdProfile> ThunderbirdProfiles::Find(const std::vector<fs::path> &roots,
                                                            std::string_view name) {
  for (const fs::path &root : roots) {
    auto ini = ReadFileText(root / "profiles.ini", kMaxSettingsFileBytes);
    if (!ini) continue;
    if (auto profile = Choose(*ini, root, name)) return profile;
  }
  return std::nullopt;
}

} // namespace contacts
