#pragma once
// The address books a Thunderbird profile's prefs.js names: every
// "ldap_2.servers.<id>" with dirType 101 (local) or 102 (CardDAV, kept in a
// local copy) and a file name, plus the two built-in books that need no
// lines there, "Personal Address Book" (abook.sqlite) and "Collected
// Addresses" (history.sqlite). The personal book comes first, the collected
// addresses last, the others in the order prefs.js names them. A file name
// that is not a plain name inside the profile folder is ignored.

#include <string>
#include <string_view>
#include <vector>

namespace contacts {

struct ThunderbirdBook {
  std::string name; // UTF-8
  std::string fileName;
};

class ThunderbirdPrefs {
public:
  static std::vector<ThunderbirdBook> Books(std::string_view prefsJs);
};

} // namespace contacts
