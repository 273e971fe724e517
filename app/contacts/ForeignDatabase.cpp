#include "contacts/ForeignDatabase.h"

#include <sqlite3.h>

#include <cctype>
#include <cstdlib>
#include <string>
#include <system_error>

namespace contacts {

namespace fs = std::filesystem;

namespace {

// "file:" URI of a path: everything but unreserved characters and "/" is
// percent-encoded.
std::string FileUri(const fs::path &file) {
  static const char hex[] = "0123456789ABCDEF";
  std::string uri = "file:";
  for (unsigned char c : fs::absolute(file).string()) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
      uri.push_back(static_cast<char>(c));
    } else {
      uri.push_back('%');
      uri.push_back(hex[c >> 4]);
      uri.push_back(hex[c & 15]);
    }
  }
  return uri + "?mode=ro";
}

bool ReadOpened(sqlite3 *db, const std::function<bool(sqlite3 *)> &read) {
  // One read transaction: a consistent view of the whole file.
  if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) return false;
  bool ok = read(db);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  return ok;
}

bool ReadFile(const std::string &name, int flags, const std::function<bool(sqlite3 *)> &read) {
  sqlite3 *db = nullptr;
  bool ok = sqlite3_open_v2(name.c_str(), &db, flags, nullptr) == SQLITE_OK;
  if (ok) {
    sqlite3_busy_timeout(db, ForeignDatabase::kBusyTimeoutMs);
    ok = ReadOpened(db, read);
  }
  sqlite3_close_v2(db);
  return ok;
}

// A folder only this user can enter, removed with everything in it when the
// scope ends.
class PrivateFolder {
public:
  PrivateFolder() {
    std::error_code ec;
    std::string pattern = (fs::temp_directory_path(ec) / "dovetext-book-XXXXXX").string();
    if (!ec && mkdtemp(pattern.data())) path_ = pattern;
  }
  ~PrivateFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  PrivateFolder(const PrivateFolder &) = delete;
  PrivateFolder &operator=(const PrivateFolder &) = delete;
  const fs::path &Path() const { return path_; }

private:
  fs::path path_;
};

} // namespace

bool ForeignDatabase::Read(const fs::path &file, const std::function<bool(sqlite3 *)> &read,
                           bool *copied) {
  if (copied) *copied = false;
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return false;
  if (ReadFile(FileUri(file), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, read)) return true;

  PrivateFolder folder;
  if (folder.Path().empty()) return false;
  fs::path copy = folder.Path() / "book.sqlite";
  if (!fs::copy_file(file, copy, ec)) return false;
  fs::path wal = file;
  wal += "-wal";
  if (fs::is_regular_file(wal, ec)) {
    fs::path walCopy = copy;
    walCopy += "-wal";
    fs::copy_file(wal, walCopy, ec);
  }
  if (copied) *copied = true;
  return ReadFile(copy.string(), SQLITE_OPEN_READWRITE, read);
}

} // namespace contacts
