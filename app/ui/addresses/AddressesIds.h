#pragma once
// Identifiers of the Addresses page's controls, its two context menus'
// commands and its dialogs' controls. Every control carries its id as its
// objectName.

namespace ui::ids {

// The page.
inline constexpr int kAddrGroupList = 1031;
inline constexpr int kAddrMemberList = 1032;
inline constexpr int kAddrSearchButton = 1033;
inline constexpr int kAddrSearchText = 1042;
inline constexpr int kAddrNewContactButton = 1049;
inline constexpr int kAddrUploadButton = 1050;
inline constexpr int kAddrExportButton = 1051;
inline constexpr int kAddrNewGroupButton = 1052;
inline constexpr int kAddrGroupLabel = 1053;

// The group list's context menu ("Groups").
inline constexpr int kMenuNewGroup = 32786;
inline constexpr int kMenuDeleteGroup = 32787;
inline constexpr int kMenuRenameGroup = 32788;
inline constexpr int kMenuUploadContacts = 32789;
inline constexpr int kMenuSelectAllGroups = 32790;
inline constexpr int kMenuNewMessageToGroup = 32791;

// The member list's context menu ("Contacts").
inline constexpr int kMenuNewContact = 32792;
inline constexpr int kMenuEditContact = 32793;
inline constexpr int kMenuDeleteContacts = 32794;
inline constexpr int kMenuCopy = 32795;
inline constexpr int kMenuCut = 32796;
inline constexpr int kMenuPaste = 32797;
inline constexpr int kMenuUploadCsv = 32798;
inline constexpr int kMenuSelectAllContacts = 32799;
inline constexpr int kMenuNewMessage = 32800;

// Dialog fields (group, contact, "Delete contact from ...", CSV dialogs).
inline constexpr int kGroupName = 2101;
inline constexpr int kContactName = 2102;
inline constexpr int kContactSurname = 2103;
inline constexpr int kContactTitle = 2104;
inline constexpr int kContactCustom = 2105;
inline constexpr int kContactMobile = 2106;
inline constexpr int kContactGroups = 2107;
inline constexpr int kDeleteAllGroups = 2108;
inline constexpr int kDeleteThisGroup = 2109;
inline constexpr int kCsvFile = 2110;
inline constexpr int kCsvBrowse = 2111;
inline constexpr int kCsvSeparator = 2112;
inline constexpr int kCsvNoDuplicates = 2113;
inline constexpr int kCsvAutoGroups = 2114;
inline constexpr int kCsvGroups = 2115;
inline constexpr int kCsvExportSelection = 2116;
inline constexpr int kCsvExportGroups = 2117;
inline constexpr int kCsvWithGroup = 2118;

} // namespace ui::ids
