#pragma once
// Thunderbird's address books as an address-book source: the books of the
// chosen profile (see ThunderbirdProfiles and ThunderbirdPrefs), each one
// container, read from their SQLite files through ForeignDatabase. A card
// keeps its whole vCard in the "_vCard" property; cards from before that
// have a "CellularNumber" property instead, and a card converted from one
// may carry its only number as a TEL without any type, which then counts as
// its mobile number. Mailing lists ("lists", "list_cards") follow the cards.

#include "contacts/AddressBookSource.h"

#include <filesystem>
#include <string>
#include <vector>

namespace contacts {

class ThunderbirdSource : public AddressBookSource {
public:
  // `roots`: the folders holding profiles.ini, the preferred one first.
  ThunderbirdSource(std::vector<std::filesystem::path> roots, std::string profileName)
      : roots_(std::move(roots)), profileName_(std::move(profileName)) {}

  // OpenFailed when there is no such profile.
  ReadOutcome Read(AddressBookNode &root, std::stop_token stop) override;

  // One book file as a container named `name` (UTF-8); the container stays
  // empty, and `ok` false, when the file could not be read.
  static AddressBookNode ReadBook(const std::filesystem::path &file, const std::string &name,
                                  bool *ok = nullptr);

private:
  std::vector<std::filesystem::path> roots_;
  std::string profileName_;
};

} // namespace contacts
