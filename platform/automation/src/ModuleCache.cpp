#include "ModuleCache.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

namespace automation {

namespace {

std::mutex g_mutex;

std::map<std::string, void *> &Modules() {
  // Never destroyed: servers may still be called while the process exits.
  static auto *modules = new std::map<std::string, void *>();
  return *modules;
}

} // namespace

void *ModuleCache::Load(const std::string &path, std::string *error) {
  if (path.empty()) {
    if (error) *error = "empty module path";
    return nullptr;
  }
  std::lock_guard lock(g_mutex);
  auto &modules = Modules();
  if (auto it = modules.find(path); it != modules.end()) return it->second;
  void *handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    // A failure is not remembered: the file may be installed later.
    if (error) {
      const char *why = ::dlerror();
      *error = why ? why : "cannot load module";
    }
    return nullptr;
  }
  modules.emplace(path, handle);
  return handle;
}

void *ModuleCache::Export(void *module, const char *name) {
  if (!module || !name) return nullptr;
  return ::dlsym(module, name);
}

} // namespace automation
