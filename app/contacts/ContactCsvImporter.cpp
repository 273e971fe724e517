#include "contacts/ContactCsvImporter.h"

#include "contacts/CsvHeaderMap.h"
#include "contacts/CsvLineReader.h"
#include "store/SmsStore.h"

#include <array>
#include <fstream>

namespace contacts {

ImportResult ContactCsvImporter::ImportFile(const std::string &path, const ImportOptions &options) {
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) {
    return {};
  }
  return Import(in, options);
}

int ContactCsvImporter::GroupNamed(const std::string &name) {
  if (auto it = groupCache_.find(name); it != groupCache_.end()) {
    return it->second;
  }
  int gid = 0;
  if (std::optional<int> found = store_.FindGroupByName(name)) {
    gid = *found;
  } else {
    const int position = store_.AddGroup(name);
    if (std::optional<store::GroupRow> row = store_.GroupAt(position)) {
      gid = row->GID;
    }
  }
  if (gid > 0) {
    groupCache_.emplace(name, gid);
  }
  return gid;
}

ImportResult ContactCsvImporter::Import(std::istream &in, const ImportOptions &options) {
  ImportResult result;
  result.opened = true;
  groupCache_.clear();

  CsvLineReader reader(in);
  std::string line;
  if (!reader.Next(line)) {
    return result;
  }
  const CsvHeaderMap header = CsvHeaderMap::Parse(line, options.separator);
  if (!header.HasMobile()) {
    return result;
  }
  const auto mobilePosition = static_cast<std::size_t>(header.MobilePosition());

  std::array<std::string, 6> values;
  while (reader.Next(line)) {
    const std::vector<std::string_view> fields =
        SplitFields(line, options.separator, header.FieldCount());
    if (fields.size() <= mobilePosition) {
      break; // a short line ends the import
    }
    for (std::string &v : values) {
      v.clear();
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const ContactColumn column = header.Column(i);
      values[static_cast<std::size_t>(column)] =
          std::string(fields[i].substr(0, ImportWidth(column)));
    }
    const std::string &mobile = values[static_cast<std::size_t>(ContactColumn::Mobile)];
    if (mobile.empty()) {
      ++result.discarded;
      continue;
    }

    std::vector<int> groups;
    const std::string &groupName = values[static_cast<std::size_t>(ContactColumn::Group)];
    if (options.autoCreateGroups && !groupName.empty()) {
      const int gid = GroupNamed(groupName);
      if (gid <= 0) {
        ++result.failed; // the group could not be made
        continue;
      }
      groups.push_back(gid);
    } else {
      groups = options.groupIds;
    }

    if (options.preventDuplicates && store_.FindContactByMobile(mobile).has_value()) {
      continue;
    }

    store::ContactRecord record;
    record.SetName(values[static_cast<std::size_t>(ContactColumn::Name)]);
    record.SetSurname(values[static_cast<std::size_t>(ContactColumn::Surname)]);
    record.SetTitle(values[static_cast<std::size_t>(ContactColumn::Title)]);
    record.SetCustom(values[static_cast<std::size_t>(ContactColumn::Custom)]);
    record.SetMobile(mobile);
    record.groupIds = groups.data();
    record.groupCount = static_cast<int>(groups.size());
    if (store_.AddContact(record) > 0) {
      ++result.inserted;
    } else {
      ++result.failed;
    }
  }
  result.committed = store_.Commit();
  return result;
}

} // namespace contacts
