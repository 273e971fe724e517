#include "store/SmsStore.h"

#include "store/SmsStoreImpl.h"
#include "store/StoreSchema.h"

#include "shell/LogWriter.h"
#include "shell/Settings.h"
#include "shell/StringTable.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <exception>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store {

SmsStore *gStore = nullptr;

const char *const SmsStore::Impl::kMessageColumns =
    "ID, Time, Stat, Type, RefID, \"To\", ToInfo, Msg, ApiMsgID, SavedStat, SenderID, Delay, "
    "QueryTime, StatQryTm, Charge, Flags";

MessageRow SmsStore::Impl::ReadMessage(SqliteStatement &s) {
  MessageRow row;
  row.ID = s.Int(0);
  row.Time = s.Int(1);
  row.Stat = s.Int(2);
  row.Type = s.Int(3);
  row.RefID = s.Int(4);
  row.To = s.Text(5);
  row.ToInfo = s.Text(6);
  row.Msg = s.Text(7);
  row.ApiMsgID = s.Text(8);
  row.SavedStat = s.Int(9);
  row.SenderID = s.Text(10);
  row.Delay = s.Int(11);
  row.QueryTime = s.Int(12);
  row.StatQryTm = s.Int(13);
  row.Charge = s.Text(14);
  row.Flags = s.Int(15);
  return row;
}

std::int64_t SmsStore::Impl::Now() const {
  return services.now ? services.now() : static_cast<std::int64_t>(std::time(nullptr));
}

bool SmsStore::Impl::LogEnabled() const {
  return services.log && services.settings &&
         shell::ReadSetting(*services.settings, &shell::Settings::WriteLog);
}

void SmsStore::Impl::Log(const std::string &text) const {
  if (services.log) services.log->WriteEntry(text);
}

bool SmsStore::Impl::LoadCounter(const char *table, int &value) {
  SqliteStatement read(db.Handle(),
                       std::string("SELECT ID FROM ") + table + " ORDER BY rowid LIMIT 1");
  if (!read.Valid()) return false;
  if (read.Next()) {
    value = read.Int(0);
    return true;
  }
  if (!read.Ok()) return false;
  value = 1;
  return db.Exec(std::string("INSERT INTO ") + table + "(ID) VALUES(1)");
}

bool SmsStore::Impl::StoreCounter(const char *table, int value) {
  StatementUse write(db.Cached(std::string("UPDATE ") + table +
                               " SET ID = ? WHERE rowid = (SELECT MIN(rowid) FROM " + table + ")"));
  write->Bind(1, value);
  return write->Run();
}

bool SmsStore::Impl::RaiseCounter(const char *counterTable, const char *table, const char *key,
                                  int &value) {
  SqliteStatement max(db.Handle(), std::string("SELECT MAX(") + key + ") FROM " + table);
  if (!max.Valid() || !max.Next()) return false;
  const std::int64_t highest = max.Int64(0);
  if (highest >= value) {
    value = static_cast<int>(highest + 1);
    return StoreCounter(counterTable, value);
  }
  return true;
}

bool SmsStore::Impl::BeginTransaction() {
  inTransaction = db.Exec("BEGIN IMMEDIATE");
  return inTransaction;
}

SmsStore::Impl::Write::Write(Impl &impl) : impl_(impl), exceptions_(std::uncaught_exceptions()) {
  if (impl_.openWrites++ == 0) impl_.db.Exec("SAVEPOINT store_write");
}

SmsStore::Impl::Write::~Write() {
  if (impl_.openWrites == 0 || --impl_.openWrites > 0) return;
  if (std::uncaught_exceptions() > exceptions_)
    impl_.RollBackWrite();
  else
    impl_.db.Exec("RELEASE store_write");
}

void SmsStore::Impl::RollBackWrite() {
  openWrites = 0;
  if (db.Exec("ROLLBACK TO store_write") && db.Exec("RELEASE store_write")) return;
  // The database refused to undo the write alone: undo everything since the
  // last commit, as the end of the process would have.
  db.Exec("ROLLBACK");
  BeginTransaction();
}

void SmsStore::Impl::Abandoned(void *impl) {
  Impl &d = *static_cast<Impl *>(impl);
  // Statements the abandoned frames were stepping would go on from where
  // they stopped, with their old bindings.
  d.db.ResetAll();
  if (d.openWrites > 0) d.RollBackWrite();
  d.positionsValid = false;
  if (d.usable) {
    // A commit may have been cut off between its two steps.
    d.inTransaction = !d.db.InAutocommit();
    if (!d.inTransaction) d.BeginTransaction();
  }
}

namespace {

// Whether an existing file starts like an SQLite database. An empty file
// counts as a new database.
bool LooksLikeDatabase(const std::string &path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (ok && st.st_size > 0) {
    static const char kHeader[16] = "SQLite format 3";
    char header[16] = {};
    ok = st.st_size >= 512 && ::pread(fd, header, sizeof header, 0) == sizeof header &&
         std::memcmp(header, kHeader, sizeof header) == 0;
  }
  ::close(fd);
  return ok;
}

// Creates an empty file readable by its owner only; false when it exists.
bool CreatePrivateFile(const std::string &path) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

} // namespace

