#pragma once
// One place address books are read from: the mail client's books (Evolution
// Data Server, Thunderbird) or the personal vCards. A source adds its
// containers below the root node it is given. Reads run off the user
// interface's thread and end early, with Cancelled, when `stop` is asked.

#include "contacts/AddressBookTree.h"

#include <stop_token>

namespace contacts {

enum class ReadOutcome {
  Read,       // the containers were added (some may be empty)
  OpenFailed, // the address book could not be opened at all
  Cancelled,
  Failed, // an unexpected error ended the read
};

class AddressBookSource {
public:
  virtual ~AddressBookSource() = default;
  virtual ReadOutcome Read(AddressBookNode &root, std::stop_token stop) = 0;
};

} // namespace contacts
