#include "contacts/KhardConfig.h"

#include "contacts/FileText.h"
#include "contacts/IniText.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace contacts {

namespace {
std::string Unquoted(std::string value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  std::size_t comment = value.find(" #");
  if (comment != std::string::npos) value.erase(comment);
  while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
    value.pop_back();
  return value;
}

bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}
} // namespace

std::filesystem::path KhardConfig::DefaultFile() {
  return EnvPath("XDG_CONFIG_HOME", HomeFolder() / ".config") / "khard" / "khard.conf";
}

std::filesystem::path KhardConfig::ExpandPath(std::string_view written) {
  std::string out;
  if (!written.empty() && written.front() == '~' &&
      (written.size() == 1 || written[1] == '/')) {
    out = HomeFolder().string();
    written.remove_prefix(1);
  }
  for (std::size_t i = 0; i < written.size(); ++i) {
    if (written[i] != '$') {
      out.push_back(written[i]);
      continue;
    }
    bool braced = i + 1 < written.size() && written[i + 1] == '{';
    std::size_t start = i + (braced ? 2 : 1);
    std::size_t end = start;
    while (end < written.size() && IsNameChar(written[end]))
      ++end;
    if (end == start || (braced && (end >= written.size() || written[end] != '}'))) {
      out.push_back('$');
      continue;
    }
    std::string name(written.substr(start, end - start));
    const char *value = std::getenv(name.c_str());
    if (value) out.append(value);
    else out.append(written.substr(i, end + (braced ? 1 : 0) - i));
    i = end + (braced ? 1 : 0) - 1;
  }
  return out;
}

std::vector<std::filesystem::path> KhardConfig::AddressBookPaths(std::string_view configText) {
  std::vector<std::filesystem::path> paths;
  bool inBooks = false;
  for (const IniSection &section : IniText::Parse(configText)) {
    if (section.depth == 1) inBooks = section.name == "addressbooks";
    if (!inBooks || section.depth != 2) continue;
    std::string path = Unquoted(section.Value("path"));
    if (!path.empty()) paths.push_back(ExpandPath(path));
  }
  return paths;
}

} // namespace contacts
