#include "transport/SslLibrary.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>

namespace parlink {

namespace {
constexpr char kSystemLibrary[] = "libssl.so.3";

// Folder of the module (shared library or program) this code is part of.
std::string OwnModuleFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void *>(&OwnModuleFolder), &info) == 0 || !info.dli_fname)
    return {};
  std::error_code ec;
  auto path = std::filesystem::weakly_canonical(info.dli_fname, ec);
  if (ec) path = info.dli_fname;
  return path.parent_path().string();
}

template <typename Fn> bool Bind(void *handle, const char *name, Fn &slot) {
  void *symbol = dlsym(handle, name);
  slot = reinterpret_cast<Fn>(symbol);
  return symbol != nullptr;
}
} // namespace

SslLibrary::SslLibrary() {
  if (const char *forced = std::getenv("PARLINK_SSL_LIBRARY")) {
    available_ = Load(forced) && Resolve();
    return;
  }
  const std::string folder = OwnModuleFolder();
  if (!folder.empty()) {
    const std::string beside = folder + "/" + kSystemLibrary;
    std::error_code ec;
    if (std::filesystem::exists(beside, ec) && Load(beside) && Resolve()) {
      available_ = true;
      return;
    }
  }
  available_ = Load(kSystemLibrary) && Resolve();
}

SslLibrary::~SslLibrary() {
  if (handle_) dlclose(handle_);
}

bool SslLibrary::Load(const std::string &path) {
  if (handle_) {
    dlclose(handle_);
    handle_ = nullptr;
  }
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_) loadedPath_ = path;
  return handle_ != nullptr;
}

bool SslLibrary::Resolve() {
  bool ok = true;
  ok &= Bind(handle_, "SSL_read", read);
  ok &= Bind(handle_, "SSL_write", write);
  ok &= Bind(handle_, "SSL_free", free);
  ok &= Bind(handle_, "SSL_connect", connect);
  ok &= Bind(handle_, "SSL_set_fd", setFd);
  ok &= Bind(handle_, "SSL_new", newConnection);
  ok &= Bind(handle_, "SSL_CTX_free", ctxFree);
  ok &= Bind(handle_, "SSL_CTX_new", ctxNew);
  ok &= Bind(handle_, "TLS_client_method", clientMethod);
  ok &= Bind(handle_, "OPENSSL_init_ssl", libraryInit);
  ok &= Bind(handle_, "OPENSSL_init_ssl", loadErrorStrings);
  ok &= Bind(handle_, "SSL_CTX_set_default_verify_paths", ctxSetDefaultVerifyPaths);
  ok &= Bind(handle_, "SSL_CTX_set_verify", ctxSetVerify);
  ok &= Bind(handle_, "SSL_set1_host", setHost);
  ok &= Bind(handle_, "SSL_ctrl", control);
  ok &= Bind(handle_, "SSL_get0_param", verifyParam);
  // libcrypto's function, found through libssl's dependencies.
  ok &= Bind(handle_, "X509_VERIFY_PARAM_set1_ip_asc", verifyParamSetIp);
  return ok;
}

} // namespace parlink
