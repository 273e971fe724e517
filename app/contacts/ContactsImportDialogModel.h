#pragma once
// The logic of the "UPLOAD CSV FILE" dialog: the file field, the separator
// list, the duplicate and automatic-group check boxes, the check list of the
// groups (every group but the first, "All Contacts"), the OK button's
// enabling, and what OK does and shows.

#include "contacts/ContactCsvImporter.h"
#include "contacts/UserDialogs.h"
#include "store/SmsStore.h"

#include <string>
#include <vector>

namespace shell {
class StringTable;
}

namespace contacts {

class ContactsImportDialogModel {
public:
  // selectedGid: the group selected on the Addresses page (checked at the
  // start when it is in the list).
  ContactsImportDialogModel(store::SmsStore &store, const shell::StringTable &strings,
                            UserDialogs &dialogs, int selectedGid);

  bool SetFilePath(const std::string &path);
  const std::string &FilePath() const { return path_; }
  // "Browse >>": an open chooser for an existing file (string 1444).
  void Browse();

  // The separator list: "Comma", "Semicolon", "Tab"; the first at the start.
  static std::size_t SeparatorCount() { return std::size(kImportSeparators); }
  std::string SeparatorText(std::size_t index) const;
  void SelectSeparator(std::size_t index);
  std::size_t SelectedSeparator() const { return separator_; }

  void SetPreventDuplicates(bool on) { preventDuplicates_ = on; }
  void SetAutoCreateGroups(bool on) { autoCreateGroups_ = on; }

  const std::vector<store::GroupRow> &Groups() const { return groups_; }
  void SetGroupChecked(std::size_t index, bool checked);
  bool GroupChecked(std::size_t index) const;

  bool OkEnabled() const;
  // Imports and shows the counts.
  ImportResult Ok();

private:
  store::SmsStore &store_;
  const shell::StringTable &strings_;
  UserDialogs &dialogs_;
  std::vector<store::GroupRow> groups_;
  std::vector<bool> checked_;
  std::string path_;
  std::size_t separator_ = 0;
  bool preventDuplicates_ = false;
  bool autoCreateGroups_ = false;
};

} // namespace contacts
