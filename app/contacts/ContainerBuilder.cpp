#include "contacts/ContainerBuilder.h"

#include <codepage/Codepage.h>

#include <unordered_map>

namespace contacts {

void ContainerBuilder::AddList(std::string name, std::vector<std::string> memberUids) {
  VCardCard list;
  list.name = std::move(name);
  list.isList = true;
  list.memberUids = std::move(memberUids);
  cards_.push_back(std::move(list));
}

void ContainerBuilder::AddEntries(AddressBookNode &to, const VCardCard &card) const {
  for (const std::string &number : card.mobiles)
    to.Add(AddressBookNode::Entry(card.name.empty() ? number : codepage::Utf8ToAnsi(card.name),
                                  number));
}

AddressBookNode ContainerBuilder::Build() const {
  std::unordered_map<std::string, const VCardCard *> byUid;
  for (const VCardCard &card : cards_)
    if (!card.isList && !card.uid.empty()) byUid.emplace(card.uid, &card);

  AddressBookNode container = AddressBookNode::Container(codepage::Utf8ToAnsi(name_));
  for (const VCardCard &card : cards_) {
    if (!card.isList) {
      AddEntries(container, card);
      continue;
    }
    AddressBookNode list = AddressBookNode::List(codepage::Utf8ToAnsi(card.name));
    for (const std::string &uid : card.memberUids) {
      auto member = byUid.find(uid);
      if (member != byUid.end()) AddEntries(list, *member->second);
    }
    for (const std::string &number : card.memberNumbers)
      list.Add(AddressBookNode::Entry(number, number));
    container.Add(std::move(list));
  }
  return container;
}

} // namespace contacts
