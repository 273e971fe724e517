#include "contacts/AddressBookTree.h"

namespace contacts {

namespace {
void SetDepth(AddressBookNode &node, int depth) {
  node.depth = depth;
  for (AddressBookNode &child : node.children)
    SetDepth(child, depth + 1);
}
} // namespace

AddressBookNode AddressBookNode::Container(std::string name) {
  AddressBookNode node;
  node.kind = Kind::Container;
  node.name = std::move(name);
  return node;
}

AddressBookNode AddressBookNode::List(std::string name) {
  AddressBookNode node;
  node.kind = Kind::List;
  node.name = std::move(name);
  return node;
}

AddressBookNode AddressBookNode::Entry(std::string name, std::string mobile) {
  AddressBookNode node;
  node.kind = Kind::Entry;
  node.name = std::move(name);
  node.mobile = std::move(mobile);
  return node;
}

AddressBookNode &AddressBookNode::Add(AddressBookNode child) {
  SetDepth(child, depth + 1);
  children.push_back(std::move(child));
  return children.back();
}

std::size_t AddressBookNode::EntryCount() const {
  std::size_t n = IsEntry() ? 1 : 0;
  for (const AddressBookNode &child : children)
    n += child.EntryCount();
  return n;
}

void AddressBookTree::Reset() {
  root_ = AddressBookNode{};
  root_.kind = AddressBookNode::Kind::Root;
  root_.name = "root";
  read_ = false;
}

} // namespace contacts
