#include "frame/ParlinkTypeLib.h"

#include "frame/CoclassTypeInfo.h"
#include "frame/DispatchTypeInfo.h"
#include "frame/EnumTypeInfo.h"
#include "frame/Guids.h"
#include "frame/ModuleLock.h"
#include "frame/WideText.h"

#include <parlink/Parlink.h>

#include <new>

namespace parlink::frame {

ParlinkTypeLib &ParlinkTypeLib::Instance() {
  static ParlinkTypeLib *library = new ParlinkTypeLib();
  return *library;
}

ParlinkTypeLib::ParlinkTypeLib() {
  auto enums = Enumerations();
  const HREFTYPE enumBase = 0;
  for (size_t i = 0; i < enums.size(); ++i) {
    infos_.push_back(std::make_unique<EnumTypeInfo>(*this, static_cast<UINT>(i), enums[i]));
  }
  const UINT eventsIndex = static_cast<UINT>(infos_.size());
  infos_.push_back(std::make_unique<DispatchTypeInfo>(
      *this, eventsIndex, "_ISMSEvents", "_ISMSEvents Interface", parlink::DIID_ISMSEvents, 0,
      std::span<const Function>{}, enumBase));
  const UINT classIndex = eventsIndex + 1;
  smsIndex_ = classIndex + 1;
  infos_.push_back(std::make_unique<CoclassTypeInfo>(*this, classIndex, "SMS", "SMS Class",
                                                     parlink::CLSID_SMS, smsIndex_, eventsIndex));
  infos_.push_back(std::make_unique<DispatchTypeInfo>(
      *this, smsIndex_, "ISMS", "ISMS Interface", parlink::IID_ISMS,
      TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION, SmsFunctions(), enumBase));
}

TypeInfoBase &ParlinkTypeLib::SmsInterface() const {
  return *infos_[smsIndex_];
}

HRESULT ParlinkTypeLib::QueryInterface(REFIID riid, void **ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  if (SameGuid(riid, IID_IUnknown) || SameGuid(riid, IID_ITypeLib)) {
    *ppv = static_cast<ITypeLib *>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG ParlinkTypeLib::AddRef() {
  ModuleLock::Lock();
  return ++refs_;
}

ULONG ParlinkTypeLib::Release() {
  ULONG current = refs_.load();
  while (current > 1 && !refs_.compare_exchange_weak(current, current - 1)) {
  }
  if (current <= 1) return 1;
  ModuleLock::Unlock();
  return current - 1;
}

UINT ParlinkTypeLib::GetTypeInfoCount() {
  return static_cast<UINT>(infos_.size());
}

HRESULT ParlinkTypeLib::GetTypeInfo(UINT index, ITypeInfo **ppTInfo) {
  if (ppTInfo == nullptr) return E_POINTER;
  *ppTInfo = nullptr;
  if (index >= infos_.size()) return TYPE_E_ELEMENTNOTFOUND;
  infos_[index]->AddRef();
  *ppTInfo = infos_[index].get();
  return S_OK;
}

HRESULT ParlinkTypeLib::GetTypeInfoType(UINT index, TYPEKIND *pTKind) {
  if (pTKind == nullptr) return E_POINTER;
  if (index >= infos_.size()) return TYPE_E_ELEMENTNOTFOUND;
  *pTKind = infos_[index]->Kind();
  return S_OK;
}

HRESULT ParlinkTypeLib::GetTypeInfoOfGuid(REFGUID guid, ITypeInfo **ppTinfo) {
  if (ppTinfo == nullptr) return E_POINTER;
  *ppTinfo = nullptr;
  if (guid == nullptr) return E_INVALIDARG;
  for (const auto &info : infos_) {
    const GUID own = info->Guid();
    if (SameGuid(&own, GUID{})) continue; // enumerations have no identifier
    if (SameGuid(guid, own)) {
      info->AddRef();
      *ppTinfo = info.get();
      return S_OK;
    }
  }
  return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT ParlinkTypeLib::GetLibAttr(TLIBATTR **ppTLibAttr) {
  if (ppTLibAttr == nullptr) return E_POINTER;
  *ppTLibAttr = nullptr;
  auto *attr = new (std::nothrow) TLIBATTR{};
  if (attr == nullptr) return E_OUTOFMEMORY;
  attr->guid = parlink::LIBID_ParlinkLib;
  attr->lcid = kLcid;
  attr->syskind = SYS_WIN64;
  attr->wMajorVerNum = kMajorVersion;
  attr->wMinorVerNum = kMinorVersion;
  attr->wLibFlags = 0;
  *ppTLibAttr = attr;
  return S_OK;
}

void ParlinkTypeLib::ReleaseTLibAttr(TLIBATTR *pTLibAttr) {
  delete pTLibAttr;
}

HRESULT ParlinkTypeLib::GetTypeComp(void **ppTComp) {
  if (ppTComp != nullptr) *ppTComp = nullptr;
  return E_NOTIMPL;
}

HRESULT ParlinkTypeLib::GetDocumentation(INT index, BSTR *pBstrName, BSTR *pBstrDocString,
                                         DWORD *pdwHelpContext, BSTR *pBstrHelpFile) {
  if (index >= 0) {
    if (static_cast<size_t>(index) >= infos_.size()) return TYPE_E_ELEMENTNOTFOUND;
    return infos_[index]->GetDocumentation(MEMBERID_NIL, pBstrName, pBstrDocString, pdwHelpContext,
                                           pBstrHelpFile);
  }
  if (index != -1) return TYPE_E_ELEMENTNOTFOUND;
  BSTR name = nullptr;
  BSTR doc = nullptr;
  if (pBstrName != nullptr && (name = AllocAscii(kName)) == nullptr) return E_OUTOFMEMORY;
  if (pBstrDocString != nullptr && (doc = AllocAscii(kDoc)) == nullptr) {
    SysFreeString(name);
    return E_OUTOFMEMORY;
  }
  if (pBstrName != nullptr) *pBstrName = name;
  if (pBstrDocString != nullptr) *pBstrDocString = doc;
  if (pdwHelpContext != nullptr) *pdwHelpContext = 0;
  if (pBstrHelpFile != nullptr) *pBstrHelpFile = nullptr;
  return S_OK;
}

bool ParlinkTypeLib::Lookup(const OLECHAR *name, TypeInfoBase *&info, MEMBERID &memid,
                            const char *&spelling) const {
  for (const auto &candidate : infos_) {
    if (EqualsIgnoreCase(name, candidate->Name())) {
      info = candidate.get();
      memid = MEMBERID_NIL;
      spelling = candidate->Name();
      return true;
    }
    if (candidate->FindMember(name, memid, spelling)) {
      info = candidate.get();
      return true;
    }
  }
  return false;
}

HRESULT ParlinkTypeLib::IsName(LPOLESTR szNameBuf, ULONG, BOOL *pfName) {
  if (szNameBuf == nullptr || pfName == nullptr) return E_POINTER;
  TypeInfoBase *info = nullptr;
  MEMBERID memid = MEMBERID_NIL;
  const char *spelling = nullptr;
  *pfName = Lookup(szNameBuf, info, memid, spelling) ? 1 : 0;
  if (*pfName) {
    // The caller's buffer receives the library's spelling (same length).
    for (size_t i = 0; spelling[i] != 0; ++i)
      szNameBuf[i] = static_cast<unsigned char>(spelling[i]);
  }
  return S_OK;
}

HRESULT ParlinkTypeLib::FindName(LPOLESTR szNameBuf, ULONG, ITypeInfo **ppTInfo, MEMBERID *rgMemId,
                                 USHORT *pcFound) {
  if (szNameBuf == nullptr || ppTInfo == nullptr || rgMemId == nullptr || pcFound == nullptr)
    return E_POINTER;
  const USHORT wanted = *pcFound;
  USHORT found = 0;
  for (const auto &candidate : infos_) {
    if (found >= wanted) break;
    MEMBERID memid = MEMBERID_NIL;
    const char *spelling = nullptr;
    bool match = EqualsIgnoreCase(szNameBuf, candidate->Name()) ||
                 candidate->FindMember(szNameBuf, memid, spelling);
    if (!match) continue;
    candidate->AddRef();
    ppTInfo[found] = candidate.get();
    rgMemId[found] = memid;
    ++found;
  }
  *pcFound = found;
  return S_OK;
}

} // namespace parlink::frame
