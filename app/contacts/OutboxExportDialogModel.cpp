#include "contacts/OutboxExportDialogModel.h"

#include "shell/InsertFormat.h"
#include "shell/StringTable.h"
#include "store/SmsStore.h"

#include <mutex>

namespace contacts {

OutboxExportDialogModel::OutboxExportDialogModel(store::SmsStore &store,
                                                 const shell::NameTables &names,
                                                 const shell::StringTable &strings,
                                                 std::string prefix, UserDialogs &dialogs,
                                                 std::vector<int> selectedIds)
    : store_(store), names_(names), strings_(strings), prefix_(std::move(prefix)),
      dialogs_(dialogs), selectedIds_(std::move(selectedIds)), exportAll_(selectedIds_.empty()) {}

std::string OutboxExportDialogModel::Text(int id) const {
  return strings_.Get(id);
}

bool OutboxExportDialogModel::CanOpen() {
  int count = 0;
  {
    std::lock_guard lock(store_.MessageLock());
    count = store_.MessageCount();
  }
  if (count == 0) {
    dialogs_.ShowMessage(Text(1421), Text(1422), MessageIcon::Information);
    return false;
  }
  return true;
}

bool OutboxExportDialogModel::SetFilePath(const std::string &path) {
  if (path.size() > kMaxPathLength) {
    return false;
  }
  path_ = path;
  return true;
}

void OutboxExportDialogModel::Browse() {
  FileChoice choice;
  choice.initialName = Text(1281);
  choice.defaultExtension = "csv";
  choice.filter = Text(1282);
  if (std::optional<std::string> chosen = dialogs_.ChooseSaveFile(choice)) {
    SetFilePath(*chosen);
  }
}

ExportResult OutboxExportDialogModel::Ok() {
  if (!OkEnabled()) {
    return ExportResult::NothingToWrite;
  }
  OutboxCsvExporter exporter(store_, names_, strings_, prefix_);
  const ExportResult result =
      exportAll_ ? exporter.ExportAll(path_) : exporter.ExportSelected(path_, selectedIds_);
  switch (result) {
  case ExportResult::Done:
    dialogs_.ShowMessage(std::string(), Text(1287), MessageIcon::Information);
    break;
  case ExportResult::OpenFailed:
    dialogs_.ShowMessage(Text(1284), shell::InsertFormat(Text(1283), path_), MessageIcon::Error);
    break;
  case ExportResult::WriteFailed:
    dialogs_.ShowMessage(Text(1284), Text(1286), MessageIcon::Error);
    break;
  case ExportResult::NothingToWrite:
    break;
  }
  return result;
}

} // namespace contacts
