#pragma once
// Personal vCards as an address-book source. Each location is a .vcf file
// (one container named by the file, holding all its cards) or a folder: its
// own .vcf files form one container (a vdir, named by its "displayname"
// file or else by the folder), and so does each subfolder that holds .vcf
// files (the layout of synchronised collections). Nothing is written.

#include "contacts/AddressBookSource.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace contacts {

class VCardSource : public AddressBookSource {
public:
  explicit VCardSource(std::vector<std::filesystem::path> locations)
      : locations_(std::move(locations)) {}

  // Where personal vCards are kept: `configured` (a file or a folder) when
  // it is not empty, else $XDG_DATA_HOME/contacts; then the address books of
  // khard's configuration. Each place once.
  static std::vector<std::filesystem::path> Locations(std::string_view configured);

  // OpenFailed when none of the locations exists.
  ReadOutcome Read(AddressBookNode &root, std::stop_token stop) override;

private:
  std::vector<std::filesystem::path> locations_;
};

} // namespace contacts
