#pragma once
// The tables and indices of SMS.db: checking an existing file and creating
// what a new one lacks.

namespace store {

class SqliteConnection;

class StoreSchema {
public:
  // True when the database can be used as the program's store: it passes
  // SQLite's quick integrity check, and every table of ours that exists has
  // our columns. A database holding only tables of some other program is
  // refused. Nothing is written.
  static bool Check(SqliteConnection &db);
  // Creates the missing tables and indices (inside the caller's transaction).
  static bool Create(SqliteConnection &db);
};

} // namespace store
