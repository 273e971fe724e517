#include "store/SqliteStatement.h"

#include <cstring>
#include <sqlite3.h>

namespace store {

SqliteStatement::SqliteStatement(sqlite3 *db, std::string_view sql) {
  if (sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                         &stmt_, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
}

SqliteStatement::~SqliteStatement() {
  sqlite3_finalize(stmt_);
}

void SqliteStatement::Bind(int index, std::int64_t value) {
  if (stmt_) sqlite3_bind_int64(stmt_, index, value);
}

void SqliteStatement::BindText(int index, std::string_view value) {
  if (!stmt_) return;
  const void *zero = value.empty() ? nullptr : std::memchr(value.data(), 0, value.size());
  if (zero)
    value =
        value.substr(0, static_cast<std::size_t>(static_cast<const char *>(zero) - value.data()));
  sqlite3_bind_text(stmt_, index, value.empty() ? "" : value.data(), static_cast<int>(value.size()),
                    SQLITE_TRANSIENT);
}

bool SqliteStatement::Next() {
  if (!stmt_) {
    ok_ = false;
    return false;
  }
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  ok_ = rc == SQLITE_DONE;
  return false;
}

bool SqliteStatement::Run() {
  while (Next()) {
  }
  return ok_;
}

void SqliteStatement::Reset() {
  if (!stmt_) return;
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  ok_ = true;
}

int SqliteStatement::Int(int column) const {
  return sqlite3_column_int(stmt_, column);
}

std::int64_t SqliteStatement::Int64(int column) const {
  return stmt_ ? sqlite3_column_int64(stmt_, column) : 0;
}

std::string SqliteStatement::Text(int column) const {
  return std::string(TextView(column));
}

std::string_view SqliteStatement::TextView(int column) const {
  if (!stmt_) return {};
  const unsigned char *text = sqlite3_column_text(stmt_, column);
  int size = sqlite3_column_bytes(stmt_, column);
  if (!text || size <= 0) return {};
  return {reinterpret_cast<const char *>(text), static_cast<std::size_t>(size)};
}

} // namespace store
