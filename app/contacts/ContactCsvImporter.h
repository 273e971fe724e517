#pragma once
// Imports contacts from a text file with a header row into the store.
//
// The header names the columns (CsvHeaderMap). Every following line is split
// at the separator and becomes one contact, until a line has too few fields
// to reach the Mobile column. A contact without a mobile number is
// discarded; with duplicate prevention on, a mobile number that is already
// in the store skips the line (counted neither way). A contact goes into the
// checked groups, or, with automatic groups on and a non-empty Group value,
// into the group of that name only (found without regard to case, created
// when absent). A file without a "mobile" header field imports nothing.
// A line the store refuses (the contact, or its automatic group) counts as
// failed, never as inserted, and its contact is not added without a group.
//
// The store is committed once the file has been read, so an import is never
// lost to a later crash; a refused commit is reported in the result.

#include <istream>
#include <string>
#include <unordered_map>
#include <vector>

namespace store {
class SmsStore;
}

namespace contacts {

// The separators offered by the import dialog, in this order: "Comma"
// (string 1440), "Semicolon" (1441), "Tab" (1442).
struct SeparatorEntry {
  int stringId;
  char separator;
};
inline constexpr SeparatorEntry kImportSeparators[] = {{1440, ','}, {1441, ';'}, {1442, '\t'}};

struct ImportOptions {
  char separator = ',';
  bool preventDuplicates = false;
  bool autoCreateGroups = false;
  std::vector<int> groupIds; // the checked groups, in the order collected
};

struct ImportResult {
  int inserted = 0;
  int discarded = 0;
  int failed = 0;        // lines the store refused
  bool opened = false;   // the file could be opened
  bool committed = true; // the closing commit succeeded (or was not needed)
};

class ContactCsvImporter {
public:
  explicit ContactCsvImporter(store::SmsStore &store) : store_(store) {}

  ImportResult ImportFile(const std::string &path, const ImportOptions &options);
  ImportResult Import(std::istream &in, const ImportOptions &options);

private:
  int GroupNamed(const std::string &name);

  store::SmsStore &store_;
  std::unordered_map<std::string, int> groupCache_;
};

} // namespace contacts
