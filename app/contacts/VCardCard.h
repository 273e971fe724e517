#pragma once
// What the address-book tree needs of one contact card: its key, its name,
// its mobile numbers, and, for a list (group) card, its members.

#include <string>
#include <vector>

namespace contacts {

struct VCardCard {
  std::string uid;  // UID without "urn:uuid:"
  std::string name; // UTF-8: FN, else given and family name, else ORG, else e-mail
  // Dialable mobile numbers, preferred ones first, each once.
  std::vector<std::string> mobiles;
  // Dialable numbers of TEL properties without any type (and no label).
  std::vector<std::string> untypedNumbers;
  int telephoneCount = 0;

  bool isList = false;
  std::vector<std::string> memberUids;    // members named by UID
  std::vector<std::string> memberNumbers; // members given as tel: URIs (dialable)
};

} // namespace contacts
