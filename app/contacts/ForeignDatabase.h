#pragma once
// Reading another program's SQLite database without ever writing to it. The
// file is opened read-only with a short busy time-out. A program that keeps
// its database locked while it runs (a mail client does) makes that fail:
// then the file and its write-ahead log are copied into a private temporary
// folder, the copy is read (its log replayed, so what was only in the log is
// there), and the folder is removed.

#include <filesystem>
#include <functional>

struct sqlite3;

namespace contacts {

class ForeignDatabase {
public:
  // `read` returns false when a statement failed. True when one of the two
  // reads succeeded; `copied` tells whether the copy was read.
  static bool Read(const std::filesystem::path &file, const std::function<bool(sqlite3 *)> &read,
                   bool *copied = nullptr);

  static constexpr int kBusyTimeoutMs = 250;
};

} // namespace contacts
