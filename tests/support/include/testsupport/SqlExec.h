#pragma once
// Runs SQL on a database file from outside the store, for tests that make
// the store misbehave (a trigger that refuses writes). The store must not
// have the file open. Tests that include this link sqlite3.

#include <sqlite3.h>

#include <filesystem>
#include <string>

namespace testsupport {

inline bool ExecSql(const std::filesystem::path &database, const std::string &sql) {
  sqlite3 *db = nullptr;
  const bool ok = sqlite3_open(database.c_str(), &db) == SQLITE_OK &&
                  sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return ok;
}

} // namespace testsupport
