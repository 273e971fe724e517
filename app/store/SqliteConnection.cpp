#include "store/SqliteConnection.h"

#include <sqlite3.h>

namespace store {

SqliteConnection::~SqliteConnection() {
  Close();
}

bool SqliteConnection::Open(const std::string &path) {
  Close();
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
#ifdef SQLITE_OPEN_NOFOLLOW
  flags |= SQLITE_OPEN_NOFOLLOW;
#endif
  if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    sqlite3_close(db_);
    db_ = nullptr;
    return false;
  }
  sqlite3_extended_result_codes(db_, 1);
  return true;
}

void SqliteConnection::Close() {
  cache_.clear(); // statements are finalised before the connection closes
  if (db_) {
    sqlite3_close(db_);
    db_ = nullptr;
  }
}

bool SqliteConnection::Exec(std::string_view sql) {
  if (!db_) return false;
  std::string text(sql);
  return sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

SqliteStatement &SqliteConnection::Cached(const std::string &sql) {
  auto it = cache_.find(sql);
  if (it != cache_.end()) return *it->second;
  auto statement = std::make_unique<SqliteStatement>(db_, sql);
  SqliteStatement &ref = *statement;
  // A statement that failed to compile is not kept, so a later call retries.
  if (statement->Valid()) {
    cache_.emplace(sql, std::move(statement));
    return ref;
  }
  static thread_local SqliteStatement invalid;
  return invalid;
}

void SqliteConnection::ResetAll() {
  for (auto &entry : cache_)
    entry.second->Reset();
}

bool SqliteConnection::InAutocommit() const {
  return !db_ || sqlite3_get_autocommit(db_) != 0;
}

int SqliteConnection::Changes() const {
  return db_ ? sqlite3_changes(db_) : 0;
}

std::string SqliteConnection::LastError() const {
  return db_ ? sqlite3_errmsg(db_) : "not open";
}

} // namespace store
