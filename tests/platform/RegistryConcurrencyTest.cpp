// Several writers at once, and writers that die mid-write.
#include <registry/Registry.h>
#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <thread>

namespace {

namespace fs = std::filesystem;
using registry::Hive;
using registry::Registry;

constexpr const char *kKey = "SOFTWARE\\Quorvane\\Dvtx3";

// Runs `body` in a child process; returns its pid.
template <typename Body> pid_t Spawn(Body body) {
  pid_t pid = fork();
  if (pid == 0) {
    int rc = 1;
    try {
      rc = body() ? 0 : 1;
    } catch (...) {
    }
    _exit(rc);
  }
  return pid;
}

int Wait(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

int StrayFiles(const fs::path &folder) {
  int n = 0;
  for (const auto &entry : fs::recursive_directory_iterator(folder)) {
    std::string name = entry.path().filename().string();
    if (name.starts_with("%%tmp.") || name.starts_with("%%new.") || name.starts_with("%%trash."))
      ++n;
  }
  return n;
}

TEST(RegistryConcurrency, ProcessesWritingOneKeyNeverLoseAValue) {
  const fs::path root = testsupport::MakeTempDir("registry");
  constexpr int kProcesses = 4, kValues = 40;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    children.push_back(Spawn([&, p] {
      Registry reg(root);
      for (int i = 0; i < kValues; ++i)
        if (!reg.SetValue(Hive::LocalMachine, kKey,
                          "p" + std::to_string(p) + "_" + std::to_string(i),
                          std::to_string(p * 1000 + i)))
          return false;
      return true;
    }));
  }
  for (pid_t pid : children) {
    int status = Wait(pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  Registry reg(root);
  auto values = reg.ListValues(Hive::LocalMachine, kKey);
  ASSERT_EQ(values.size(), static_cast<size_t>(kProcesses * kValues));
  for (int p = 0; p < kProcesses; ++p)
    for (int i = 0; i < kValues; ++i)
      EXPECT_EQ(
          reg.GetValue(Hive::LocalMachine, kKey, "p" + std::to_string(p) + "_" + std::to_string(i)),
          std::to_string(p * 1000 + i));
}

TEST(RegistryConcurrency, ThreadsCreatingAndDeletingKeysStayConsistent) {
  const fs::path root = testsupport::MakeTempDir("registry");
  constexpr int kThreads = 4, kRounds = 30;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      Registry reg(root);
      for (int i = 0; i < kRounds; ++i) {
        std::string own = "Shared\\T" + std::to_string(t) + "\\N" + std::to_string(i % 3);
        reg.SetValue(Hive::CurrentUser, own, "i", std::to_string(i));
        reg.SetValue(Hive::CurrentUser, "Shared", "t" + std::to_string(t), std::to_string(i));
        if (i % 5 == 4) reg.DeleteKeyTree(Hive::CurrentUser, "Shared\\T" + std::to_string(t));
      }
    });
  }
  for (auto &t : threads)
    t.join();
  Registry reg(root);
  for (int t = 0; t < kThreads; ++t)
    EXPECT_EQ(reg.GetValue(Hive::CurrentUser, "Shared", "t" + std::to_string(t)),
              std::to_string(kRounds - 1));
  EXPECT_EQ(StrayFiles(root), 0);
}

