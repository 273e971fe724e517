#pragma once
// A prepared SQLite statement: binding, stepping and reading columns. Text is
// bound and read as raw bytes (the database never converts it).

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

class SqliteStatement {
public:
  SqliteStatement() = default;
  SqliteStatement(sqlite3 *db, std::string_view sql);
  ~SqliteStatement();
  SqliteStatement(const SqliteStatement &) = delete;
  SqliteStatement &operator=(const SqliteStatement &) = delete;

  bool Valid() const { return stmt_ != nullptr; }

  // Parameters count from 1.
  void Bind(int index, std::int64_t value);
  // Binds the bytes up to the first zero byte (the store keeps zero-terminated
  // texts); an empty value binds the empty text, never NULL.
  void BindText(int index, std::string_view value);

  // One step: true while a row is available. Errors end the walk (see Ok).
  bool Next();
  // Runs a statement that returns no rows; true on success.
  bool Run();
  // False when the last step failed.
  bool Ok() const { return ok_; }
  // Clears bindings and rewinds for the next use.
  void Reset();

  int Int(int column) const;
  std::int64_t Int64(int column) const;
  std::string Text(int column) const;
  // The same bytes in place: valid until the next step or reset.
  std::string_view TextView(int column) const;

private:
  sqlite3_stmt *stmt_ = nullptr;
  bool ok_ = true;
};

// Rewinds a cached statement when the scope that used it ends.
class StatementUse {
public:
  explicit StatementUse(SqliteStatement &statement) : statement_(statement) {}
  ~StatementUse() { statement_.Reset(); }
  StatementUse(const StatementUse &) = delete;
  StatementUse &operator=(const StatementUse &) = delete;
  SqliteStatement *operator->() { return &statement_; }
  SqliteStatement &operator*() { return statement_; }

private:
  SqliteStatement &statement_;
};

} // namespace store
