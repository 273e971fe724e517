// A small in-process server for the automation runtime's tests: a class
// factory, an object answering IDispatch, and a type library.
#include "AutomationTestServer.h"

#include <atomic>
#include <cstring>
#include <string>

#define SERVER_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::atomic<long> g_objectsMade{0};
std::atomic<long> g_locks{0};

bool Same(REFIID a, const GUID &b) {
  return IsEqualGUID(a, &b);
}

class Echo final : public IDispatch {
public:
  explicit Echo(long serial) : serial_(serial) { ++g_locks; }

  HRESULT QueryInterface(REFIID riid, void **ppv) override {
    if (!ppv) return E_POINTER;
    if (Same(riid, IID_IUnknown) || Same(riid, IID_IDispatch)) {
      *ppv = static_cast<IDispatch *>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    ULONG left = --refs_;
    if (!left) {
      --g_locks;
      delete this;
    }
    return left;
  }
  HRESULT GetTypeInfoCount(UINT *n) override {
    if (!n) return E_POINTER;
    *n = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR *names, UINT count, LCID, DISPID *ids) override {
    if (count != 1) return DISP_E_UNKNOWNNAME;
    std::u16string name(names[0]);
    if (name == u"Add")
      ids[0] = testserver::kDispidAdd;
    else if (name == u"Serial")
      ids[0] = testserver::kDispidSerial;
    else {
      ids[0] = DISPID_UNKNOWN;
      return DISP_E_UNKNOWNNAME;
    }
    return S_OK;
  }
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS *params, VARIANT *result, EXCEPINFO *,
                 UINT *argErr) override {
    if (!params || !result) return E_POINTER;
    if (id == testserver::kDispidSerial) {
      result->vt = VT_I4;
      result->lVal = static_cast<LONG>(serial_);
      return S_OK;
    }
    if (id != testserver::kDispidAdd) return DISP_E_MEMBERNOTFOUND;
    if (params->cArgs != 2) return DISP_E_BADPARAMCOUNT;
    LONG sum = 0;
    for (UINT i = 0; i < 2; ++i) {
      VARIANT v;
      VariantInit(&v);
      HRESULT hr = VariantChangeType(&v, &params->rgvarg[i], 0, VT_I4);
      if (FAILED(hr)) {
        if (argErr) *argErr = i;
        return hr;
      }
      sum += v.lVal;
    }
    result->vt = VT_I4;
    result->lVal = sum;
    return S_OK;
  }

private:
  ~Echo() = default;
  std::atomic<ULONG> refs_{1};
  long serial_;
};

class Factory final : public IClassFactory {
public:
  HRESULT QueryInterface(REFIID riid, void **ppv) override {
    if (!ppv) return E_POINTER;
    if (Same(riid, IID_IUnknown) || Same(riid, IID_IClassFactory)) {
      *ppv = this;
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return 2; }
  ULONG Release() override { return 1; }
  HRESULT CreateInstance(IUnknown *outer, REFIID riid, void **ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto *echo = new Echo(++g_objectsMade);
    HRESULT hr = echo->QueryInterface(riid, ppv);
    echo->Release();
    return hr;
  }
  HRESULT LockServer(BOOL lock) override {
    lock ? ++g_locks : --g_locks;
    return S_OK;
  }
};

Factory g_factory;

// ---- Type library ------------------------------------------------------

struct TypeEntry {
  TYPEKIND kind;
  GUID guid;
  const char16_t *name;
  const char16_t *doc;
};

const TypeEntry kTypes[] = {
    {TKIND_ENUM, testserver::kEnumGuid, u"eColor", u"Colours"},
    {TKIND_DISPATCH, testserver::kDiidEchoEvents, u"_IEchoEvents", u"_IEchoEvents Interface"},
    {TKIND_COCLASS, testserver::kClsidEcho, u"Echo", u"Echo Class"},
    {TKIND_INTERFACE, testserver::kIidIEcho, u"IEcho", u"IEcho Interface"},
};
constexpr UINT kTypeCount = sizeof kTypes / sizeof kTypes[0];

HRESULT Fill(BSTR *out, const char16_t *text) {
  if (out) *out = text ? SysAllocString(text) : nullptr;
  return S_OK;
}

class TypeLib;

class TypeInfo final : public ITypeInfo {
public:
  TypeInfo(ITypeLib *lib, UINT index) : lib_(lib), index_(index) { lib_->AddRef(); }

