#include "contacts/ContactsExportDialogModel.h"

#include "contacts/ContactCsvExporter.h"
#include "shell/InsertFormat.h"
#include "shell/StringTable.h"

namespace contacts {

ContactsExportDialogModel::ContactsExportDialogModel(store::SmsStore &store,
                                                     const shell::StringTable &strings,
                                                     UserDialogs &dialogs,
                                                     std::vector<int> selectedCids)
    : store_(store), strings_(strings), dialogs_(dialogs), selectedCids_(std::move(selectedCids)),
      groups_(store.Groups()), checked_(groups_.size(), false) {}

bool ContactsExportDialogModel::CanOpen(int groupListCount) {
  if (groupListCount < 2) {
    dialogs_.ShowMessage(strings_.Get(1175), strings_.Get(1174), MessageIcon::Information);
    return false;
  }
  return true;
}

bool ContactsExportDialogModel::SetFilePath(const std::string &path) {
  if (path.size() > kMaxPathLength) {
    return false;
  }
  path_ = path;
  return true;
}

void ContactsExportDialogModel::Browse() {
  FileChoice choice;
  choice.initialName = strings_.Get(1297);
  choice.defaultExtension = "csv";
  choice.filter = strings_.Get(1298);
  if (std::optional<std::string> chosen = dialogs_.ChooseSaveFile(choice)) {
    SetFilePath(*chosen);
  }
}

void ContactsExportDialogModel::SetGroupChecked(std::size_t index, bool checked) {
  if (index < checked_.size()) {
    checked_[index] = checked;
  }
}

bool ContactsExportDialogModel::GroupChecked(std::size_t index) const {
  return index < checked_.size() && checked_[index];
}

ExportResult ContactsExportDialogModel::Ok() {
  if (!OkEnabled()) {
    return ExportResult::NothingToWrite;
  }
  ContactCsvExporter exporter(store_);
  ExportResult result;
  if (!exportGroups_) {
    result = exporter.ExportSelection(path_, selectedCids_);
  } else {
    std::vector<int> gids;
    for (std::size_t i = 0; i < groups_.size(); ++i) {
      if (checked_[i]) {
        gids.push_back(groups_[i].GID);
      }
    }
    result = exporter.ExportGroups(path_, gids, withAssociation_);
    if (result == ExportResult::Done) {
      dialogs_.ShowMessage(strings_.Get(1299), strings_.Get(1300), MessageIcon::Information);
    }
  }
  if (result == ExportResult::OpenFailed || result == ExportResult::WriteFailed) {
    // A file that could not be written completely is reported like one that
    // could not be opened: the export did not happen.
    dialogs_.ShowMessage(strings_.Get(1302), shell::InsertFormat(strings_.Get(1301), path_),
                         MessageIcon::Error);
  }
  return result;
}

} // namespace contacts
