// OpenSSL's libssl, loaded by name at run time. The secure path may run
// only when the library loaded and every entry point it uses resolved.
//
// The library is looked for beside the module that holds this code (found
// with dladdr), then as the system's "libssl.so.3". When the environment
// variable PARLINK_SSL_LIBRARY is set, exactly that path is loaded instead.
#ifndef PARLINK_TRANSPORT_SSLLIBRARY_H
#define PARLINK_TRANSPORT_SSLLIBRARY_H

#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

#include <string>

namespace parlink {

class SslLibrary {
public:
  SslLibrary();
  ~SslLibrary();
  SslLibrary(const SslLibrary &) = delete;
  SslLibrary &operator=(const SslLibrary &) = delete;

  bool Available() const { return available_; }
  const std::string &LoadedPath() const { return loadedPath_; }

  // The entry points of the secure path. OPENSSL_init_ssl stands in for
  // SSL_library_init and SSL_load_error_strings, TLS_client_method for
  // SSLv23_client_method (OpenSSL 3 exports only the new names).
  decltype(&::SSL_read) read = nullptr;
  decltype(&::SSL_write) write = nullptr;
  decltype(&::SSL_free) free = nullptr;
  decltype(&::SSL_connect) connect = nullptr;
  decltype(&::SSL_set_fd) setFd = nullptr;
  decltype(&::SSL_new) newConnection = nullptr;
  decltype(&::SSL_CTX_free) ctxFree = nullptr;
  decltype(&::SSL_CTX_new) ctxNew = nullptr;
  decltype(&::TLS_client_method) clientMethod = nullptr;
  decltype(&::OPENSSL_init_ssl) libraryInit = nullptr;
  decltype(&::OPENSSL_init_ssl) loadErrorStrings = nullptr;

  // Server certificate and host name verification, and SNI.
  decltype(&::SSL_CTX_set_default_verify_paths) ctxSetDefaultVerifyPaths = nullptr;
  decltype(&::SSL_CTX_set_verify) ctxSetVerify = nullptr;
  decltype(&::SSL_set1_host) setHost = nullptr;
  decltype(&::SSL_ctrl) control = nullptr;
  decltype(&::SSL_get0_param) verifyParam = nullptr;
  decltype(&::X509_VERIFY_PARAM_set1_ip_asc) verifyParamSetIp = nullptr;

private:
  bool Load(const std::string &path);
  bool Resolve();

  void *handle_ = nullptr;
  bool available_ = false;
  std::string loadedPath_;
};

} // namespace parlink

#endif
