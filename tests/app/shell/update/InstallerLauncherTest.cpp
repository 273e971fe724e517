#include <update/InstallerLauncher.h>

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

namespace {

namespace fs = std::filesystem;
using update::InstallerLauncher;

int ExitCodeOf(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// The session id in a /proc/<pid>/stat line (the field after pgrp).
long SessionOf(const std::string &stat) {
  std::istringstream rest(stat.substr(stat.rfind(')') + 1));
  std::string state;
  long ppid = 0, pgrp = 0, session = 0;
  rest >> state >> ppid >> pgrp >> session;
  return session;
}

TEST(InstallerLauncherTest, StartsTheFileOwnerOnlyInANewSessionWithNothingInherited) {
  fs::path dir = testsupport::MakeTempDir("installer");
  fs::path installer = dir / "Update.run";
  testsupport::WriteFile(installer, "#!/bin/sh\n"
                                    "cd \"$(dirname \"$0\")\"\n"
                                    "cat /proc/self/stat > stat\n"
                                    "grep '^SigBlk:' /proc/self/status > sigblk\n"
                                    "readlink /proc/$$/fd/0 > stdin\n"
                                    "if [ -e /proc/$$/fd/50 ]; then echo open; else echo closed; fi"
                                    " > fd50\n");
  // A descriptor without close-on-exec (a lock, say) and a blocked signal
  // must not reach the installer.
  int leaked = dup2(open("/dev/null", O_RDONLY), 50);
  ASSERT_EQ(leaked, 50);
  sigset_t term, previous;
  sigemptyset(&term);
  sigaddset(&term, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &term, &previous);

  std::string error;
  pid_t pid = 0;
  bool started = InstallerLauncher::Start(installer, &error, &pid);
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  close(leaked);
  ASSERT_TRUE(started) << error;
  ASSERT_EQ(ExitCodeOf(pid), 0);

  EXPECT_EQ(fs::status(installer).permissions(), fs::perms::owner_all);
  EXPECT_EQ(SessionOf(testsupport::ReadFile(dir / "stat")), pid);
  EXPECT_EQ(testsupport::ReadFile(dir / "sigblk"), "SigBlk:\t0000000000000000\n");
  EXPECT_EQ(testsupport::ReadFile(dir / "stdin"), "/dev/null\n");
  EXPECT_EQ(testsupport::ReadFile(dir / "fd50"), "closed\n");
}

TEST(InstallerLauncherTest, AFileThatCannotRunIsReported) {
  fs::path dir = testsupport::MakeTempDir("installer");
  testsupport::WriteFile(dir / "Update.run", std::string("\x7f"
                                                         "ELX garbage",
                                                         12));
  std::string error;
  EXPECT_FALSE(InstallerLauncher::Start(dir / "Update.run", &error));
  EXPECT_EQ(error, "Exec format error");
  EXPECT_FALSE(InstallerLauncher::Start(dir / "absent.run", &error));
  EXPECT_EQ(error, "No such file or directory");
}

} // namespace
