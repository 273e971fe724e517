#include "store/StoreSchema.h"

#include "store/SqliteConnection.h"

#include <set>
#include <string>
#include <vector>

namespace store {

namespace {

struct TableLayout {
  const char *name;
  std::vector<const char *> columns;
};

const std::vector<TableLayout> &Layouts() {
  static const std::vector<TableLayout> layouts = {
      {"SMS",
       {"ID", "Time", "Stat", "Type", "RefID", "To", "ToInfo", "Msg", "ApiMsgID", "SavedStat",
        "SenderID", "Delay", "QueryTime", "StatQryTm", "Charge", "Flags"}},
      {"NextSMSID", {"ID"}},
      {"GROUP", {"GID", "Cnt", "Name"}},
      {"NextGroupID", {"ID"}},
      {"CONTACTS", {"CID", "Name", "Surname", "Title", "Custom", "Mobile"}},
      {"NextContactID", {"ID"}},
      {"CONTACT_GROUP_MAP", {"CID", "GID"}},
      {"SMS_SEND",
       {"ID", "CliMsgID", "OutcomeUnknown", "Note", "ExpandDone", "ExpandInFlight", "ExpandBatch"}},
  };
  return layouts;
}

const char *const kCreateSql = R"sql(
CREATE TABLE IF NOT EXISTS SMS(
  ID INTEGER PRIMARY KEY,
  Time INTEGER NOT NULL DEFAULT 0,
  Stat INTEGER NOT NULL DEFAULT 0,
  Type INTEGER NOT NULL DEFAULT 0,
  RefID INTEGER NOT NULL DEFAULT 0,
  "To" TEXT NOT NULL DEFAULT '',
  ToInfo TEXT NOT NULL DEFAULT '',
  Msg TEXT NOT NULL DEFAULT '',
  ApiMsgID TEXT NOT NULL DEFAULT '',
  SavedStat INTEGER NOT NULL DEFAULT 0,
  SenderID TEXT NOT NULL DEFAULT '',
  Delay INTEGER NOT NULL DEFAULT 0,
  QueryTime INTEGER NOT NULL DEFAULT 0,
  StatQryTm INTEGER NOT NULL DEFAULT 0,
  Charge TEXT NOT NULL DEFAULT '',
  Flags INTEGER NOT NULL DEFAULT 0);
CREATE TABLE IF NOT EXISTS NextSMSID(ID INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS "GROUP"(
  GID INTEGER PRIMARY KEY,
  Cnt INTEGER NOT NULL DEFAULT 0,
  Name TEXT NOT NULL DEFAULT '');
CREATE TABLE IF NOT EXISTS NextGroupID(ID INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS CONTACTS(
  CID INTEGER PRIMARY KEY,
  Name TEXT NOT NULL DEFAULT '',
  Surname TEXT NOT NULL DEFAULT '',
  Title TEXT NOT NULL DEFAULT '',
  Custom TEXT NOT NULL DEFAULT '',
  Mobile TEXT NOT NULL DEFAULT '');
CREATE TABLE IF NOT EXISTS NextContactID(ID INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS CONTACT_GROUP_MAP(
  CID INTEGER NOT NULL,
  GID INTEGER NOT NULL);
-- How the sending of a message stands beyond its row (see SendRecord.h);
-- created in files from before it existed when they are opened.
CREATE TABLE IF NOT EXISTS SMS_SEND(
  ID INTEGER PRIMARY KEY,
  CliMsgID TEXT NOT NULL DEFAULT '',
  OutcomeUnknown INTEGER NOT NULL DEFAULT 0,
  Note TEXT NOT NULL DEFAULT '',
  ExpandDone INTEGER NOT NULL DEFAULT -1,
  ExpandInFlight INTEGER NOT NULL DEFAULT 0,
  ExpandBatch INTEGER NOT NULL DEFAULT 0);
CREATE INDEX IF NOT EXISTS SMS_SEND_Unknown ON SMS_SEND(ID) WHERE OutcomeUnknown <> 0;
CREATE INDEX IF NOT EXISTS SMS_SEND_Expanding ON SMS_SEND(ID) WHERE ExpandDone >= 0;
-- Status selections and the outbox count (Stat), due scheduled rows
-- (Stat, Delay, Time range).
CREATE INDEX IF NOT EXISTS SMS_Stat_Delay_Time ON SMS(Stat, Delay, Time);
-- Status polling: Stat, StatQryTm range, QueryTime range.
CREATE INDEX IF NOT EXISTS SMS_Stat_StatQryTm_QueryTime ON SMS(Stat, StatQryTm, QueryTime);
CREATE INDEX IF NOT EXISTS CONTACTS_Mobile ON CONTACTS(Mobile);
CREATE INDEX IF NOT EXISTS CONTACT_GROUP_MAP_CID ON CONTACT_GROUP_MAP(CID);
CREATE INDEX IF NOT EXISTS CONTACT_GROUP_MAP_GID ON CONTACT_GROUP_MAP(GID);
)sql";

} // namespace

bool StoreSchema::Check(SqliteConnection &db) {
  {
    SqliteStatement check(db.Handle(), "PRAGMA quick_check");
    if (!check.Valid() || !check.Next() || check.Text(0) != "ok") return false;
    if (check.Next()) return false; // more than one line: damage was found
    if (!check.Ok()) return false;
  }

  std::set<std::string> tables;
  {
    SqliteStatement list(db.Handle(), "SELECT name FROM sqlite_master WHERE type = 'table'");
    if (!list.Valid()) return false;
    while (list.Next())
      tables.insert(list.Text(0));
    if (!list.Ok()) return false;
  }

  bool foreign = false;
  bool ours = false;
  for (const std::string &table : tables) {
    if (table.rfind("sqlite_", 0) == 0) continue;
    bool known = false;
    for (const TableLayout &layout : Layouts())
      known = known || table == layout.name;
    foreign = foreign || !known;
  }
  for (const TableLayout &layout : Layouts()) {
    if (!tables.count(layout.name)) continue;
    ours = true;
    std::set<std::string> columns;
    SqliteStatement info(db.Handle(), std::string("PRAGMA table_info(\"") + layout.name + "\")");
    if (!info.Valid()) return false;
    while (info.Next())
      columns.insert(info.Text(1));
    if (!info.Ok()) return false;
    for (const char *column : layout.columns) {
      if (!columns.count(column)) return false;
    }
  }
  return ours || !foreign;
}

bool StoreSchema::Create(SqliteConnection &db) {
  return db.Exec(kCreateSql);
}

} // namespace store
