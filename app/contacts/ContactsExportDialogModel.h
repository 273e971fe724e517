#pragma once
// The logic of the "EXPORT CONTACTS" dialog: the check before it opens, the
// file field, "Export Selection" or "Export the following groups" with the
// check list of the groups, the group-association check box, and what OK
// does and shows.

#include "contacts/OutboxCsvExporter.h"
#include "contacts/UserDialogs.h"
#include "store/SmsStore.h"

#include <string>
#include <vector>

namespace shell {
class StringTable;
}

namespace contacts {

class ContactsExportDialogModel {
public:
  // selectedCids: the contacts selected on the Addresses page.
  ContactsExportDialogModel(store::SmsStore &store, const shell::StringTable &strings,
                            UserDialogs &dialogs, std::vector<int> selectedCids);

  // Before the dialog opens: false, after "There is nothing to export", when
  // the Addresses page's group list holds fewer than two groups.
  bool CanOpen(int groupListCount);

  bool SetFilePath(const std::string &path);
  const std::string &FilePath() const { return path_; }
  void Browse();

  // false: "Export Selection" (the start); true: "Export the following groups".
  void SetExportGroups(bool groups) { exportGroups_ = groups; }
  bool ExportGroups() const { return exportGroups_; }
  void SetWithAssociation(bool on) { withAssociation_ = on; }
  bool WithAssociation() const { return withAssociation_; }

  // The check list: every group in store order.
  const std::vector<store::GroupRow> &Groups() const { return groups_; }
  void SetGroupChecked(std::size_t index, bool checked);
  bool GroupChecked(std::size_t index) const;

  bool OkEnabled() const { return !path_.empty(); }
  ExportResult Ok();

private:
  store::SmsStore &store_;
  const shell::StringTable &strings_;
  UserDialogs &dialogs_;
  std::vector<int> selectedCids_;
  std::vector<store::GroupRow> groups_;
  std::vector<bool> checked_;
  std::string path_;
  bool exportGroups_ = false;
  bool withAssociation_ = false;
};

} // namespace contacts
