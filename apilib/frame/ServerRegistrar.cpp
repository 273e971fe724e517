#include "frame/ServerRegistrar.h"

#include "frame/ModulePath.h"
#include "frame/ParlinkTypeLib.h"

#include <parlink/Parlink.h>
#include <registry/Registry.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace parlink::frame {

namespace {

constexpr const char *kClassName = "SMS Class";

std::string ClassKey() {
  return "CLSID\\" + ServerRegistrar::GuidText(parlink::CLSID_SMS);
}

bool RemoveKeys(registry::Registry &reg) {
  bool clean = true;
  for (const std::string &key : ServerRegistrar::RemovedKeys()) {
    reg.DeleteKeyTree(registry::Hive::ClassesRoot, key);
    if (reg.KeyExists(registry::Hive::ClassesRoot, key)) clean = false;
  }
  return clean;
}

} // namespace

std::string ServerRegistrar::GuidText(const GUID &g) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1],
                g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return text;
}

std::vector<ServerRegistrar::Entry> ServerRegistrar::Script(const std::string &modulePath) {
  const std::string clsid = GuidText(parlink::CLSID_SMS);
  const std::string classKey = ClassKey();
  const std::string versioned = PARLINK_PROGID_VERSIONED;
  const std::string independent = PARLINK_PROGID;
  return {
      {versioned, "", kClassName},
      {versioned + "\\CLSID", "", clsid},
      {independent, "", kClassName},
      {independent + "\\CLSID", "", clsid},
      {independent + "\\CurVer", "", versioned},
      {classKey, "", kClassName},
      {classKey + "\\ProgID", "", versioned},
      {classKey + "\\VersionIndependentProgID", "", independent},
      {classKey + "\\Programmable", "", "", true},
      {classKey + "\\InprocServer32", "", modulePath},
      {classKey + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {classKey + "\\TypeLib", "", GuidText(parlink::LIBID_ParlinkLib)},
  };
}

std::vector<std::string> ServerRegistrar::RemovedKeys() {
  return {PARLINK_PROGID_VERSIONED, PARLINK_PROGID, ClassKey()};
}

HRESULT ServerRegistrar::Register() {
  const std::string modulePath = ModulePath::Get();
  if (modulePath.empty()) return SELFREG_E_CLASS;
  try {
    registry::Registry reg;
    // The class key is rewritten from scratch, so no value of an earlier
    // registration (another module path, say) survives.
    reg.DeleteKeyTree(registry::Hive::ClassesRoot, ClassKey());
    for (const Entry &e : Script(modulePath)) {
      bool ok = e.createOnly ? reg.CreateKey(registry::Hive::ClassesRoot, e.key)
                             : reg.SetValue(registry::Hive::ClassesRoot, e.key, e.name, e.value);
      if (!ok) {
        RemoveKeys(reg);
        return SELFREG_E_CLASS;
      }
    }
    const std::string helpDir = std::filesystem::path(modulePath).parent_path().string();
    HRESULT hr = RegisterTypeLib(&ParlinkTypeLib::Instance(), modulePath.c_str(), helpDir.c_str());
    if (FAILED(hr)) {
      UnRegisterTypeLib(&parlink::LIBID_ParlinkLib, ParlinkTypeLib::kMajorVersion,
                        ParlinkTypeLib::kMinorVersion, ParlinkTypeLib::kLcid, SYS_WIN64);
      RemoveKeys(reg);
      return SELFREG_E_TYPELIB;
    }
    return S_OK;
  } catch (...) {
    return SELFREG_E_CLASS;
  }
}

HRESULT ServerRegistrar::Unregister() {
  try {
    registry::Registry reg;
    // The runtime keeps a registered library under TypeLib\{LIBID}\<major>.<minor>;
    // a library that was never registered leaves nothing to remove.
    const std::string typeLibKey = "TypeLib\\" + GuidText(parlink::LIBID_ParlinkLib) + "\\" +
                                   std::to_string(ParlinkTypeLib::kMajorVersion) + "." +
                                   std::to_string(ParlinkTypeLib::kMinorVersion);
    bool typeLibGone = true;
    if (reg.KeyExists(registry::Hive::ClassesRoot, typeLibKey)) {
      UnRegisterTypeLib(&parlink::LIBID_ParlinkLib, ParlinkTypeLib::kMajorVersion,
                        ParlinkTypeLib::kMinorVersion, ParlinkTypeLib::kLcid, SYS_WIN64);
      typeLibGone = !reg.KeyExists(registry::Hive::ClassesRoot, typeLibKey);
    }
    if (!RemoveKeys(reg)) return SELFREG_E_CLASS;
    return typeLibGone ? S_OK : SELFREG_E_TYPELIB;
  } catch (...) {
    return SELFREG_E_CLASS;
  }
}

} // namespace parlink::frame
