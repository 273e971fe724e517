#include "shell/Logger.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace shell {

namespace {

bool WriteAll(int fd, const char *data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Appends bytes to the file, creating it (0600) when absent. Failures are
// silent: the log never reports to its callers.
void AppendToFile(const std::string &path, const std::string &bytes) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return;
  WriteAll(fd, bytes.data(), bytes.size());
  ::close(fd);
}

std::tm LocalTime(std::time_t when) {
  std::tm parts{};
  if (!::localtime_r(&when, &parts)) parts = std::tm{};
  return parts;
}

// Moves a file to a new name, never over an existing file.
bool RenameNoReplace(const std::string &from, const std::string &to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
    return true;
  }
  if (errno != EINVAL && errno != ENOSYS) return false;
  // File systems without the flag: a hard link fails on an existing name.
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  ::unlink(from.c_str());
  return true;
}

} // namespace

Logger::Logger(std::string path, Clock clock)
    : mutex_(std::make_unique<lockfile::LockFile>(kMutexName)), path_(std::move(path)),
      clock_(std::move(clock)) {
  debugSink_ = std::getenv("DOVETEXT_DEBUG") != nullptr;
  AppendToFile(path_, StartMarker(Now()));
}

Logger::~Logger() = default;

std::time_t Logger::Now() const {
  return clock_ ? clock_() : std::time(nullptr);
}

std::string Logger::StartMarker(std::time_t when) {
  static const char *const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char *const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::tm t = LocalTime(when);
  const char *day = kDays[(t.tm_wday % 7 + 7) % 7];
  const char *month = kMonths[(t.tm_mon % 12 + 12) % 12];
  // The C library's asctime layout, without its line feed.
  std::string text = "Started @ " + WinFormat("%s %s%3d %02d:%02d:%02d %d", day, month, t.tm_mday,
                                              t.tm_hour, t.tm_min, t.tm_sec, t.tm_year + 1900);
  text += "\r\n------\r\n";
  return text;
}

std::string Logger::EntryPrefix(std::time_t when, long threadId) {
  const std::tm t = LocalTime(when);
  return WinFormat("%02d/%02d/%02d %02d:%02d:%02d (%x)   ", t.tm_mon + 1, t.tm_mday,
                   t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec, threadId);
}

std::string Logger::RotatedName(const std::string &path, std::time_t when) {
  const std::tm t = LocalTime(when);
  return path + WinFormat(".%04d%02d%02d.%02d%02d.log", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                          t.tm_hour, t.tm_min);
}

void Logger::WriteEntry(std::string_view text) {
  std::lock_guard<TrackedRecursiveMutex> guard(lock_);
  if (text.size() > kWinFormatMax) text = text.substr(0, kWinFormatMax);
  const std::time_t when = Now();
  std::string entry = EntryPrefix(when, static_cast<long>(::gettid()));
  entry.append(text);
  entry += "\r\n";
  // One write per entry; a rotated or deleted log is started afresh.
  AppendToFile(path_, entry);
  if (debugSink_) {
    std::string line(text);
    line += "\r\n";
    WriteAll(STDERR_FILENO, line.data(), line.size());
  }
  RotateIfNeeded(when);
}

void Logger::RotateIfNeeded(std::time_t when) {
  struct stat st {};
  if (::stat(path_.c_str(), &st) != 0) return;
  if (static_cast<std::uint64_t>(st.st_size) <= limit_) return;
  // A failed rename (e.g. a second rotation within the same minute) is
  // retried after the next entry.
  RenameNoReplace(path_, RotatedName(path_, when));
}

} // namespace shell
