#pragma once
// Which address books the program can read, decided once at start-up: the
// mail clients that are installed and readable (mail access is available
// when there is at least one), and the desktop's default mailto handler.
// The personal vCards need no mail client and are always tried.

#include "contacts/MailClientDiscovery.h"
#include "contacts/MailClientRegistry.h"

#include <optional>
#include <string>
#include <vector>

namespace contacts {

class AddressBookAccess {
public:
  AddressBookAccess() = default; // no mail access
  AddressBookAccess(std::vector<MailClient> clients, std::string defaultHandler)
      : clients_(std::move(clients)), defaultHandler_(std::move(defaultHandler)) {}

  // Looks at the desktop: its application entries, mimeapps.list, the
  // profile folders, and whether the session bus offers the data server.
  static AddressBookAccess Decide();
  static AddressBookAccess Decide(const MailClientDiscovery &discovery);

  bool MailAvailable() const { return !clients_.empty(); }
  const std::vector<MailClient> &Clients() const { return clients_; }
  const std::string &DefaultHandler() const { return defaultHandler_; }

  // The client whose books the mail-client route reads: the registered
  // one, else the default handler, else the first readable client.
  std::optional<MailClient> ChosenClient(const MailClientRegistry &registry) const;

private:
  std::vector<MailClient> clients_;
  std::string defaultHandler_;
};

} // namespace contacts
