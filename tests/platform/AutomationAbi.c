/* The C side of the binary-interface test: a C object with a hand-written
   vtable, and a C client calling a C++ object through lpVtbl. */
#include <automation/automation.h>

#include <stdlib.h>
#include <string.h>

_Static_assert(sizeof(VARIANT) == 24, "VARIANT has the Windows x86-64 size");
_Static_assert(offsetof(VARIANT, lVal) == 8, "the VARIANT union starts at byte 8");
_Static_assert(sizeof(GUID) == 16, "GUID has the Windows size");
_Static_assert(offsetof(GUID, Data4) == 8, "GUID.Data4 starts at byte 8");
_Static_assert(sizeof(DISPPARAMS) == 24, "DISPPARAMS has the Windows x86-64 size");

size_t abi_c_sizeof_variant(void) {
  return sizeof(VARIANT);
}
size_t abi_c_offsetof_variant_union(void) {
  return offsetof(VARIANT, bstrVal);
}
size_t abi_c_sizeof_guid(void) {
  return sizeof(GUID);
}
size_t abi_c_sizeof_excepinfo(void) {
  return sizeof(EXCEPINFO);
}

uint32_t abi_c_bstr_prefix(BSTR b) {
  uint32_t n;
  memcpy(&n, (const char *)b - 4, sizeof n);
  return n;
}

BSTR abi_c_make_bstr(void) {
  static const OLECHAR text[] = {'f', 'r', 'o', 'm', ' ', 'C', 0};
  return SysAllocString(text);
}

/* ---- A C object: IDispatch with one method, "Twice" ------------------- */

typedef struct Doubler {
  IDispatch iface; /* first, so the object pointer is the interface pointer */
  ULONG refs;
} Doubler;

static int g_destroyed = 0;

static HRESULT Doubler_QueryInterface(IDispatch *This, REFIID riid, void **ppv) {
  if (!ppv) return E_POINTER;
  if (IsEqualGUID(riid, &IID_IUnknown) || IsEqualGUID(riid, &IID_IDispatch)) {
    *ppv = This;
    This->lpVtbl->AddRef(This);
    return S_OK;
  }
  *ppv = NULL;
  return E_NOINTERFACE;
}

static ULONG Doubler_AddRef(IDispatch *This) {
  return ++((Doubler *)This)->refs;
}

static ULONG Doubler_Release(IDispatch *This) {
  Doubler *self = (Doubler *)This;
  ULONG left = --self->refs;
  if (left == 0) {
    ++g_destroyed;
    free(self);
  }
  return left;
}

static HRESULT Doubler_GetTypeInfoCount(IDispatch *This, UINT *pctinfo) {
  (void)This;
  *pctinfo = 0;
  return S_OK;
}

static HRESULT Doubler_GetTypeInfo(IDispatch *This, UINT i, LCID lcid, ITypeInfo **pp) {
  (void)This, (void)i, (void)lcid;
  *pp = NULL;
  return E_NOTIMPL;
}

static int SameName(const OLECHAR *a, const char *b) {
  while (*a && *b && *a == (OLECHAR)*b)
    ++a, ++b;
  return *a == 0 && *b == 0;
}

static HRESULT Doubler_GetIDsOfNames(IDispatch *This, REFIID riid, LPOLESTR *names, UINT count,
                                     LCID lcid, DISPID *ids) {
  (void)This, (void)riid, (void)lcid;
  if (count != 1) return DISP_E_UNKNOWNNAME;
  if (SameName(names[0], "Twice")) {
    ids[0] = 1;
    return S_OK;
  }
  ids[0] = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}

static HRESULT Doubler_Invoke(IDispatch *This, DISPID id, REFIID riid, LCID lcid, WORD flags,
                              DISPPARAMS *params, VARIANT *result, EXCEPINFO *excep, UINT *argErr) {
  VARIANT n;
  HRESULT hr;
  (void)This, (void)riid, (void)lcid, (void)flags, (void)excep;
  if (id != 1) return DISP_E_MEMBERNOTFOUND;
  if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
  VariantInit(&n);
  hr = VariantChangeType(&n, &params->rgvarg[0], 0, VT_I4);
  if (FAILED(hr)) {
    if (argErr) *argErr = 0;
    return hr;
  }
  VariantInit(result);
  result->vt = VT_I4;
  result->lVal = n.lVal * 2;
  return S_OK;
}

static const IDispatchVtbl kDoublerVtbl = {
    Doubler_QueryInterface, Doubler_AddRef,        Doubler_Release, Doubler_GetTypeInfoCount,
    Doubler_GetTypeInfo,    Doubler_GetIDsOfNames, Doubler_Invoke};

IDispatch *abi_c_make_doubler(void) {
  Doubler *d = (Doubler *)calloc(1, sizeof *d);
  if (!d) return NULL;
  d->iface.lpVtbl = &kDoublerVtbl;
  d->refs = 1;
  return &d->iface;
}

int abi_c_destroyed_count(void) {
  return g_destroyed;
}

/* ---- A C client: calls any IDispatch by name with one number ---------- */

HRESULT abi_c_call_by_name(IDispatch *object, const OLECHAR *name, LONG arg, LONG *result) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[1];
  VARIANT argument, value;
  DISPPARAMS params;
  HRESULT hr;
  IUnknown *unknown = NULL;

  /* Identity through the IUnknown slot of the table. */
  hr = object->lpVtbl->QueryInterface(object, &IID_IUnknown, (void **)&unknown);
  if (FAILED(hr)) return hr;
  unknown->lpVtbl->Release(unknown);

  names[0] = (LPOLESTR)name;
  hr = object->lpVtbl->GetIDsOfNames(object, &IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  VariantInit(&argument);
  argument.vt = VT_I4;
  argument.lVal = arg;
  params.rgvarg = &argument;
  params.rgdispidNamedArgs = NULL;
  params.cArgs = 1;
  params.cNamedArgs = 0;
  VariantInit(&value);
  hr = object->lpVtbl->Invoke(object, id, &IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                              &value, NULL, NULL);
  if (FAILED(hr)) return hr;
  if (value.vt != VT_I4) {
    VariantClear(&value);
    return DISP_E_TYPEMISMATCH;
  }
  *result = value.lVal;
  return S_OK;
}