  HRESULT QueryInterface(REFIID riid, void **ppv) override {
    if (!ppv) return E_POINTER;
    if (Same(riid, IID_IUnknown) || Same(riid, IID_ITypeInfo)) {
      *ppv = this;
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    ULONG left = --refs_;
    if (!left) {
      lib_->Release();
      delete this;
    }
    return left;
  }
  HRESULT GetTypeAttr(TYPEATTR **out) override {
    if (!out) return E_POINTER;
    auto *attr = new TYPEATTR();
    attr->guid = kTypes[index_].guid;
    attr->lcid = 0x409;
    attr->typekind = kTypes[index_].kind;
    attr->wMajorVerNum = 1;
    attr->memidConstructor = MEMBERID_NIL;
    attr->memidDestructor = MEMBERID_NIL;
    *out = attr;
    return S_OK;
  }
  void ReleaseTypeAttr(TYPEATTR *attr) override { delete attr; }
  HRESULT GetDocumentation(MEMBERID memid, BSTR *name, BSTR *doc, DWORD *context,
                           BSTR *helpFile) override {
    if (memid != MEMBERID_NIL) return TYPE_E_ELEMENTNOTFOUND;
    Fill(name, kTypes[index_].name);
    Fill(doc, kTypes[index_].doc);
    if (context) *context = 0;
    return Fill(helpFile, nullptr);
  }
  HRESULT GetContainingTypeLib(ITypeLib **lib, UINT *index) override {
    if (lib) {
      *lib = lib_;
      lib_->AddRef();
    }
    if (index) *index = index_;
    return S_OK;
  }
  HRESULT GetTypeComp(void **) override { return E_NOTIMPL; }
  HRESULT GetFuncDesc(UINT, FUNCDESC **) override { return E_NOTIMPL; }
  HRESULT GetVarDesc(UINT, VARDESC **) override { return E_NOTIMPL; }
  HRESULT GetNames(MEMBERID, BSTR *, UINT, UINT *) override { return E_NOTIMPL; }
  HRESULT GetRefTypeOfImplType(UINT, HREFTYPE *) override { return E_NOTIMPL; }
  HRESULT GetImplTypeFlags(UINT, INT *) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(LPOLESTR *, UINT, MEMBERID *) override { return E_NOTIMPL; }
  HRESULT Invoke(void *, MEMBERID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *) override {
    return E_NOTIMPL;
  }
  HRESULT GetDllEntry(MEMBERID, INVOKEKIND, BSTR *, BSTR *, WORD *) override { return E_NOTIMPL; }
  HRESULT GetRefTypeInfo(HREFTYPE, ITypeInfo **) override { return E_NOTIMPL; }
  HRESULT AddressOfMember(MEMBERID, INVOKEKIND, void **) override { return E_NOTIMPL; }
  HRESULT CreateInstance(IUnknown *, REFIID, void **) override { return E_NOTIMPL; }
  HRESULT GetMops(MEMBERID, BSTR *) override { return E_NOTIMPL; }
  void ReleaseFuncDesc(FUNCDESC *) override {}
  void ReleaseVarDesc(VARDESC *) override {}

private:
  ~TypeInfo() = default;
  std::atomic<ULONG> refs_{1};
  ITypeLib *lib_;
  UINT index_;
};

class TypeLib final : public ITypeLib {
public:
  HRESULT QueryInterface(REFIID riid, void **ppv) override {
    if (!ppv) return E_POINTER;
    if (Same(riid, IID_IUnknown) || Same(riid, IID_ITypeLib)) {
      *ppv = this;
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    ULONG left = --refs_;
    if (!left) delete this;
    return left;
  }
  UINT GetTypeInfoCount() override { return kTypeCount; }
  HRESULT GetTypeInfo(UINT index, ITypeInfo **out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index >= kTypeCount) return TYPE_E_ELEMENTNOTFOUND;
    *out = new TypeInfo(this, index);
    return S_OK;
  }
  HRESULT GetTypeInfoType(UINT index, TYPEKIND *kind) override {
    if (!kind) return E_POINTER;
    if (index >= kTypeCount) return TYPE_E_ELEMENTNOTFOUND;
    *kind = kTypes[index].kind;
    return S_OK;
  }
  HRESULT GetTypeInfoOfGuid(REFGUID guid, ITypeInfo **out) override {
    for (UINT i = 0; i < kTypeCount; ++i)
      if (Same(guid, kTypes[i].guid)) return GetTypeInfo(i, out);
    return TYPE_E_ELEMENTNOTFOUND;
  }
  HRESULT GetLibAttr(TLIBATTR **out) override {
    if (!out) return E_POINTER;
    auto *attr = new TLIBATTR();
    attr->guid = testserver::kLibId;
    attr->lcid = 0x409;
    attr->syskind = SYS_WIN64;
    attr->wMajorVerNum = 1;
    attr->wMinorVerNum = 0;
    *out = attr;
    return S_OK;
  }
  void ReleaseTLibAttr(TLIBATTR *attr) override { delete attr; }
  HRESULT GetTypeComp(void **) override { return E_NOTIMPL; }
  HRESULT GetDocumentation(INT index, BSTR *name, BSTR *doc, DWORD *context,
                           BSTR *helpFile) override {
    if (index != -1) return TYPE_E_ELEMENTNOTFOUND;
    Fill(name, u"EchoLib");
    Fill(doc, u"Echo 1.0 Type Library");
    if (context) *context = 0;
    return Fill(helpFile, nullptr);
  }
  HRESULT IsName(LPOLESTR, ULONG, BOOL *) override { return E_NOTIMPL; }
  HRESULT FindName(LPOLESTR, ULONG, ITypeInfo **, MEMBERID *, USHORT *) override {
    return E_NOTIMPL;
  }

private:
  ~TypeLib() = default;
  std::atomic<ULONG> refs_{1};
};

} // namespace

SERVER_EXPORT HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void **ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!Same(rclsid, testserver::kClsidEcho)) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(riid, ppv);
}

SERVER_EXPORT HRESULT DllCanUnloadNow() {
  return g_locks == 0 ? S_OK : S_FALSE;
}

SERVER_EXPORT HRESULT DllGetTypeLib(ITypeLib **out) {
  if (!out) return E_POINTER;
  *out = new TypeLib();
  return S_OK;
}
