#pragma once
// The logic of the group and contact dialogs: the fields' widths, the
// mobile number's characters, when OK is enabled, and what OK stores.
//
// The contact dialog's group check list holds every group but the first
// ("All Contacts"); for a new contact the current group is checked, for a
// contact being edited its own groups. OK needs a checked group and both a
// name and a mobile number holding a character other than leading blanks.

#include "AddressBook.h"

#include "contacts/CsvHeaderMap.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace store {
class SmsStore;
}

namespace addresses {

// Widths in characters (Windows-1252: one byte each) are those of the
// contact fields everywhere (contacts::ImportWidth).
inline constexpr std::size_t kGroupNameChars = contacts::kImportGroupWidth;
inline constexpr std::string_view kMobileDigits = "1234567890";

// Whether a field holds a character other than leading blanks.
bool HoldsText(std::string_view text);
// The mobile number field takes only digits as the user types or pastes:
// an edit from `before` to `after` is allowed when it adds no character
// other than kMobileDigits. A stored number with other characters (from a
// CSV file) is shown and kept as it is.
bool MobileEditAllowed(std::string_view before, std::string_view after);

class ContactForm {
public:
  // The five texts of a contact (not Group).
  using Field = contacts::ContactColumn;

  // groups: the group list's entries (the first is left out of the form).
  explicit ContactForm(const std::vector<GroupEntry> &groups);

  // The dialog's fields, cut to their widths.
  void Set(Field field, std::string_view text);
  const std::string &Get(Field field) const;
  static std::size_t Width(Field field) { return contacts::ImportWidth(field); }

  const std::vector<GroupEntry> &Groups() const { return groups_; }
  void SetChecked(std::size_t index, bool checked);
  bool Checked(std::size_t index) const;
  void CheckGroup(int gid);

  // Fills the fields and the checks from a stored contact (Edit Contact).
  bool Load(const store::SmsStore &store, int cid);

  bool OkEnabled() const;
  // OK: adds the contact with the checked groups (cid 0) or replaces the
  // stored one's texts and groups. The contact's CID, or 0 on failure.
  int Save(store::SmsStore &store, int cid) const;

private:
  std::vector<GroupEntry> groups_;
  std::vector<bool> checked_;
  std::string fields_[static_cast<int>(Field::Mobile) + 1];
};

} // namespace addresses
