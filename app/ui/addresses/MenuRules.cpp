#include "MenuRules.h"

#include "AddressesIds.h"

namespace addresses {

namespace ids = ui::ids;

std::span<const MenuItem> GroupMenuItems() {
  static constexpr MenuItem kItems[] = {{ids::kMenuNewGroup, "New Group"},
                                        {ids::kMenuDeleteGroup, "Delete Group"},
                                        {ids::kMenuRenameGroup, "Rename Group"},
                                        {0, nullptr},
                                        {ids::kMenuUploadContacts, "Upload contacts"},
                                        {0, nullptr},
                                        {ids::kMenuSelectAllGroups, "Select all"},
                                        {0, nullptr},
                                        {ids::kMenuNewMessageToGroup, "New message to group"}};
  return kItems;
}

std::span<const MenuItem> ContactMenuItems() {
  static constexpr MenuItem kItems[] = {{ids::kMenuNewContact, "New Contact"},
                                        {ids::kMenuEditContact, "Edit Contact"},
                                        {ids::kMenuDeleteContacts, "Delete Contact(s)"},
                                        {0, nullptr},
                                        {ids::kMenuCopy, "Copy"},
                                        {ids::kMenuCut, "Cut"},
                                        {ids::kMenuPaste, "Paste"},
                                        {0, nullptr},
                                        {ids::kMenuUploadCsv, "Upload CSV"},
                                        {ids::kMenuSelectAllContacts, "Select All"},
                                        {0, nullptr},
                                        {ids::kMenuNewMessage, "New Message"}};
  return kItems;
}

bool GroupItemEnabled(int id, int rowUnderCursor, int selectedGroups) {
  switch (id) {
  case ids::kMenuNewGroup:
    return true;
  case ids::kMenuDeleteGroup:
  case ids::kMenuRenameGroup:
    return rowUnderCursor > 0 && selectedGroups < 2;
  case ids::kMenuUploadContacts:
    return rowUnderCursor > 0;
  case ids::kMenuSelectAllGroups:
  case ids::kMenuNewMessageToGroup:
    return rowUnderCursor >= 0;
  default:
    return false;
  }
}

bool ContactItemEnabled(int id, int rowUnderCursor, bool clipboardEmpty) {
  switch (id) {
  case ids::kMenuNewContact:
  case ids::kMenuUploadCsv:
    return true;
  case ids::kMenuPaste:
    return rowUnderCursor >= 0 && !clipboardEmpty;
  case ids::kMenuEditContact:
  case ids::kMenuDeleteContacts:
  case ids::kMenuCopy:
  case ids::kMenuCut:
  case ids::kMenuSelectAllContacts:
  case ids::kMenuNewMessage:
    return rowUnderCursor >= 0;
  default:
    return false;
  }
}

} // namespace addresses
