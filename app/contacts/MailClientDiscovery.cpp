#include "contacts/MailClientDiscovery.h"

#include "contacts/AsciiText.h"
#include "contacts/FileText.h"
#include "contacts/IniText.h"
#include "contacts/ThunderbirdProfiles.h"

#include <codepage/Codepage.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <set>

namespace contacts {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxEntryDepth = 3;

std::vector<std::string> SplitList(const std::string &text, char separator) {
  std::vector<std::string> items;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = std::min(text.find(separator, start), text.size());
    if (end > start) items.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return items;
}

std::vector<fs::path> PathList(const char *variable, const std::string &fallback) {
  const char *value = std::getenv(variable);
  std::vector<fs::path> paths;
  for (const std::string &item : SplitList(value && *value ? value : fallback, ':'))
    paths.emplace_back(item);
  return paths;
}

// Desktop file IDs below an application folder: the relative path with "/"
// turned into "-".
void CollectEntries(const fs::path &folder, const fs::path &dir, int depth,
                    std::map<std::string, fs::path> &found) {
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (it->is_directory(typeError)) {
      if (depth < kMaxEntryDepth) CollectEntries(folder, it->path(), depth + 1, found);
    } else if (it->path().extension() == ".desktop") {
      std::string id = it->path().lexically_relative(folder).string();
      std::replace(id.begin(), id.end(), '/', '-');
      found.emplace(id, it->path());
    }
  }
}

std::string KeyName(const std::string &utf8) {
  std::string name = codepage::Utf8ToAnsi(utf8);
  std::replace(name.begin(), name.end(), '\\', '/');
  if (name.size() > MailClientDiscovery::kMaxNameBytes)
    name.resize(MailClientDiscovery::kMaxNameBytes);
  return name;
}

// The profile folder of a Thunderbird installation: a flatpak keeps it below
// ~/.var/app/<application ID>, a snap below ~/snap/<snap name>/common.
fs::path ThunderbirdRootFor(const fs::path &home, const std::string &id, const std::string &exec,
                            const fs::path &file) {
  std::string app = id.substr(0, id.size() - std::string(".desktop").size());
  std::string where = file.string();
  if (exec.find("flatpak run") != std::string::npos ||
      where.find("/flatpak/exports/") != std::string::npos)
    return home / ".var" / "app" / app / ".thunderbird";
  if (exec.find("/snap/") != std::string::npos || where.find("/snapd/") != std::string::npos)
    return home / "snap" / app.substr(0, app.find('_')) / "common" / ".thunderbird";
  return home / ".thunderbird";
}

bool HasProfiles(const fs::path &root) {
  std::error_code ec;
  return fs::is_regular_file(root / "profiles.ini", ec);
}

} // namespace

