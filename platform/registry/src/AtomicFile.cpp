#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace registry {

namespace {

class Fd {
public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd &) = delete;
  Fd &operator=(const Fd &) = delete;
  int get() const { return fd_; }
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

} // namespace

std::string AtomicFile::UniqueSuffix() {
  static std::atomic<unsigned long> counter{0};
  return std::to_string(::getpid()) + "." + std::to_string(counter.fetch_add(1));
}

bool AtomicFile::SyncFolder(const std::filesystem::path &folder) {
  Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() < 0) return false;
  return ::fsync(fd.get()) == 0;
}

bool AtomicFile::Write(const std::filesystem::path &target, std::string_view bytes) {
  std::filesystem::path temp =
      target.parent_path() /
      (std::string(kTempPrefix) + target.filename().string() + "." + UniqueSuffix());
  Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (fd.get() < 0) return false;
  bool ok = WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
  ok = fd.Close() && ok;
  if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  // The new content is in place; a failed folder flush only weakens
  // durability against power loss, so it does not undo the write.
  SyncFolder(target.parent_path());
  return true;
}

std::optional<std::string> AtomicFile::Read(const std::filesystem::path &path, size_t maxBytes,
                                            bool &missing) {
  missing = false;
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    missing = errno == ENOENT || errno == ENOTDIR;
    return std::nullopt;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  if (static_cast<uint64_t>(st.st_size) > maxBytes) return std::nullopt;
  std::string out;
  out.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  while (true) {
    ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    if (out.size() + static_cast<size_t>(n) > maxBytes) return std::nullopt;
    out.append(buf, static_cast<size_t>(n));
  }
  return out;
}

} // namespace registry
