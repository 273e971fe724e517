#pragma once
// Logger: the program's diagnostic log `SMS.log` in the data folder.
//
// Each construction appends the start marker "Started @ <asctime>" followed
// by "\r\n------\r\n". Each entry is one write of the prefix
// "MM/DD/YYYY hh:mm:ss (<thread id in lower-case hex>)   ", the entry text
// (at most 1024 bytes) and "\r\n". After an entry that takes the file past
// 1,048,576 bytes the file is renamed to "<path>.YYYYMMDD.hhmm.log" (never
// over an existing file; a failed rename is retried after the next entry),
// and the next entry starts a new file. The file is opened and closed for
// every entry. No failure reaches the caller.
//
// Entries are serialised by a recursive (tracked) lock; every thread may
// write. When the environment variable DOVETEXT_DEBUG is set, each entry
// text is also written to stderr.

#include "shell/LogWriter.h"
#include "shell/TrackedRecursiveMutex.h"
#include "shell/WinFormat.h"

#include <lockfile/LockFile.h>

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace shell {

class Logger : public LogWriter {
public:
  static constexpr std::uint64_t kSizeLimit = 1048576;
  static constexpr const char *kMutexName = "DovetextLoggerMutex";

  // Seconds since 1970; the log shows them in local time.
  using Clock = std::function<std::time_t()>;

  // Opens (or creates) the named lock "DovetextLoggerMutex" and holds it
  // open for the logger's lifetime without ever waiting on it, then appends
  // the start marker to the file at `path`.
  explicit Logger(std::string path, Clock clock = {});
  ~Logger() override;
  Logger(const Logger &) = delete;
  Logger &operator=(const Logger &) = delete;

  // Formats the entry text with the wvsprintf rules (at most 1024 bytes)
  // and appends one entry.
  template <class... Args> void Log(std::string_view format, const Args &...args) {
    WriteEntry(WinFormat(format, args...));
  }

  // Appends one entry with this text, cut to 1024 bytes.
  void WriteEntry(std::string_view text) override;

  const std::string &Path() const { return path_; }
  std::uint64_t SizeLimit() const { return limit_; }

  // The start marker and the prefix for a given time and thread (also used by
  // the tests to check the format).
  static std::string StartMarker(std::time_t when);
  static std::string EntryPrefix(std::time_t when, long threadId);
  static std::string RotatedName(const std::string &path, std::time_t when);

private:
  std::time_t Now() const;
  void RotateIfNeeded(std::time_t when);

  std::unique_ptr<lockfile::LockFile> mutex_;
  TrackedRecursiveMutex lock_;
  std::uint64_t limit_ = kSizeLimit;
  std::string path_;
  Clock clock_;
  bool debugSink_ = false;
};

} // namespace shell
