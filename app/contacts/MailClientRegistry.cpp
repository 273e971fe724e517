#include "contacts/MailClientRegistry.h"

#include <strings.h>

namespace contacts {

using registry::Hive;

namespace {
constexpr const char *kEvolution = "evolution";
constexpr const char *kThunderbird = "thunderbird";

bool SameName(const std::string &a, const std::string &b) {
  return a.size() == b.size() && strcasecmp(a.c_str(), b.c_str()) == 0;
}
} // namespace

void MailClientRegistry::Publish(const std::vector<MailClient> &clients) {
  for (const std::string &name : ClientNames()) {
    std::string key = std::string(kClientsKey) + "\\" + name;
    if (!registry_.GetValue(Hive::LocalMachine, key, kReaderValue)) continue;
    bool kept = false;
    for (const MailClient &client : clients)
      kept = kept || SameName(client.name, name);
    if (!kept) registry_.DeleteKeyTree(Hive::LocalMachine, key);
  }
  for (const MailClient &client : clients) {
    std::string key = std::string(kClientsKey) + "\\" + client.name;
    registry_.SetValue(Hive::LocalMachine, key, kReaderValue,
                       client.kind == MailClientKind::Thunderbird ? kThunderbird : kEvolution);
    registry_.SetValue(Hive::LocalMachine, key, kDesktopEntryValue, client.desktopId);
    registry_.SetValue(Hive::LocalMachine, key, kProfileFolderValue, client.profileRoot.string());
  }
}

std::vector<std::string> MailClientRegistry::ClientNames() const {
  return registry_.ListSubkeys(Hive::LocalMachine, kClientsKey);
}

std::optional<MailClient> MailClientRegistry::Client(const std::string &name) const {
  std::string key = std::string(kClientsKey) + "\\" + name;
  auto reader = registry_.GetValue(Hive::LocalMachine, key, kReaderValue);
  if (!reader || (*reader != kEvolution && *reader != kThunderbird)) return std::nullopt;
  MailClient client;
  client.name = name;
  client.kind = *reader == kThunderbird ? MailClientKind::Thunderbird : MailClientKind::Evolution;
  client.desktopId = registry_.GetValue(Hive::LocalMachine, key, kDesktopEntryValue).value_or("");
  client.profileRoot =
      registry_.GetValue(Hive::LocalMachine, key, kProfileFolderValue).value_or("");
  return client;
}

std::optional<std::string> MailClientRegistry::RegisteredClient() const {
  for (const auto &[name, data] : registry_.ListValues(Hive::LocalMachine, kMapiAppsKey)) {
    if (!SameName(name, kProgramValue)) continue;
    if (!data.empty() && data.find('\\') == std::string::npos &&
        registry_.KeyExists(Hive::LocalMachine, std::string(kClientsKey) + "\\" + data))
      return data;
  }
  return std::nullopt;
}

bool MailClientRegistry::Register(const std::string &clientName) {
  return registry_.SetValue(Hive::LocalMachine, kMapiAppsKey, kProgramValue, clientName);
}

std::string MailClientRegistry::VCardPath() const {
  std::string path = registry_.GetValue(Hive::LocalMachine, kVCardPathKey, "").value_or("");
  path = path.substr(0, path.find('\0'));
  return path.size() > kMaxVCardPath ? std::string() : path;
}

} // namespace contacts
