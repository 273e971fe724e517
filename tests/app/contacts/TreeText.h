#pragma once
// The address-book tree as text for comparisons: one line per node, two
// blanks of indent per depth, "name" for containers, "[name]" for lists,
// "name = number" for entries; names shown as UTF-8.

#include "contacts/AddressBookTree.h"

#include <codepage/Codepage.h>

#include <string>

inline void AppendTreeText(const contacts::AddressBookNode &node, std::string &out) {
  out.append(static_cast<std::size_t>(node.depth) * 2, ' ');
  std::string name = codepage::AnsiToUtf8(node.name);
  if (node.kind == contacts::AddressBookNode::Kind::List)
    out += "[" + name + "]";
  else if (node.IsEntry())
    out += name + " = " + node.mobile;
  else
    out += name;
  out += "\n";
  for (const auto &child : node.children)
    AppendTreeText(child, out);
}

inline std::string TreeText(const contacts::AddressBookNode &node) {
  std::string out;
  AppendTreeText(node, out);
  return out;
}

// The path of a sample address book below the test's address-books folder.
inline std::string AddressBookSample(const std::string &relative) {
  return std::string(DV_ADDRESS_BOOK_SAMPLES) + "/" + relative;
}
