#include "contacts/ContactsImportDialogModel.h"

#include "shell/InsertFormat.h"
#include "shell/StringTable.h"

#include <algorithm>

namespace contacts {

namespace {
const char *const kRefusedText = "\n\n(%1!d!) items could not be stored in the database.";
const char *const kNotSavedText = "\n\nThe database could not save the imported contacts to disk.";
} // namespace

ContactsImportDialogModel::ContactsImportDialogModel(store::SmsStore &store,
                                                     const shell::StringTable &strings,
                                                     UserDialogs &dialogs, int selectedGid)
    : store_(store), strings_(strings), dialogs_(dialogs) {
  groups_ = store_.Groups();
  if (!groups_.empty()) {
    groups_.erase(groups_.begin()); // "All Contacts"
  }
  checked_.assign(groups_.size(), false);
  for (std::size_t i = 0; i < groups_.size(); ++i) {
    if (groups_[i].GID == selectedGid) {
      checked_[i] = true;
    }
  }
}

bool ContactsImportDialogModel::SetFilePath(const std::string &path) {
  if (path.size() > kMaxPathLength) {
    return false;
  }
  path_ = path;
  return true;
}

void ContactsImportDialogModel::Browse() {
  FileChoice choice;
  choice.filter = strings_.Get(1444);
  if (std::optional<std::string> chosen = dialogs_.ChooseOpenFile(choice)) {
    SetFilePath(*chosen);
  }
}

std::string ContactsImportDialogModel::SeparatorText(std::size_t index) const {
  if (index >= SeparatorCount()) {
    return {};
  }
  return strings_.Get(kImportSeparators[index].stringId);
}

void ContactsImportDialogModel::SelectSeparator(std::size_t index) {
  if (index < SeparatorCount()) {
    separator_ = index;
  }
}

void ContactsImportDialogModel::SetGroupChecked(std::size_t index, bool checked) {
  if (index < checked_.size()) {
    checked_[index] = checked;
  }
}

bool ContactsImportDialogModel::GroupChecked(std::size_t index) const {
  return index < checked_.size() && checked_[index];
}

bool ContactsImportDialogModel::OkEnabled() const {
  return !path_.empty() && std::find(checked_.begin(), checked_.end(), true) != checked_.end();
}

ImportResult ContactsImportDialogModel::Ok() {
  if (!OkEnabled()) {
    return {};
  }
  ImportOptions options;
  options.separator = kImportSeparators[separator_].separator;
  options.preventDuplicates = preventDuplicates_;
  options.autoCreateGroups = autoCreateGroups_;
  for (std::size_t i = groups_.size(); i-- > 0;) {
    if (checked_[i]) {
      options.groupIds.push_back(groups_[i].GID);
    }
  }
  ContactCsvImporter importer(store_);
  const ImportResult result = importer.ImportFile(path_, options);
  std::string text = shell::InsertFormat(strings_.Get(1446), result.inserted, result.discarded);
  // What the store refused is told with the counts, never hidden in them.
  if (result.failed > 0) {
    text += shell::InsertFormat(kRefusedText, result.failed);
  }
  if (!result.committed) {
    text += kNotSavedText;
  }
  const bool troubled = result.failed > 0 || !result.committed;
  dialogs_.ShowMessage(strings_.Get(1445), text,
                       troubled ? MessageIcon::Warning : MessageIcon::Information);
  return result;
}

} // namespace contacts