DesktopFolders DesktopFolders::FromEnvironment(const std::vector<fs::path> &exportFolders) {
  DesktopFolders folders;
  fs::path home = HomeFolder();
  fs::path dataHome = EnvPath("XDG_DATA_HOME", home / ".local" / "share");
  fs::path configHome = EnvPath("XDG_CONFIG_HOME", home / ".config");
  std::vector<fs::path> dataDirs = PathList("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
  std::vector<fs::path> configDirs = PathList("XDG_CONFIG_DIRS", "/etc/xdg");

  folders.applications.push_back(dataHome / "applications");
  for (const fs::path &dir : dataDirs)
    folders.applications.push_back(dir / "applications");
  std::vector<fs::path> exports{dataHome / "flatpak" / "exports" / "share" / "applications"};
  exports.insert(exports.end(), exportFolders.begin(), exportFolders.end());
  for (const fs::path &dir : exports)
    if (std::find(folders.applications.begin(), folders.applications.end(), dir) ==
        folders.applications.end())
      folders.applications.push_back(dir);

  std::vector<std::string> desktops;
  const char *current = std::getenv("XDG_CURRENT_DESKTOP");
  for (const std::string &name : SplitList(current ? current : "", ':'))
    desktops.push_back(LowerAscii(name));
  auto addLists = [&](const fs::path &dir) {
    for (const std::string &desktop : desktops)
      folders.mimeappsLists.push_back(dir / (desktop + "-mimeapps.list"));
    folders.mimeappsLists.push_back(dir / "mimeapps.list");
  };
  addLists(configHome);
  for (const fs::path &dir : configDirs)
    addLists(dir);
  addLists(dataHome / "applications");
  for (const fs::path &dir : dataDirs)
    addLists(dir / "applications");
  return folders;
}

std::vector<MailClientDiscovery::Entry> MailClientDiscovery::InstalledEntries() const {
  // The first folder that has an ID wins, also when its entry is hidden.
  std::map<std::string, fs::path> winners;
  for (const fs::path &folder : folders_.applications) {
    std::map<std::string, fs::path> found;
    CollectEntries(folder, folder, 0, found);
    for (auto &[id, file] : found)
      winners.emplace(id, file);
  }
  std::vector<Entry> entries;
  for (const auto &[id, file] : winners) {
    auto text = ReadFileText(file, kMaxSettingsFileBytes);
    if (!text) continue;
    for (const IniSection &section : IniText::Parse(*text)) {
      if (section.name != "Desktop Entry") continue;
      if (section.Value("Hidden") == "true") break;
      if (section.Has("Type") && section.Value("Type") != "Application") break;
      Entry entry{id, file, section.Value("Name"), section.Value("Exec"), false};
      for (const std::string &type : SplitList(section.Value("MimeType"), ';'))
        if (type == kMailtoType) entry.mailto = true;
      entries.push_back(std::move(entry));
      break;
    }
  }
  return entries;
}

std::vector<MailClient> MailClientDiscovery::ReadableClients() const {
  std::vector<MailClient> clients;
  bool haveDataServer = false;
  std::set<fs::path> roots;
  for (const Entry &entry : InstalledEntries()) {
    if (!entry.mailto) continue;
    std::string what = LowerAscii(entry.id + " " + entry.exec);
    MailClient client;
    client.name = KeyName(entry.name.empty() ? entry.id : entry.name);
    client.desktopId = entry.id;
    if (what.find("thunderbird") != std::string::npos ||
        what.find("betterbird") != std::string::npos) {
      client.kind = MailClientKind::Thunderbird;
      client.profileRoot = ThunderbirdRootFor(home_, entry.id, entry.exec, entry.file);
      if (!HasProfiles(client.profileRoot)) continue;
      roots.insert(client.profileRoot);
    } else if (what.find("evolution") != std::string::npos) {
      client.kind = MailClientKind::Evolution;
      if (!dataServerReadable_) continue;
      haveDataServer = true;
    } else {
      continue;
    }
    clients.push_back(std::move(client));
  }
  if (dataServerReadable_ && !haveDataServer)
    clients.push_back({kDataServerName, "", MailClientKind::Evolution, {}});
  for (const fs::path &root : ThunderbirdProfiles::ExistingRoots(home_)) {
    if (roots.count(root)) continue;
    clients.push_back({"Thunderbird", "", MailClientKind::Thunderbird, root});
  }

  // Each name once.
  std::map<std::string, int> seen;
  for (MailClient &client : clients)
    if (seen[LowerAscii(client.name)]++ > 0)
      client.name = KeyName(client.name + " (" +
                            (client.desktopId.empty() ? client.profileRoot.string()
                                                      : client.desktopId) +
                            ")");
  return clients;
}

std::string MailClientDiscovery::DefaultMailtoHandler() const {
  std::set<std::string> installed;
  for (const Entry &entry : InstalledEntries())
    installed.insert(entry.id);
  for (const fs::path &list : folders_.mimeappsLists) {
    auto text = ReadFileText(list, kMaxSettingsFileBytes);
    if (!text) continue;
    for (const IniSection &section : IniText::Parse(*text)) {
      if (section.name != "Default Applications") continue;
      for (const std::string &id : SplitList(section.Value(kMailtoType), ';'))
        if (installed.count(id)) return id;
    }
  }
  return {};
}

} // namespace contacts
