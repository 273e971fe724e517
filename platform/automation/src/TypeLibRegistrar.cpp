#include "TypeLibRegistrar.h"

#include "GuidText.h"

#include <codepage/Codepage.h>

#include <cstdio>
#include <filesystem>

namespace automation {

namespace {

using registry::Hive;

constexpr const char *kProxyStub = "{00020424-0000-0000-C000-000000000046}";

std::string Text(BSTR b) {
  return b ? codepage::FromUtf16(b, SysStringLen(b)) : std::string();
}

// Frees the strings GetDocumentation hands out.
struct Documentation {
  BSTR name = nullptr;
  BSTR doc = nullptr;
  BSTR helpFile = nullptr;
  DWORD context = 0;
  ~Documentation() {
    SysFreeString(name);
    SysFreeString(doc);
    SysFreeString(helpFile);
  }
};

} // namespace

std::string TypeLibRegistrar::VersionKey(WORD major, WORD minor) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%x.%x", static_cast<unsigned>(major),
                static_cast<unsigned>(minor));
  return buf;
}

HRESULT TypeLibRegistrar::Register(ITypeLib *lib, const std::string &modulePath,
                                   const char *helpDir) {
  TLIBATTR *attr = nullptr;
  HRESULT hr = lib->GetLibAttr(&attr);
  if (FAILED(hr)) return hr;
  if (!attr) return E_UNEXPECTED;
  const GUID libGuid = attr->guid;
  const WORD major = attr->wMajorVerNum, minor = attr->wMinorVerNum, flags = attr->wLibFlags;
  lib->ReleaseTLibAttr(attr);

  Documentation doc;
  hr = lib->GetDocumentation(-1, &doc.name, &doc.doc, &doc.context, &doc.helpFile);
  if (FAILED(hr)) return hr;

  const std::string libId = GuidText::Format(libGuid);
  const std::string version = VersionKey(major, minor);
  const std::string base = "TypeLib\\" + libId + "\\" + version;
  std::string helpFolder =
      helpDir ? std::string(helpDir) : std::filesystem::path(modulePath).parent_path().string();
  std::string title = doc.doc && SysStringLen(doc.doc) ? Text(doc.doc) : Text(doc.name);
  bool ok = reg_.SetValue(Hive::ClassesRoot, base, "", title) &&
            reg_.SetValue(Hive::ClassesRoot, base + "\\0\\linux64", "", modulePath) &&
            reg_.SetValue(Hive::ClassesRoot, base + "\\FLAGS", "", std::to_string(flags)) &&
            reg_.SetValue(Hive::ClassesRoot, base + "\\HELPDIR", "", helpFolder);
  if (!ok) return TYPE_E_REGISTRYACCESS;

  UINT count = lib->GetTypeInfoCount();
  for (UINT i = 0; i < count; ++i) {
    hr = RegisterInterface(lib, i, libId, version);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT TypeLibRegistrar::RegisterInterface(ITypeLib *lib, UINT index, const std::string &libId,
                                            const std::string &version) {
  TYPEKIND kind;
  HRESULT hr = lib->GetTypeInfoType(index, &kind);
  if (FAILED(hr)) return hr;
  if (kind != TKIND_INTERFACE && kind != TKIND_DISPATCH) return S_OK;

  ITypeInfo *info = nullptr;
  hr = lib->GetTypeInfo(index, &info);
  if (FAILED(hr)) return hr;
  if (!info) return E_UNEXPECTED;
  TYPEATTR *attr = nullptr;
  hr = info->GetTypeAttr(&attr);
  if (FAILED(hr) || !attr) {
    info->Release();
    return FAILED(hr) ? hr : E_UNEXPECTED;
  }
  const GUID iid = attr->guid;
  info->ReleaseTypeAttr(attr);
  Documentation doc;
  hr = info->GetDocumentation(MEMBERID_NIL, &doc.name, nullptr, nullptr, nullptr);
  info->Release();
  if (FAILED(hr)) return hr;

  const std::string key = "Interface\\" + GuidText::Format(iid);
  bool ok = reg_.SetValue(Hive::ClassesRoot, key, "", Text(doc.name)) &&
            reg_.SetValue(Hive::ClassesRoot, key + "\\ProxyStubClsid32", "", kProxyStub) &&
            reg_.SetValue(Hive::ClassesRoot, key + "\\TypeLib", "", libId) &&
            reg_.SetValue(Hive::ClassesRoot, key + "\\TypeLib", "Version", version);
  return ok ? S_OK : TYPE_E_REGISTRYACCESS;
}

HRESULT TypeLibRegistrar::Unregister(const GUID &libGuid, WORD major, WORD minor) {
  const std::string libId = GuidText::Format(libGuid);
  const std::string version = VersionKey(major, minor);
  const std::string libKey = "TypeLib\\" + libId;
  if (!reg_.KeyExists(Hive::ClassesRoot, libKey + "\\" + version)) return TYPE_E_REGISTRYACCESS;

  // The interfaces this version registered point back at it; others, and
  // those another version of the library registered, stay.
  for (const std::string &iid : reg_.ListSubkeys(Hive::ClassesRoot, "Interface")) {
    const std::string typeLibKey = "Interface\\" + iid + "\\TypeLib";
    auto owner = reg_.GetValue(Hive::ClassesRoot, typeLibKey, "");
    auto ownerVersion = reg_.GetValue(Hive::ClassesRoot, typeLibKey, "Version");
    GUID ownerGuid;
    if (!owner || !GuidText::Parse(std::string_view(*owner), ownerGuid)) continue;
    if (!IsEqualGUID(&ownerGuid, &libGuid) || ownerVersion != version) continue;
    reg_.DeleteKeyTree(Hive::ClassesRoot, "Interface\\" + iid);
  }
  if (!reg_.DeleteKeyTree(Hive::ClassesRoot, libKey + "\\" + version)) return TYPE_E_REGISTRYACCESS;
  // The library's own key goes with its last version.
  if (reg_.ListSubkeys(Hive::ClassesRoot, libKey).empty() &&
      reg_.ListValues(Hive::ClassesRoot, libKey).empty())
    reg_.DeleteKeyTree(Hive::ClassesRoot, libKey);
  return S_OK;
}

} // namespace automation
