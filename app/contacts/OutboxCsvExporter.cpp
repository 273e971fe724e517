#include "contacts/OutboxCsvExporter.h"

#include "contacts/CsvFileWriter.h"
#include "shell/InsertFormat.h"
#include "shell/NameTables.h"
#include "shell/StringTable.h"
#include "store/SmsStore.h"

#include <ctime>
#include <mutex>

namespace contacts {
namespace {

constexpr int kTimeFormatId = 1033;
constexpr const char *kTimeFormatDefault = "%1!02d!/%2!02d!/%3!d! %4!02d!:%5!02d!";

// The contact id of an "A<cid>" token, or nothing for a plain number.
std::optional<int> ContactToken(std::string_view token) {
  if (token.size() < 2 || token.size() > 10 || token[0] != 'A') {
    return std::nullopt;
  }
  int cid = 0;
  for (char c : token.substr(1)) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    cid = cid * 10 + (c - '0');
  }
  return cid;
}

} // namespace

OutboxCsvExporter::OutboxCsvExporter(store::SmsStore &store, const shell::NameTables &names,
                                     const shell::StringTable &strings, std::string prefix)
    : store_(store), names_(names), strings_(strings), prefix_(std::move(prefix)) {}

std::string OutboxCsvExporter::QuoteMessage(std::string_view text) {
  if (!text.empty() && text.front() == '"') {
    return std::string(text); // taken as already quoted
  }
  std::string out;
  out.reserve(text.size() + 2);
  out.push_back('"');
  for (char c : text) {
    if (c == '"') {
      out.push_back('\\');
    }
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

std::string OutboxCsvExporter::TimeText(int time) const {
  const std::time_t t = time;
  std::tm local{};
  if (localtime_r(&t, &local) == nullptr) {
    return {};
  }
  const std::string &pattern =
      strings_.Has(kTimeFormatId) ? strings_.Get(kTimeFormatId) : std::string(kTimeFormatDefault);
  return shell::InsertFormat(pattern, local.tm_mday, local.tm_mon + 1, local.tm_year + 1900,
                             local.tm_hour, local.tm_min);
}

std::string OutboxCsvExporter::ApplyPrefix(std::string number) const {
  if (prefix_.empty() || number.empty() || number.front() != '0') {
    return number;
  }
  const std::size_t first = number.find_first_not_of('0');
  return prefix_ + (first == std::string::npos ? std::string() : number.substr(first));
}

std::optional<std::string> OutboxCsvExporter::ContactNumber(int cid) {
  if (auto it = mobiles_.find(cid); it != mobiles_.end()) {
    return it->second;
  }
  std::optional<std::string> mobile = store_.ContactMobile(cid, kNumberCut);
  mobiles_.emplace(cid, mobile);
  return mobile;
}

std::string OutboxCsvExporter::Numbers(std::string_view to) {
  std::string out;
  std::size_t start = 0;
  while (start <= to.size()) {
    std::size_t end = to.find(',', start);
    if (end == std::string_view::npos) {
      end = to.size();
    }
    const std::string_view token = to.substr(start, end - start);
    start = end + 1;
    if (token.empty()) {
      continue;
    }
    std::string number;
    if (std::optional<int> cid = ContactToken(token)) {
      std::optional<std::string> mobile = ContactNumber(*cid);
      if (!mobile || mobile->empty()) {
        continue; // the contact no longer exists
      }
      number = std::move(*mobile);
    } else {
      number = std::string(token.substr(0, kNumberCut));
    }
    if (!out.empty()) {
      out.push_back(',');
    }
    out += ApplyPrefix(std::move(number));
  }
  return out;
}

std::string OutboxCsvExporter::Line(const store::MessageRow &row) {
  const char *status = names_.StatusName(row.Stat);
  const char *type = names_.TypeName(row.Type);
  std::string line = std::to_string(row.ID);
  line.push_back(',');
  line += TimeText(row.Time);
  line.push_back(',');
  line += status ? status : "";
  line.push_back(',');
  line += type ? type : "";
  line.push_back(',');
  line += row.Charge;
  line += ",\"";
  line += Numbers(row.To);
  line += "\",";
  line += QuoteMessage(row.Msg);
  line += "\r\n";
  return line;
}

ExportResult OutboxCsvExporter::ExportAll(const std::string &path) {
  CsvFileWriter file;
  if (!file.Open(path)) {
    return ExportResult::OpenFailed;
  }
  file.Write(kOutboxCsvHeader);
  int count = 0;
  {
    std::lock_guard lock(store_.MessageLock());
    count = store_.MessageCount();
  }
  for (int i = 0; i < count; ++i) {
    std::optional<store::MessageRow> row;
    {
      std::lock_guard lock(store_.MessageLock());
      row = store_.MessageAt(i);
    }
    if (row && !file.Write(Line(*row))) {
      break;
    }
  }
  return file.Close() ? ExportResult::Done : ExportResult::WriteFailed;
}

ExportResult OutboxCsvExporter::ExportSelected(const std::string &path,
                                               const std::vector<int> &ids) {
  CsvFileWriter file;
  if (!file.Open(path)) {
    return ExportResult::OpenFailed;
  }
  file.Write(kOutboxCsvHeader);
  for (int id : ids) {
    std::optional<store::MessageRow> row;
    {
      std::lock_guard lock(store_.MessageLock());
      row = store_.FindMessage(id);
    }
    if (row && !file.Write(Line(*row))) {
      break;
    }
  }
  return file.Close() ? ExportResult::Done : ExportResult::WriteFailed;
}

} // namespace contacts
