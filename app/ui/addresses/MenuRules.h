#pragma once
// The two context menus of the Addresses page: their items in order (id 0
// is a separator) and which items are enabled for the row under the cursor.

#include <span>

namespace addresses {

struct MenuItem {
  int id; // 0: separator
  const char *text;
};

// "Groups": New Group, Delete Group, Rename Group | Upload contacts |
// Select all | New message to group.
std::span<const MenuItem> GroupMenuItems();
// "Contacts": New Contact, Edit Contact, Delete Contact(s) | Copy, Cut,
// Paste | Upload CSV, Select All | New Message.
std::span<const MenuItem> ContactMenuItems();

// rowUnderCursor: -1 when the click was on no row; row 0 is the first group
// ("All Contacts"). selectedGroups: rows selected in the group list.
bool GroupItemEnabled(int id, int rowUnderCursor, int selectedGroups);
bool ContactItemEnabled(int id, int rowUnderCursor, bool clipboardEmpty);

} // namespace addresses