SmsStore::SmsStore(const std::string &dataFolder, StoreServices services)
    : impl_(std::make_unique<Impl>()) {
  impl_->services = std::move(services);
  path_ = dataFolder;
  if (!path_.empty() && path_.back() != '/') path_ += '/';
  path_ += "SMS.db";

  Impl &d = *impl_;
  std::lock_guard<shell::TrackedRecursiveMutex> guard(d.conn);

  struct stat st {};
  if (::lstat(path_.c_str(), &st) == 0) {
    if (!LooksLikeDatabase(path_)) return;
  } else if (errno != ENOENT || !CreatePrivateFile(path_)) {
    return;
  }
  if (!d.db.Open(path_)) return;
  // Refuse a damaged or foreign file before anything is written to it.
  if (!StoreSchema::Check(d.db)) {
    d.db.Close();
    return;
  }
  if (!d.db.Exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; "
                 "PRAGMA cache_size = -32768; PRAGMA busy_timeout = 5000;")) {
    d.db.Close();
    return;
  }

  bool ok =
      d.db.Exec("BEGIN IMMEDIATE") && StoreSchema::Create(d.db) &&
      d.LoadCounter("NextSMSID", d.nextSmsId) && d.LoadCounter("NextGroupID", d.nextGroupId) &&
      d.LoadCounter("NextContactID", d.nextContactId) &&
      d.RaiseCounter("NextSMSID", "SMS", "ID", d.nextSmsId) &&
      d.RaiseCounter("NextGroupID", "\"GROUP\"", "GID", d.nextGroupId) &&
      d.RaiseCounter("NextContactID", "CONTACTS", "CID", d.nextContactId) && d.db.Exec("COMMIT");
  if (!ok) {
    d.db.Exec("ROLLBACK");
    d.db.Close();
    return;
  }
  d.usable = true;
  d.BeginTransaction();

  if (GroupCount() == 0) {
    const shell::StringTable &strings =
        d.services.strings ? *d.services.strings : shell::StringTable::BuiltIn();
    const std::string &name = strings.Get(1248);
    AddGroup(name.empty() ? shell::StringTable::BuiltIn().Get(1248) : name);
  }
  // Rows an interrupted run left behind: edits go back to their status
  // before editing, sends in progress become failed.
  RestoreEditedSms();
  d.db.Exec("UPDATE SMS SET Stat = 2 WHERE Stat = 10");
}

SmsStore::~SmsStore() {
  Commit();
  std::lock_guard<shell::TrackedRecursiveMutex> guard(impl_->conn);
  impl_->db.Close();
}

bool SmsStore::IsUsable() const {
  std::lock_guard<shell::TrackedRecursiveMutex> guard(impl_->conn);
  struct stat st {};
  return impl_->usable && ::stat(path_.c_str(), &st) == 0;
}

bool SmsStore::Commit() {
  std::lock_guard<shell::TrackedRecursiveMutex> guard(impl_->conn);
  Impl &d = *impl_;
  if (!d.usable) return false;
  if (d.inTransaction) {
    if (!d.db.Exec("COMMIT")) {
      // A commit that failed on a full disk or an I/O error may have rolled
      // the transaction back; changes made from now on need a new one.
      if (d.db.InAutocommit()) d.BeginTransaction();
      return false;
    }
    d.inTransaction = false;
  }
  d.BeginTransaction();
  return true;
}

void SmsStore::SetLogWriter(shell::LogWriter *log) {
  std::lock_guard<shell::TrackedRecursiveMutex> guard(impl_->conn);
  impl_->services.log = log;
}
void SmsStore::SetSettings(const shell::Settings *settings) {
  std::lock_guard<shell::TrackedRecursiveMutex> guard(impl_->conn);
  impl_->services.settings = settings;
}
void SmsStore::SetNameTables(const shell::NameTables *names) {
  std::lock_guard<shell::TrackedRecursiveMutex> guard(impl_->conn);
  impl_->services.names = names;
}
void SmsStore::SetStringTable(const shell::StringTable *strings) {
  std::lock_guard<shell::TrackedRecursiveMutex> guard(impl_->conn);
  impl_->services.strings = strings;
}
void SmsStore::SetClock(std::function<std::int64_t()> now) {
  std::lock_guard<shell::TrackedRecursiveMutex> guard(impl_->conn);
  impl_->services.now = std::move(now);
}
void SmsStore::SetRowWrittenHook(std::function<void(int id)> hook) {
  std::lock_guard<shell::TrackedRecursiveMutex> guard(impl_->conn);
  impl_->rowWritten = std::move(hook);
}

int SmsStore::NextSmsId() {
  std::lock_guard<shell::TrackedRecursiveMutex> guard(impl_->conn);
  return impl_->ReserveSmsIds(1);
}

int SmsStore::Impl::ReserveSmsIds(int count) {
  const int id = nextSmsId;
  if (!usable || count < 1 || id > INT_MAX - count || !StoreCounter("NextSMSID", id + count))
    return -1;
  nextSmsId = id + count;
  return id;
}

int SmsStore::NextGroupId() {
  std::lock_guard<shell::TrackedRecursiveMutex> guard(impl_->conn);
  Impl &d = *impl_;
  const int id = d.nextGroupId;
  if (!d.usable || !d.StoreCounter("NextGroupID", id + 1)) return -1;
  d.nextGroupId = id + 1;
  return id;
}

int SmsStore::NextContactId() {
  std::lock_guard<shell::TrackedRecursiveMutex> counter(contactCounterLock_);
  std::lock_guard<shell::TrackedRecursiveMutex> guard(impl_->conn);
  Impl &d = *impl_;
  const int id = d.nextContactId;
  if (!d.usable || !d.StoreCounter("NextContactID", id + 1)) return -1;
  d.nextContactId = id + 1;
  return id;
}

int SmsStore::PeekNextContactId() {
  std::lock_guard<shell::TrackedRecursiveMutex> counter(contactCounterLock_);
  std::lock_guard<shell::TrackedRecursiveMutex> guard(impl_->conn);
  return impl_->nextContactId;
}

} // namespace store
