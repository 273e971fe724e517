#include "lockfile/LockFile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace lockfile {

namespace {

std::string SafeName(const std::string &name) {
  std::string safe = name.empty() ? std::string("_") : name;
  for (char &c : safe) {
    if (c == '/' || c == '\0') c = '_';
  }
  if (safe[0] == '.') safe[0] = '_';
  return safe;
}

const char *RuntimeFolder() {
  const char *runtime = std::getenv("XDG_RUNTIME_DIR");
  return runtime && runtime[0] != '\0' ? runtime : nullptr;
}

} // namespace

std::string LockFile::DefaultFolder() {
  const char *runtime = RuntimeFolder();
  return runtime ? runtime : "/tmp";
}

std::string LockFile::DefaultFileName(const std::string &name) {
  // /tmp is shared by every user: the user id keeps one user's lock (or a
  // stale file of it) from standing in another user's way.
  if (RuntimeFolder()) return name;
  return name + "-" + std::to_string(::getuid());
}

LockFile::LockFile(const std::string &name) : LockFile(DefaultFileName(name), DefaultFolder()) {}

LockFile::LockFile(const std::string &name, const std::string &folder) {
  path_ = folder;
  if (!path_.empty() && path_.back() != '/') path_ += '/';
  path_ += SafeName(name) + ".lock";
  do {
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  } while (fd_ < 0 && errno == EINTR);
}

LockFile::~LockFile() {
  if (fd_ >= 0) {
    Release();
    ::close(fd_);
  }
}

bool LockFile::TryAcquire() {
  if (fd_ < 0) return false;
  if (held_) return true;
  int rc;
  do {
    rc = ::flock(fd_, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  held_ = rc == 0;
  return held_;
}

bool LockFile::Acquire() {
  if (fd_ < 0) return false;
  if (held_) return true;
  int rc;
  do {
    rc = ::flock(fd_, LOCK_EX);
  } while (rc != 0 && errno == EINTR);
  held_ = rc == 0;
  return held_;
}

void LockFile::Release() {
  if (fd_ >= 0 && held_) {
    ::flock(fd_, LOCK_UN);
    held_ = false;
  }
}

} // namespace lockfile
