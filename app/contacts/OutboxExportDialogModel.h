#pragma once
// The logic of the "EXPORT OUTBOX" dialog: the check before it opens, its
// file field, the choice between the selected and all outbox items, the OK
// button's enabling, and what OK does and shows.

#include "contacts/OutboxCsvExporter.h"
#include "contacts/UserDialogs.h"

#include <string>
#include <vector>

namespace shell {
class NameTables;
class StringTable;
} // namespace shell

namespace store {
class SmsStore;
}

namespace contacts {

class OutboxExportDialogModel {
public:
  OutboxExportDialogModel(store::SmsStore &store, const shell::NameTables &names,
                          const shell::StringTable &strings, std::string prefix,
                          UserDialogs &dialogs, std::vector<int> selectedIds);

  // Before the dialog opens: false, after "There is nothing to export",
  // when the store holds no message.
  bool CanOpen();

  // The file field. A path longer than kMaxPathLength is refused (false).
  bool SetFilePath(const std::string &path);
  const std::string &FilePath() const { return path_; }
  // "Browse >>": a save chooser offering "Outbox.csv".
  void Browse();

  // true: "Export all Outbox items"; false: "Export selected Outbox items".
  // Starts with the selected items when there are any, else with all.
  void SetExportAll(bool all) { exportAll_ = all; }
  bool ExportAll() const { return exportAll_; }

  bool OkEnabled() const { return !path_.empty(); }
  // Exports and tells the user how it went.
  ExportResult Ok();

private:
  std::string Text(int id) const;

  store::SmsStore &store_;
  const shell::NameTables &names_;
  const shell::StringTable &strings_;
  std::string prefix_;
  UserDialogs &dialogs_;
  std::vector<int> selectedIds_;
  std::string path_;
  bool exportAll_;
};

} // namespace contacts
