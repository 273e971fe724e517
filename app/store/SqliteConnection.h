#pragma once
// One SQLite connection with a cache of prepared statements keyed by their
// SQL text. Not thread-safe by itself: the store serialises its use.

#include "store/SqliteStatement.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;

namespace store {

class SqliteConnection {
public:
  SqliteConnection() = default;
  ~SqliteConnection();
  SqliteConnection(const SqliteConnection &) = delete;
  SqliteConnection &operator=(const SqliteConnection &) = delete;

  // Opens an existing database file for reading and writing (never creates
  // one). False when it cannot be opened.
  bool Open(const std::string &path);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }

  // Runs one or more statements without results; false on the first error.
  bool Exec(std::string_view sql);
  // The cached prepared statement for this SQL (prepared on first use).
  // Invalid (check Valid()) when the SQL does not compile.
  SqliteStatement &Cached(const std::string &sql);
  // Rewinds every cached statement (after a user of one was abandoned in
  // the middle of its steps).
  void ResetAll();

  int Changes() const;
  // True when no transaction is open (e.g. after SQLite rolled one back
  // because a commit failed).
  bool InAutocommit() const;
  std::string LastError() const;
  sqlite3 *Handle() const { return db_; }

private:
  sqlite3 *db_ = nullptr;
  std::unordered_map<std::string, std::unique_ptr<SqliteStatement>> cache_;
};

} // namespace store
