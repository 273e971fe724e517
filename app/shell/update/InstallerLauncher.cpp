#include "InstallerLauncher.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char **environ;

namespace update {

namespace {

// Owns the two spawn descriptions for the length of one start.
struct SpawnSetup {
  posix_spawnattr_t attr;
  posix_spawn_file_actions_t actions;
  int rc = 0;

  SpawnSetup() {
    posix_spawnattr_init(&attr);
    posix_spawn_file_actions_init(&actions);
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    Check(posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK |
                                              POSIX_SPAWN_SETSIGDEF));
    Check(posix_spawnattr_setsigmask(&attr, &none));
    Check(posix_spawnattr_setsigdefault(&attr, &all));
    Check(posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0));
    Check(posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1));
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
  }
  SpawnSetup(const SpawnSetup &) = delete;
  SpawnSetup &operator=(const SpawnSetup &) = delete;

  void Check(int result) {
    if (rc == 0) rc = result;
  }
};

} // namespace

bool InstallerLauncher::Start(const std::filesystem::path &installer, std::string *error,
                              pid_t *pid) {
  auto fail = [&](int err) {
    if (error) *error = std::strerror(err);
    return false;
  };
  const std::string file = installer.string();
  if (chmod(file.c_str(), S_IRWXU) != 0) return fail(errno);

  SpawnSetup setup;
  if (setup.rc != 0) return fail(setup.rc);
  char *argv[] = {const_cast<char *>(file.c_str()), nullptr};
  pid_t child = 0;
  int rc = posix_spawn(&child, file.c_str(), &setup.actions, &setup.attr, argv, environ);
  if (rc != 0) return fail(rc);
  if (pid) *pid = child;
  return true;
}

} // namespace update
