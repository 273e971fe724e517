#pragma once
// Type library registration in HKCR:
//
//   TypeLib\{LIBID}\<major>.<minor>          default = the library's doc string
//     0\linux64                              default = module path
//     FLAGS                                  default = library flags ("0")
//     HELPDIR                                default = help folder
//   Interface\{IID}                          default = interface name
//     ProxyStubClsid32                       default = {00020424-0000-0000-C000-000000000046}
//     TypeLib                                default = {LIBID}, "Version" = <major>.<minor>
//
// for every interface and dispatch interface of the library. Versions are
// written in hexadecimal digits ("1.0", "a.0"), as automation does.

#include <automation/automation.h>

#include <registry/Registry.h>

#include <string>

namespace automation {

class TypeLibRegistrar {
public:
  explicit TypeLibRegistrar(registry::Registry &reg) : reg_(reg) {}

  HRESULT Register(ITypeLib *lib, const std::string &modulePath, const char *helpDir);
  HRESULT Unregister(const GUID &libId, WORD major, WORD minor);

  static std::string VersionKey(WORD major, WORD minor);

private:
  HRESULT RegisterInterface(ITypeLib *lib, UINT index, const std::string &libId,
                            const std::string &version);

  registry::Registry &reg_;
};

} // namespace automation
