#include "KeyPath.h"

#include <registry/Registry.h>

#include "NameCodec.h"

namespace registry {

bool KeyPath::Split(std::string_view key, std::vector<std::string> &names) {
  names.clear();
  if (key.empty()) return true;
  size_t start = 0;
  while (true) {
    size_t end = key.find('\\', start);
    std::string_view name =
        key.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (name.empty() || name.size() > kMaxNameBytes) {
      names.clear();
      return false;
    }
    names.emplace_back(name);
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

bool ParseKeyPath(std::string_view full, Hive &hive, std::string &key) {
  size_t sep = full.find('\\');
  std::string_view head = full.substr(0, sep);
  std::string_view rest = sep == std::string_view::npos ? std::string_view() : full.substr(sep + 1);
  static constexpr struct {
    std::string_view shortName, longName;
    Hive hive;
  } kHives[] = {{"HKLM", "HKEY_LOCAL_MACHINE", Hive::LocalMachine},
                {"HKCR", "HKEY_CLASSES_ROOT", Hive::ClassesRoot},
                {"HKCU", "HKEY_CURRENT_USER", Hive::CurrentUser}};
  for (const auto &h : kHives) {
    if (NameCodec::EqualNoCase(head, h.shortName) || NameCodec::EqualNoCase(head, h.longName)) {
      while (!rest.empty() && rest.back() == '\\')
        rest.remove_suffix(1);
      hive = h.hive;
      key.assign(rest);
      return true;
    }
  }
  return false;
}

std::string_view HiveName(Hive hive) {
  switch (hive) {
  case Hive::LocalMachine:
    return "HKLM";
  case Hive::ClassesRoot:
    return "HKCR";
  case Hive::CurrentUser:
    return "HKCU";
  }
  return "HKLM";
}

} // namespace registry
