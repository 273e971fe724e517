#pragma once
// Writes the outbox (every message, or chosen ones) to a comma-separated
// file: the header "ID,Time,Status,Type,Charge,To,Msg" and one line per
// message, each ending in CR LF.
//
// Time is local time, day first (string 1033); Status and Type are display
// names; To lists the destination numbers (contacts resolved to their
// mobile numbers, the country prefix put in place of leading zeros) in one
// pair of double quotes; Msg is enclosed in double quotes with every inner
// double quote preceded by a backslash, unless it already begins with a
// double quote, in which case it is written as it stands.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shell {
class NameTables;
class StringTable;
} // namespace shell

namespace store {
class SmsStore;
struct MessageRow;
} // namespace store

namespace contacts {

enum class ExportResult {
  Done,           // the file was written completely
  OpenFailed,     // the file could not be opened for writing
  WriteFailed,    // writing or closing the file failed
  NothingToWrite, // nothing was selected; no file was made
};

class OutboxCsvExporter {
public:
  static constexpr std::size_t kNumberCut = 16;

  OutboxCsvExporter(store::SmsStore &store, const shell::NameTables &names,
                    const shell::StringTable &strings, std::string prefix);

  // Every message in store order.
  ExportResult ExportAll(const std::string &path);
  // The messages with these ids in the given order (ids that no longer exist
  // are skipped).
  ExportResult ExportSelected(const std::string &path, const std::vector<int> &ids);

  // One line of the file, CR LF included.
  std::string Line(const store::MessageRow &row);
  // The Msg field.
  static std::string QuoteMessage(std::string_view text);
  // The numbers of a destination list joined by ",".
  std::string Numbers(std::string_view to);
  // The Time field.
  std::string TimeText(int time) const;

private:
  std::string ApplyPrefix(std::string number) const;
  std::optional<std::string> ContactNumber(int cid);

  store::SmsStore &store_;
  const shell::NameTables &names_;
  const shell::StringTable &strings_;
  std::string prefix_;
  std::map<int, std::optional<std::string>> mobiles_; // contact numbers read so far
};

inline constexpr const char *kOutboxCsvHeader = "ID,Time,Status,Type,Charge,To,Msg\r\n";

} // namespace contacts
