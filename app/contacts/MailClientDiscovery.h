#pragma once
// The installed mail clients whose address books the program can read,
// found from the desktop's application entries: every entry whose MimeType
// holds "x-scheme-handler/mailto" and that is Evolution or Thunderbird (a
// native, snap or flatpak installation). Evolution is readable when the data
// server's registry is; a Thunderbird when its profile folder holds a
// profiles.ini. A readable address book without such an entry (GNOME's
// contacts kept by the data server, a Thunderbird unpacked by hand) is
// offered under a name of its own.
//
// The desktop's default mailto handler comes from mimeapps.list, looked up
// in the XDG order.

#include <filesystem>
#include <string>
#include <vector>

namespace contacts {

enum class MailClientKind { Evolution, Thunderbird };

struct MailClient {
  std::string name;      // Windows-1252, usable as a registry key name
  std::string desktopId; // "thunderbird.desktop"; empty for one found without an entry
  MailClientKind kind = MailClientKind::Evolution;
  std::filesystem::path profileRoot; // Thunderbird: the folder of its profiles.ini
};

// Where application entries and mimeapps.list files are looked up.
struct DesktopFolders {
  // Application folders, the one that wins first.
  std::vector<std::filesystem::path> applications;
  // mimeapps.list files in lookup order.
  std::vector<std::filesystem::path> mimeappsLists;

  // From XDG_DATA_HOME, XDG_DATA_DIRS, XDG_CONFIG_HOME, XDG_CONFIG_DIRS and
  // XDG_CURRENT_DESKTOP (with their defaults), plus the flatpak exports
  // below XDG_DATA_HOME and the system's `exportFolders` (flatpak's and
  // snap's).
  static DesktopFolders FromEnvironment(const std::vector<std::filesystem::path> &exportFolders =
                                            {"/var/lib/flatpak/exports/share/applications",
                                             "/var/lib/snapd/desktop/applications"});
};

class MailClientDiscovery {
public:
  static constexpr const char *kMailtoType = "x-scheme-handler/mailto";
  static constexpr const char *kDataServerName = "Evolution Data Server";
  static constexpr std::size_t kMaxNameBytes = 255;

  MailClientDiscovery(DesktopFolders folders, std::filesystem::path home, bool dataServerReadable)
      : folders_(std::move(folders)), home_(std::move(home)),
        dataServerReadable_(dataServerReadable) {}

  // The readable clients, each name once.
  std::vector<MailClient> ReadableClients() const;

  // The desktop ID of the default mailto handler: the first installed entry
  // that the first mimeapps.list naming one gives; empty when none.
  std::string DefaultMailtoHandler() const;

private:
  struct Entry {
    std::string id;
    std::filesystem::path file;
    std::string name, exec;
    bool mailto = false;
  };
  std::vector<Entry> InstalledEntries() const;

  DesktopFolders folders_;
  std::filesystem::path home_;
  bool dataServerReadable_;
};

} // namespace contacts
