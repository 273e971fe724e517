#pragma once
// Writes contacts to a comma-separated file: the header
// "FName,SName,Title,Custom,Mobile" (with ",Group" added when the group of
// each contact is exported) and one line per contact, values exactly as
// stored, every line ending in CR LF.

#include "contacts/OutboxCsvExporter.h"

#include <string>
#include <vector>

namespace store {
class SmsStore;
struct ContactRow;
} // namespace store

namespace contacts {

class ContactCsvExporter {
public:
  explicit ContactCsvExporter(store::SmsStore &store) : store_(store) {}

  // The contacts with these ids, in the given order (ids that no longer
  // exist are skipped).
  ExportResult ExportSelection(const std::string &path, const std::vector<int> &cids);

  // The members of the groups. The first group of the store ("All
  // Contacts") stands for every contact, as the Addresses page shows it.
  // Without association every contact once, in
  // ascending id (NothingToWrite, and no file, when the groups have no
  // members); with association one line per membership, group by group in
  // the given order and members in membership order, the group's name last.
  ExportResult ExportGroups(const std::string &path, const std::vector<int> &gids,
                            bool withAssociation);

  static std::string Header(bool withGroup);
  static std::string Line(const store::ContactRow &contact, const std::string *group);

private:
  std::vector<int> Members(int gid) const;

  store::SmsStore &store_;
};

} // namespace contacts
