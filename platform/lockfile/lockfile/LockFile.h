#pragma once
// LockFile: the stand-in for a named mutex. The lock is an flock()ed file
// named after the mutex ("<name>.lock") in $XDG_RUNTIME_DIR, or, when that
// is not set, in /tmp with the user id in its name ("<name>-<uid>.lock"). Opening the file never
// blocks; TryAcquire and Acquire take the exclusive lock, Release gives it back, and the destructor
// closes the file (which releases a lock still held). Locks are per open file, so two LockFile
// objects of the same name exclude each other even within one process.

#include <string>

namespace lockfile {

class LockFile {
public:
  // Opens or creates the lock file (mode 0600). A name holding "/" or
  // starting with "." has those characters replaced by "_".
  explicit LockFile(const std::string &name);
  // Opens or creates the lock file in a given folder.
  LockFile(const std::string &name, const std::string &folder);
  ~LockFile();
  LockFile(const LockFile &) = delete;
  LockFile &operator=(const LockFile &) = delete;

  // True when the lock file could be opened.
  bool IsOpen() const { return fd_ >= 0; }
  // Takes the lock when nobody holds it; false at once otherwise.
  bool TryAcquire();
  // Waits until the lock is free and takes it; false on error.
  bool Acquire();
  // Gives the lock back (nothing when not held).
  void Release();
  bool IsHeld() const { return held_; }

  const std::string &Path() const { return path_; }

  // The folder lock files go to: $XDG_RUNTIME_DIR, else /tmp.
  static std::string DefaultFolder();
  // The file name (without ".lock") a named lock gets in that folder.
  static std::string DefaultFileName(const std::string &name);

private:
  std::string path_;
  int fd_ = -1;
  bool held_ = false;
};

} // namespace lockfile
