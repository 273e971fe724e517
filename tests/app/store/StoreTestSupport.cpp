#include "StoreTestSupport.h"

#include <sqlite3.h>

namespace storetest {

std::vector<std::string> RawQuery(const std::filesystem::path &db, const std::string &sql) {
  std::vector<std::string> rows;
  sqlite3 *handle = nullptr;
  if (sqlite3_open_v2(db.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(handle);
    return rows;
  }
  sqlite3_stmt *statement = nullptr;
  if (sqlite3_prepare_v2(handle, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
    while (sqlite3_step(statement) == SQLITE_ROW) {
      std::string row;
      for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        if (i > 0) row += '|';
        const unsigned char *text = sqlite3_column_text(statement, i);
        if (text) {
          row.append(reinterpret_cast<const char *>(text),
                     static_cast<std::size_t>(sqlite3_column_bytes(statement, i)));
        }
      }
      rows.push_back(row);
    }
  }
  sqlite3_finalize(statement);
  sqlite3_close(handle);
  return rows;
}

bool RawExec(const std::filesystem::path &db, const std::string &sql) {
  sqlite3 *handle = nullptr;
  bool ok = sqlite3_open_v2(db.c_str(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) == SQLITE_OK &&
            sqlite3_exec(handle, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(handle);
  return ok;
}

} // namespace storetest
