#include <lockfile/LockFile.h>

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using lockfile::LockFile;

TEST(LockFileTest, LivesInTheRuntimeFolderNamedAfterTheMutex) {
  const char *runtime = std::getenv("XDG_RUNTIME_DIR");
  ASSERT_NE(runtime, nullptr);
  LockFile lock("Dovetext3Mutex");
  ASSERT_TRUE(lock.IsOpen());
  EXPECT_EQ(lock.Path(), std::string(runtime) + "/Dovetext3Mutex.lock");
  struct stat st {};
  ASSERT_EQ(::stat(lock.Path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(LockFileTest, FallsBackToTmpWithoutRuntimeFolderUnderTheUsersOwnName) {
  std::string saved = std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";
  ::unsetenv("XDG_RUNTIME_DIR");
  const std::string name = "DvLockTest" + std::to_string(::getpid());
  std::string path;
  {
    LockFile lock(name);
    path = lock.Path();
    EXPECT_TRUE(lock.IsOpen());
  }
  ::unlink(path.c_str());
  ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
  // Another user's lock (or a stale file of it) in the shared folder is
  // never this user's lock.
  EXPECT_EQ(path, "/tmp/" + name + "-" + std::to_string(::getuid()) + ".lock");
  EXPECT_EQ(LockFile::DefaultFolder(), saved);
  EXPECT_EQ(LockFile(name).Path(), saved + "/" + name + ".lock");
}

TEST(LockFileTest, NamesCannotLeaveTheFolder) {
  auto dir = testsupport::MakeTempDir("locks");
  LockFile lock("../evil/name", dir.string());
  ASSERT_TRUE(lock.IsOpen());
  EXPECT_EQ(std::filesystem::path(lock.Path()).parent_path(), dir);
}

TEST(LockFileTest, SecondHolderIsRefusedUntilRelease) {
  auto dir = testsupport::MakeTempDir("locks");
  LockFile first("Probe", dir.string());
  LockFile second("Probe", dir.string());
  ASSERT_TRUE(first.TryAcquire());
  EXPECT_TRUE(first.IsHeld());
  EXPECT_FALSE(second.TryAcquire());
  first.Release();
  EXPECT_FALSE(first.IsHeld());
  EXPECT_TRUE(second.TryAcquire());
  EXPECT_FALSE(first.TryAcquire());
}

TEST(LockFileTest, DestructionReleasesTheLock) {
  auto dir = testsupport::MakeTempDir("locks");
  {
    LockFile held("Probe", dir.string());
    ASSERT_TRUE(held.TryAcquire());
  }
  LockFile next("Probe", dir.string());
  EXPECT_TRUE(next.TryAcquire());
}

TEST(LockFileTest, OpeningWithoutAcquiringHoldsNothing) {
  auto dir = testsupport::MakeTempDir("locks");
  LockFile opened("DovetextLoggerMutex", dir.string());
  LockFile other("DovetextLoggerMutex", dir.string());
  EXPECT_TRUE(opened.IsOpen());
  EXPECT_TRUE(other.TryAcquire());
}

TEST(LockFileTest, AnotherProcessSeesTheLockHeld) {
  auto dir = testsupport::MakeTempDir("locks");
  LockFile held("Dovetext3Mutex", dir.string());
  ASSERT_TRUE(held.TryAcquire());
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    LockFile probe("Dovetext3Mutex", dir.string());
    ::_exit(probe.TryAcquire() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the child took a lock the parent holds";
}

TEST(LockFileTest, AcquireWaitsForTheHolder) {
  auto dir = testsupport::MakeTempDir("locks");
  LockFile held("Probe", dir.string());
  ASSERT_TRUE(held.TryAcquire());
  std::atomic<bool> acquired{false};
  std::thread waiter([&] {
    LockFile mine("Probe", dir.string());
    acquired = mine.Acquire();
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_FALSE(acquired.load());
  held.Release();
  waiter.join();
  EXPECT_TRUE(acquired.load());
}

TEST(LockFileTest, UnopenableFolderFailsQuietly) {
  LockFile lock("Probe", "/nonexistent-folder-for-locks");
  EXPECT_FALSE(lock.IsOpen());
  EXPECT_FALSE(lock.TryAcquire());
  EXPECT_FALSE(lock.Acquire());
  lock.Release();
}

} // namespace
