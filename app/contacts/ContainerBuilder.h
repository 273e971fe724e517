#pragma once
// Builds one container node of the address-book tree from the cards of one
// address book: an entry per mobile number of each card, and for each list
// a node holding its members that have mobile numbers. Items keep the order
// in which they were added; members are found by UID among the book's cards
// (a member that is itself a list is left out). Names arrive as UTF-8 and
// are kept as Windows-1252; a card without a name is named by its number.

#include "contacts/AddressBookTree.h"
#include "contacts/VCardCard.h"

#include <string>
#include <vector>

namespace contacts {

class ContainerBuilder {
public:
  explicit ContainerBuilder(std::string name) : name_(std::move(name)) {}

  // A card, or a list when `card.isList`.
  void Add(VCardCard card) { cards_.push_back(std::move(card)); }
  // A list kept apart from the cards (its members named by UID).
  void AddList(std::string name, std::vector<std::string> memberUids);

  AddressBookNode Build() const;

private:
  void AddEntries(AddressBookNode &to, const VCardCard &card) const;

  std::string name_;
  std::vector<VCardCard> cards_;
};

} // namespace contacts
