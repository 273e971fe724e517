#pragma once
// The store's private state (shared by its implementation files).

#include "store/SmsStore.h"
#include "store/SqliteConnection.h"

#include <mutex>
#include <vector>

namespace store {

class SmsStore::Impl {
public:
  // Guards the connection, the cached statements and everything below.
  // Always the innermost lock; never held while calling out of the store.
  std::recursive_mutex conn;
  SqliteConnection db;
  bool usable = false;
  bool inTransaction = false;
  StoreServices services;

  // The counters' values, read at opening and written through.
  int nextSmsId = 1;
  int nextGroupId = 1;
  int nextContactId = 1;

  // IDs in order for MessageAt; rebuilt after adds and deletes.
  std::vector<int> positions;
  bool positionsValid = false;

  std::int64_t Now() const;
  bool LogEnabled() const;
  void Log(const std::string &text) const;

  // Reads a counter (first row), creating it with 1 when missing.
  bool LoadCounter(const char *table, int &value);
  bool StoreCounter(const char *table, int value);
  // Raises a counter that lags behind the identifiers already in its table.
  bool RaiseCounter(const char *counterTable, const char *table, const char *key, int &value);

  bool BeginTransaction();

  static const char *const kMessageColumns;
  static MessageRow ReadMessage(SqliteStatement &statement);
};

} // namespace store
