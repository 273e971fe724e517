#include "frame/ModulePath.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace parlink::frame {

std::string ModulePath::Get() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void *>(&ModulePath::Get), &info) == 0 || info.dli_fname == nullptr ||
      info.dli_fname[0] == 0) {
    return {};
  }
  // dli_fname is the name the loader was given, which may be relative. Make it
  // absolute but keep symbolic links as they are (an installer may rely on them).
  std::error_code ec;
  std::filesystem::path path = std::filesystem::absolute(info.dli_fname, ec);
  if (ec) return {};
  return path.lexically_normal().string();
}

} // namespace parlink::frame
