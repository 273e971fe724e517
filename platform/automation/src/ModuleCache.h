#pragma once
// Server modules loaded by path. A module is loaded once per process and
// stays loaded: objects it made may live anywhere in the process.

#include <string>

namespace automation {

class ModuleCache {
public:
  // The module's handle; null when it cannot be loaded (`error` says why).
  static void *Load(const std::string &path, std::string *error = nullptr);
  // An export of a loaded module; null when missing.
  static void *Export(void *module, const char *name);
};

} // namespace automation
