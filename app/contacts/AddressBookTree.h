#pragma once
// The external address book read into memory: the root node "root" (depth
// 0), the containers below it (address books, depth 1), and below them the
// entries and the lists holding their members. Only entries that have a
// mobile number are kept; an entry with several mobile numbers appears once
// per number. Names are Windows-1252, numbers are dialable text ("+" and
// digits).

#include <cstddef>
#include <string>
#include <vector>

namespace contacts {

struct AddressBookNode {
  enum class Kind { Root, Container, List, Entry };

  Kind kind = Kind::Container;
  std::string name;
  std::string mobile; // entries only
  int depth = 0;
  std::vector<AddressBookNode> children; // in the order the source gave them

  static AddressBookNode Container(std::string name);
  static AddressBookNode List(std::string name);
  static AddressBookNode Entry(std::string name, std::string mobile);

  // Appends `child` (depths below it follow this node's) and returns it.
  // The reference stays valid until the next child is added here.
  AddressBookNode &Add(AddressBookNode child);

  bool IsEntry() const { return kind == Kind::Entry; }
  // Entries in this subtree (list members count once per list).
  std::size_t EntryCount() const;
};

class AddressBookTree {
public:
  AddressBookTree() { Reset(); }

  // An empty tree with a new root node "root"; not read.
  void Reset();

  AddressBookNode &Root() { return root_; }
  const AddressBookNode &Root() const { return root_; }

  // Whether a read filled the tree.
  bool IsRead() const { return read_; }
  void MarkRead() { read_ = true; }

private:
  AddressBookNode root_;
  bool read_ = false;
};

} // namespace contacts
