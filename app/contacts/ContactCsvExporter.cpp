#include "contacts/ContactCsvExporter.h"

#include "contacts/CsvFileWriter.h"
#include "store/SmsStore.h"

#include <set>

namespace contacts {

std::string ContactCsvExporter::Header(bool withGroup) {
  return std::string("FName,SName,Title,Custom,Mobile") + (withGroup ? ",Group" : "") + "\r\n";
}

std::string ContactCsvExporter::Line(const store::ContactRow &contact, const std::string *group) {
  std::string line;
  line.reserve(contact.Name.size() + contact.Surname.size() + contact.Title.size() +
               contact.Custom.size() + contact.Mobile.size() + 8 + (group ? group->size() : 0));
  line += contact.Name;
  line.push_back(',');
  line += contact.Surname;
  line.push_back(',');
  line += contact.Title;
  line.push_back(',');
  line += contact.Custom;
  line.push_back(',');
  line += contact.Mobile;
  if (group != nullptr) {
    line.push_back(',');
    line += *group;
  }
  line += "\r\n";
  return line;
}

std::vector<int> ContactCsvExporter::Members(int gid) const {
  const std::optional<store::GroupRow> first = store_.GroupAt(0);
  if (!first || first->GID != gid) {
    return store_.GroupMembers(gid);
  }
  std::vector<int> everyone;
  for (const store::ContactRow &contact : store_.Contacts()) {
    everyone.push_back(contact.CID);
  }
  return everyone;
}

ExportResult ContactCsvExporter::ExportSelection(const std::string &path,
                                                 const std::vector<int> &cids) {
  CsvFileWriter file;
  if (!file.Open(path)) {
    return ExportResult::OpenFailed;
  }
  file.Write(Header(false));
  for (int cid : cids) {
    if (std::optional<store::ContactRow> contact = store_.FindContact(cid)) {
      if (!file.Write(Line(*contact, nullptr))) {
        break;
      }
    }
  }
  return file.Close() ? ExportResult::Done : ExportResult::WriteFailed;
}

ExportResult ContactCsvExporter::ExportGroups(const std::string &path, const std::vector<int> &gids,
                                              bool withAssociation) {
  if (!withAssociation) {
    std::set<int> members;
    for (int gid : gids) {
      for (int cid : Members(gid)) {
        members.insert(cid);
      }
    }
    if (members.empty()) {
      return ExportResult::NothingToWrite;
    }
    CsvFileWriter file;
    if (!file.Open(path)) {
      return ExportResult::OpenFailed;
    }
    file.Write(Header(false));
    for (int cid : members) {
      if (std::optional<store::ContactRow> contact = store_.FindContact(cid)) {
        if (!file.Write(Line(*contact, nullptr))) {
          break;
        }
      }
    }
    return file.Close() ? ExportResult::Done : ExportResult::WriteFailed;
  }

  CsvFileWriter file;
  if (!file.Open(path)) {
    return ExportResult::OpenFailed;
  }
  file.Write(Header(true));
  bool ok = true;
  for (int gid : gids) {
    const std::optional<std::string> name = store_.GroupName(gid);
    if (!name) {
      continue;
    }
    for (int cid : Members(gid)) {
      if (std::optional<store::ContactRow> contact = store_.FindContact(cid)) {
        if (!file.Write(Line(*contact, &*name))) {
          ok = false;
          break;
        }
      }
    }
    if (!ok) {
      break;
    }
  }
  return file.Close() ? ExportResult::Done : ExportResult::WriteFailed;
}

} // namespace contacts
