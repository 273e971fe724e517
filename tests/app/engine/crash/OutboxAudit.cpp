#include "OutboxAudit.h"

#include "store/SmsStore.h"

#include <nlohmann/json.hpp>
#include <sqlite3.h>

#include <sstream>

namespace crashharness {

namespace {

struct StoredRow {
  int id = 0;
  int stat = 0;
  int refId = 0;
  std::string to;
  std::string apiMsgId;
  std::string note;
  bool outcomeUnknown = false;
};

std::string Column(sqlite3_stmt *stmt, int column) {
  const unsigned char *text = sqlite3_column_text(stmt, column);
  return text ? reinterpret_cast<const char *>(text) : std::string();
}

// Every row with its send record, read before anything opens the store
// (opening repairs what an interruption left).
std::vector<StoredRow> ReadRows(const std::string &dbPath) {
  std::vector<StoredRow> rows;
  sqlite3 *db = nullptr;
  if (sqlite3_open_v2(dbPath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt *stmt = nullptr;
    const char *sql = "SELECT SMS.ID, Stat, RefID, \"To\", ApiMsgID, IFNULL(Note, ''), "
                      "IFNULL(OutcomeUnknown, 0) FROM SMS LEFT JOIN SMS_SEND ON SMS.ID = "
                      "SMS_SEND.ID ORDER BY SMS.ID";
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK) {
      while (sqlite3_step(stmt) == SQLITE_ROW) {
        StoredRow row;
        row.id = sqlite3_column_int(stmt, 0);
        row.stat = sqlite3_column_int(stmt, 1);
        row.refId = sqlite3_column_int(stmt, 2);
        row.to = Column(stmt, 3);
        row.apiMsgId = Column(stmt, 4);
        row.note = Column(stmt, 5);
        row.outcomeUnknown = sqlite3_column_int(stmt, 6) != 0;
        rows.push_back(std::move(row));
      }
    }
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
  return rows;
}

} // namespace

std::map<std::string, std::vector<std::string>> AcceptedByNumber(const std::string &logJsonLines) {
  std::map<std::string, std::vector<std::string>> accepted;
  std::istringstream lines(logJsonLines);
  std::string line;
  while (std::getline(lines, line)) {
    nlohmann::json entry = nlohmann::json::parse(line, nullptr, false);
    if (entry.is_discarded()) continue;
    const std::string path = entry.value("path", "");
    const std::string reply = entry.value("reply", "");
    if (path == "http/sendmsg") {
      if (reply.rfind("ID: ", 0) == 0 && entry.contains("params"))
        accepted[entry["params"].value("to", "")].push_back(reply.substr(4));
    } else if (path == "http_batch/quicksend") {
      std::istringstream replyLines(reply);
      std::string item;
      while (std::getline(replyLines, item)) {
        const std::size_t to = item.find(" To: ");
        if (item.rfind("ID: ", 0) == 0 && to != std::string::npos)
          accepted[item.substr(to + 5)].push_back(item.substr(4, to - 4));
      }
    }
  }
  return accepted;
}

AuditCounts Audit(const std::string &dataFolder, const std::vector<QueuedDestination> &queued,
                  const std::map<std::string, std::vector<std::string>> &accepted) {
  AuditCounts counts;
  const std::vector<StoredRow> rows = ReadRows(dataFolder + "/SMS.db");
  std::map<int, const StoredRow *> byId;
  std::multimap<std::pair<int, std::string>, const StoredRow *> children; // (RefID, To)
  for (const StoredRow &row : rows) {
    byId[row.id] = &row;
    if (row.refId != row.id) children.emplace(std::make_pair(row.refId, row.to), &row);
  }

  for (const QueuedDestination &d : queued) {
    ++counts.destinations;
    const StoredRow *row = nullptr;
    if (d.multi) {
      auto [first, last] = children.equal_range({d.messageId, d.token});
      if (first != last) row = first->second;
      if (std::distance(first, last) > 1) ++counts.extraRows;
    } else if (auto it = byId.find(d.messageId); it != byId.end()) {
      row = it->second;
    }
    auto found = accepted.find(d.number);
    const std::size_t times = found == accepted.end() ? 0 : found->second.size();
    if (times > 1) ++counts.duplicates;
    if (row == nullptr || row->stat == 0) {
      ++counts.lost;
    } else if (row->stat == 10) {
      ++counts.processing;
    } else if (!row->apiMsgId.empty()) {
      if (times == 1 && row->apiMsgId == ",ID: " + found->second.front())
        ++counts.sent;
      else
        ++counts.phantom;
    } else if (row->note.empty()) {
      ++counts.unexplained;
    } else if (row->note.rfind("never reached", 0) == 0) {
      if (times == 0)
        ++counts.neverReached;
      else
        ++counts.contradicted;
    } else {
      ++counts.unknown;
    }
    if (row != nullptr && row->outcomeUnknown) ++counts.unsettled;
  }
  store::SmsStore store(dataFolder);
  counts.storeUsable = store.IsUsable();
  return counts;
}

} // namespace crashharness
