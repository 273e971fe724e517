#pragma once
// The mail-client registration in the program's registry, keeping the shape
// Windows gives it (all under the local-machine hive):
//   SOFTWARE\Clients\Mail\<client>   one key per installed mail client; the
//                                    program writes the readable ones there
//                                    with the values "Reader" ("evolution"
//                                    or "thunderbird"), "DesktopEntry" and
//                                    "ProfileFolder";
//   SOFTWARE\Microsoft\Windows Messaging Subsystem\MSMapiApps
//                                    the value "dovetext" names the client
//                                    whose address book the program reads;
//   Software\Microsoft\WAB\DLLPath   its default value names the personal
//                                    vCards (a .vcf file or a folder).

#include "contacts/MailClientDiscovery.h"

#include <registry/Registry.h>

#include <optional>
#include <string>
#include <vector>

namespace contacts {

class MailClientRegistry {
public:
  static constexpr const char *kClientsKey = "SOFTWARE\\Clients\\Mail";
  static constexpr const char *kMapiAppsKey =
      "SOFTWARE\\Microsoft\\Windows Messaging Subsystem\\MSMapiApps";
  static constexpr const char *kProgramValue = "dovetext";
  static constexpr const char *kVCardPathKey = "Software\\Microsoft\\WAB\\DLLPath";
  static constexpr const char *kReaderValue = "Reader";
  static constexpr const char *kDesktopEntryValue = "DesktopEntry";
  static constexpr const char *kProfileFolderValue = "ProfileFolder";
  // The path value is read into a buffer of 260 bytes.
  static constexpr std::size_t kMaxVCardPath = 259;

  explicit MailClientRegistry(registry::Registry registry = registry::Registry())
      : registry_(std::move(registry)) {}

  // Writes `clients` below the clients key and removes the keys it wrote
  // before for clients that are gone (keys without a "Reader" value stay).
  void Publish(const std::vector<MailClient> &clients);
  // The subkeys of the clients key, in the registry's order.
  std::vector<std::string> ClientNames() const;
  // A client key as a readable client; nothing when the key is missing or
  // names no reader.
  std::optional<MailClient> Client(const std::string &name) const;

  // The client the "dovetext" value (any case) names, when its key exists.
  std::optional<std::string> RegisteredClient() const;
  bool Register(const std::string &clientName);

  // The personal vCards' path; empty when unset or longer than the buffer.
  std::string VCardPath() const;

private:
  registry::Registry registry_;
};

} // namespace contacts
