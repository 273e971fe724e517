#pragma once
// The store's private state (shared by its implementation files).

#include "store/SmsStore.h"
#include "store/SqliteConnection.h"

#include "shell/TrackedRecursiveMutex.h"

#include <functional>
#include <mutex>
#include <vector>

namespace store {

class SmsStore::Impl {
public:
  Impl() : conn(&Impl::Abandoned, this) {}

  // Guards the connection, the cached statements and everything below.
  // Always the innermost lock; never held while calling out of the store
  // (the row-written test hook aside).
  shell::TrackedRecursiveMutex conn;
  SqliteConnection db;
  bool usable = false;
  bool inTransaction = false;
  StoreServices services;
  std::function<void(int)> rowWritten;

  // The counters' values, read at opening and written through.
  int nextSmsId = 1;
  int nextGroupId = 1;
  int nextContactId = 1;

  // IDs in order for MessageAt; rebuilt after adds and deletes.
  std::vector<int> positions;
  bool positionsValid = false;

  // One write of several rows, inside the connection lock: it happens
  // completely or not at all, whether the thread doing it faults (the
  // connection lock's abandon hook rolls it back) or throws. Writes inside
  // a write join it.
  class Write {
  public:
    explicit Write(Impl &impl);
    ~Write();
    Write(const Write &) = delete;
    Write &operator=(const Write &) = delete;

  private:
    Impl &impl_;
    int exceptions_;
  };
  int openWrites = 0;

  std::int64_t Now() const;
  bool LogEnabled() const;
  void Log(const std::string &text) const;
  void RowWritten(int id) const {
    if (rowWritten) rowWritten(id);
  }

  // Reads a counter (first row), creating it with 1 when missing.
  bool LoadCounter(const char *table, int &value);
  bool StoreCounter(const char *table, int value);
  // Raises a counter that lags behind the identifiers already in its table.
  bool RaiseCounter(const char *counterTable, const char *table, const char *key, int &value);

  bool BeginTransaction();
  // Draws `count` consecutive message identifiers; the first, or -1.
  int ReserveSmsIds(int count);
  bool PutSendRecord(const SendRecord &record);
  std::vector<SendRecord> SendRecordsWhere(const char *condition) const;

  static const char *const kMessageColumns;
  static MessageRow ReadMessage(SqliteStatement &statement);
  static const char *const kSendColumns;
  static SendRecord ReadSendRecord(SqliteStatement &statement);

private:
  // The connection lock's abandon hook: the thread that held the lock left
  // its frames without unwinding them.
  static void Abandoned(void *impl);
  void RollBackWrite();
};

} // namespace store
