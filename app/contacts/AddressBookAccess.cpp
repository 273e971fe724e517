#include "contacts/AddressBookAccess.h"

#include "contacts/EdsSource.h"
#include "contacts/FileText.h"

#include <strings.h>

namespace contacts {

AddressBookAccess AddressBookAccess::Decide() {
  return Decide(MailClientDiscovery(DesktopFolders::FromEnvironment(), HomeFolder(),
                                    EdsSource::RegistryAvailable()));
}

AddressBookAccess AddressBookAccess::Decide(const MailClientDiscovery &discovery) {
  return AddressBookAccess(discovery.ReadableClients(), discovery.DefaultMailtoHandler());
}

std::optional<MailClient> AddressBookAccess::ChosenClient(const MailClientRegistry &registry) const {
  if (clients_.empty()) return std::nullopt;
  if (auto name = registry.RegisteredClient()) {
    for (const MailClient &client : clients_)
      if (strcasecmp(client.name.c_str(), name->c_str()) == 0) return client;
  }
  for (const MailClient &client : clients_)
    if (!defaultHandler_.empty() && client.desktopId == defaultHandler_) return client;
  return clients_.front();
}

} // namespace contacts
