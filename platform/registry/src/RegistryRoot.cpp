// Where the registry lives when no root is given.
#include <registry/Registry.h>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace registry {

namespace {

const char *NonEmptyEnv(const char *name) {
  const char *value = std::getenv(name);
  return value && *value ? value : nullptr;
}

std::filesystem::path HomeFolder() {
  if (const char *home = NonEmptyEnv("HOME")) return home;
  if (const passwd *pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/tmp";
}

} // namespace

std::filesystem::path DefaultRoot() {
  if (const char *root = NonEmptyEnv("DOVETEXT_REGISTRY")) return root;
  std::filesystem::path config;
  // Relative values are invalid for XDG folders and are ignored.
  if (const char *xdg = NonEmptyEnv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/')
    config = xdg;
  else
    config = HomeFolder() / ".config";
  return config / "dovetext" / "registry";
}

} // namespace registry