TEST(RegistryConcurrency, WriterKilledMidWriteLeavesAWholeValue) {
  const fs::path root = testsupport::MakeTempDir("registry");
  Registry reg(root);
  // Large values make the write window wide enough to be hit.
  const std::string a(1 << 20, 'a'), b(1 << 20, 'b');
  ASSERT_TRUE(reg.SetValue(Hive::LocalMachine, kKey, "Blob", a));
  std::mt19937 random(12345);
  for (int round = 0; round < 12; ++round) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t pid = Spawn([&] {
      Registry child(root);
      char byte = 1;
      if (write(ready[1], &byte, 1) != 1) return false;
      for (int i = 0;; ++i)
        child.SetValue(Hive::LocalMachine, kKey, "Blob", i % 2 ? a : b);
    });
    close(ready[1]);
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
    kill(pid, SIGKILL);
    Wait(pid);

    auto value = reg.GetValue(Hive::LocalMachine, kKey, "Blob");
    ASSERT_TRUE(value.has_value()) << "round " << round;
    ASSERT_TRUE(*value == a || *value == b) << "round " << round << ": torn value";
    // The lock died with its holder: this write does not hang.
    ASSERT_TRUE(reg.SetValue(Hive::LocalMachine, kKey, "After", std::to_string(round)));
  }
  // The next write swept whatever the dead writers left behind.
  EXPECT_EQ(StrayFiles(root), 0);
}

TEST(RegistryConcurrency, LockHolderDyingWithAHalfWrittenFile) {
  const fs::path root = testsupport::MakeTempDir("registry");
  Registry reg(root);
  ASSERT_TRUE(reg.SetValue(Hive::LocalMachine, kKey, "DataPath", "/old/data"));
  const fs::path folder = reg.KeyFolder(Hive::LocalMachine, kKey);
  const fs::path lockPath = reg.LockPath();

  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t pid = Spawn([&] {
    // What a writer does, stopped half-way: lock held, temporary file half
    // written, the rename never reached.
    int fd = open(lockPath.c_str(), O_RDWR);
    if (fd < 0 || flock(fd, LOCK_EX) != 0) return false;
    testsupport::WriteFile(folder / "%%tmp.%%key.99999.0",
                           "DVREG1\nK5:Dvtx3\nV8:DataPath\n9:/new/da");
    char byte = 1;
    if (write(ready[1], &byte, 1) != 1) return false;
    pause();
    return true;
  });
  close(ready[1]);
  char byte;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  close(ready[0]);
  kill(pid, SIGKILL);
  Wait(pid);

  EXPECT_EQ(reg.GetValue(Hive::LocalMachine, kKey, "DataPath"), "/old/data");
  EXPECT_EQ(reg.ListValues(Hive::LocalMachine, kKey).size(), 1u);
  EXPECT_EQ(StrayFiles(root), 1);
  ASSERT_TRUE(reg.SetValue(Hive::LocalMachine, kKey, "DataPath", "/new/data"));
  EXPECT_EQ(reg.GetValue(Hive::LocalMachine, kKey, "DataPath"), "/new/data");
  EXPECT_EQ(StrayFiles(root), 0);
}

TEST(RegistryConcurrency, InterruptedKeyCreationAndDeletionLeaveNoHalfKeys) {
  const fs::path root = testsupport::MakeTempDir("registry");
  Registry reg(root);
  ASSERT_TRUE(reg.SetValue(Hive::ClassesRoot, "CLSID\\{A}", "", "kept"));
  const fs::path clsid = reg.KeyFolder(Hive::ClassesRoot, "CLSID");
  // Leftovers of a creation and of a deletion that were cut short.
  fs::create_directories(clsid / "%%new.1.0");
  testsupport::WriteFile(clsid / "%%new.1.0" / "%%key", "DVREG1\nK3:{B}\n");
  fs::create_directories(clsid / "%%trash.1.1" / "SUB");
  EXPECT_EQ(reg.ListSubkeys(Hive::ClassesRoot, "CLSID"), std::vector<std::string>{"{A}"});
  EXPECT_FALSE(reg.KeyExists(Hive::ClassesRoot, "CLSID\\{B}"));
  ASSERT_TRUE(reg.CreateKey(Hive::ClassesRoot, "CLSID\\{C}"));
  EXPECT_EQ(StrayFiles(root), 0);
  EXPECT_EQ(reg.ListSubkeys(Hive::ClassesRoot, "CLSID"), (std::vector<std::string>{"{A}", "{C}"}));
}

} // namespace
