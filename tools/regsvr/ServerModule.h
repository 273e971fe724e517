// An in-process server library loaded by path, with its registration
// entry points.
#ifndef DV_TOOLS_REGSVR_SERVERMODULE_H
#define DV_TOOLS_REGSVR_SERVERMODULE_H

#include <automation/automation.h>

#include <string>

class ServerModule {
public:
  ServerModule() = default;
  ~ServerModule();
  ServerModule(const ServerModule &) = delete;
  ServerModule &operator=(const ServerModule &) = delete;

  // Loads the library at `path`; on failure `error` says why.
  bool Load(const std::string &path, std::string &error);
  // Calls DllRegisterServer or DllUnregisterServer; false with a reason
  // when the library does not export it.
  bool Call(bool unregister, HRESULT &hr, std::string &error);

  const std::string &Path() const { return path_; }

private:
  void *handle_ = nullptr;
  std::string path_;
};

#endif // DV_TOOLS_REGSVR_SERVERMODULE_H
