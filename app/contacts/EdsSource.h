#pragma once
// Evolution Data Server's address books (Evolution's, and GNOME's contacts)
// as an address-book source: every enabled address book, each one
// container. A profile name keeps only the books of the account or
// collection of that display name (or the book of that name); no name keeps
// them all. Contact lists become list nodes.
//
// The GLib-based glue lives in EdsSource.cpp alone; this header carries none
// of it.

#include "contacts/AddressBookSource.h"

#include <string>

namespace contacts {

class EdsSource : public AddressBookSource {
public:
  explicit EdsSource(std::string profileName) : profileName_(std::move(profileName)) {}

  // OpenFailed when the source registry cannot be reached or no address
  // book matches the profile name.
  ReadOutcome Read(AddressBookNode &root, std::stop_token stop) override;

  // Whether the session bus runs, or can start, the data server's source
  // registry. Never starts a session bus of its own; waits at most
  // `timeoutMs` for the bus to answer.
  static bool RegistryAvailable(int timeoutMs = 1000);

  // The query that finds contacts with a mobile number and contact lists.
  static constexpr const char *kQuery = "(or (exists \"mobile_phone\") (exists \"list\"))";
  static constexpr const char *kRegistryBusName = "org.gnome.evolution.dataserver.Sources";

private:
  std::string profileName_;
};

} // namespace contacts
