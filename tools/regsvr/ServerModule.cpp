#include "ServerModule.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

ServerModule::~ServerModule() {
  // The library stays loaded: objects or threads it started may outlive the
  // call, exactly as when the runtime loads it.
}

bool ServerModule::Load(const std::string &path, std::string &error) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    error = "no such file";
    return false;
  }
  if (std::filesystem::is_directory(path, ec)) {
    error = "is a directory";
    return false;
  }
  // An absolute path, so the loader takes this very file (a bare name would
  // be searched for) and the library registers where it really is.
  std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  path_ = ec ? path : absolute.lexically_normal().string();
  handle_ = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char *why = dlerror();
    error = why != nullptr ? why : "cannot be loaded";
    return false;
  }
  return true;
}

bool ServerModule::Call(bool unregister, HRESULT &hr, std::string &error) {
  const char *name = unregister ? "DllUnregisterServer" : "DllRegisterServer";
  void *symbol = handle_ != nullptr ? dlsym(handle_, name) : nullptr;
  if (symbol == nullptr) {
    error = std::string("the library does not export ") + name;
    return false;
  }
  auto entry = reinterpret_cast<PFN_DllRegisterServer>(symbol);
  hr = entry();
  return true;
}
