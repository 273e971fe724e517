#include "VariantConverter.h"

#include "VariantNumber.h"

#include <cstring>
#include <limits>
#include <string_view>

namespace automation {

namespace {

constexpr VARTYPE kTypeMask = 0x0FFF;

// Types the runtime converts between.
bool IsConvertible(VARTYPE vt) {
  switch (vt) {
  case VT_EMPTY:
  case VT_NULL:
  case VT_I2:
  case VT_I4:
  case VT_BSTR:
  case VT_DISPATCH:
  case VT_ERROR:
  case VT_BOOL:
  case VT_UNKNOWN:
  case VT_UI1:
  case VT_UI4:
  case VT_INT:
  case VT_UINT:
    return true;
  default:
    return false;
  }
}

bool IsIntegerType(VARTYPE vt) {
  return vt == VT_I2 || vt == VT_I4 || vt == VT_UI1 || vt == VT_UI4 || vt == VT_INT ||
         vt == VT_UINT;
}

// The value of an integer-like source (integers, VT_BOOL, VT_EMPTY).
int64_t IntegerOf(const VARIANT &v) {
  switch (v.vt) {
  case VT_I2:
    return v.iVal;
  case VT_I4:
    return v.lVal;
  case VT_INT:
    return v.intVal;
  case VT_UI1:
    return v.bVal;
  case VT_UI4:
    return v.ulVal;
  case VT_UINT:
    return v.uintVal;
  case VT_BOOL:
    return v.boolVal ? -1 : 0;
  default:
    return 0;
  }
}

std::u16string_view TextOf(BSTR bstr) {
  if (!bstr) return {};
  return std::u16string_view(bstr, SysStringLen(bstr));
}

HRESULT StoreInteger(int64_t value, VARTYPE vt, VARIANT &out) {
  int64_t lo = 0, hi = 0;
  switch (vt) {
  case VT_I2:
    lo = std::numeric_limits<int16_t>::min();
    hi = std::numeric_limits<int16_t>::max();
    break;
  case VT_I4:
  case VT_INT:
    lo = std::numeric_limits<int32_t>::min();
    hi = std::numeric_limits<int32_t>::max();
    break;
  case VT_UI1:
    hi = std::numeric_limits<uint8_t>::max();
    break;
  case VT_UI4:
  case VT_UINT:
    hi = std::numeric_limits<uint32_t>::max();
    break;
  default:
    return DISP_E_TYPEMISMATCH;
  }
  if (value < lo || value > hi) return DISP_E_OVERFLOW;
  VARIANT v;
  std::memset(&v, 0, sizeof v);
  v.vt = vt;
  switch (vt) {
  case VT_I2:
    v.iVal = static_cast<SHORT>(value);
    break;
  case VT_I4:
    v.lVal = static_cast<LONG>(value);
    break;
  case VT_INT:
    v.intVal = static_cast<INT>(value);
    break;
  case VT_UI1:
    v.bVal = static_cast<BYTE>(value);
    break;
  case VT_UI4:
    v.ulVal = static_cast<ULONG>(value);
    break;
  case VT_UINT:
    v.uintVal = static_cast<UINT>(value);
    break;
  default:
    break;
  }
  out = v;
  return S_OK;
}

HRESULT StoreText(std::u16string_view text, VARIANT &out) {
  BSTR b = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (!b) return E_OUTOFMEMORY;
  std::memset(&out, 0, sizeof out);
  out.vt = VT_BSTR;
  out.bstrVal = b;
  return S_OK;
}

} // namespace

bool VariantConverter::IsValidType(VARTYPE vt) {
  if (vt & ~(kTypeMask | VT_BYREF)) return false;
  VARTYPE base = vt & kTypeMask;
  // 15 is unassigned; VT_VARIANT exists only by reference; 14 is VT_DECIMAL,
  // 4-7 the floating, currency and date types, 16/18/20/21 the other
  // integer widths: they need no cleanup, so they pass through unchanged.
  if (base == 15 || base > VT_UINT) return false;
  if (vt & VT_BYREF) return base != VT_EMPTY && base != VT_NULL;
  return base != VT_VARIANT;
}

HRESULT VariantConverter::Dereference(const VARIANT &src, VARIANT &view) {
  if (!(src.vt & VT_BYREF)) {
    view = src;
    return S_OK;
  }
  if (!src.byref) return E_POINTER;
  VARTYPE base = src.vt & kTypeMask;
  std::memset(&view, 0, sizeof view);
  view.vt = base;
  switch (base) {
  case VT_I2:
    view.iVal = *static_cast<SHORT *>(src.byref);
    break;
  case VT_I4:
    view.lVal = *src.plVal;
    break;
  case VT_INT:
    view.intVal = *static_cast<INT *>(src.byref);
    break;
  case VT_UI1:
    view.bVal = *static_cast<BYTE *>(src.byref);
    break;
  case VT_UI4:
    view.ulVal = *static_cast<ULONG *>(src.byref);
    break;
  case VT_UINT:
    view.uintVal = *static_cast<UINT *>(src.byref);
    break;
  case VT_BOOL:
    view.boolVal = *src.pboolVal;
    break;
  case VT_ERROR:
    view.scode = *static_cast<SCODE *>(src.byref);
    break;
  case VT_BSTR:
    view.bstrVal = *src.pbstrVal;
    break;
  case VT_DISPATCH:
    view.pdispVal = *static_cast<IDispatch **>(src.byref);
    break;
  case VT_UNKNOWN:
    view.punkVal = *static_cast<IUnknown **>(src.byref);
    break;
  case VT_VARIANT: {
    // One level only: a reference to a variant that is itself a reference
    // to a variant is not something automation produces.
    const VARIANT &inner = *src.pvarVal;
    if (inner.vt == (VT_BYREF | VT_VARIANT)) return DISP_E_BADVARTYPE;
    return Dereference(inner, view);
  }
  default:
    return DISP_E_BADVARTYPE;
  }
  return S_OK;
}

HRESULT VariantConverter::Convert(const VARIANT &src, USHORT flags, VARTYPE vt, VARIANT &out) {
  if (!IsConvertible(vt)) return DISP_E_BADVARTYPE;
  if (!IsValidType(src.vt)) return DISP_E_BADVARTYPE;
  VARIANT value;
  HRESULT hr = Dereference(src, value);
  if (FAILED(hr)) return hr;
  if (!IsConvertible(value.vt)) return DISP_E_BADVARTYPE;

  if (vt == VT_EMPTY) {
    std::memset(&out, 0, sizeof out);
    return S_OK;
  }
  if (vt == VT_DISPATCH || vt == VT_UNKNOWN) return ToInterface(value, vt, out);
  if (value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN) {
    // An object converts through its default member, unless told not to.
    if (value.vt == VT_DISPATCH && value.pdispVal && !(flags & VARIANT_NOVALUEPROP))
      return FromDefaultValue(value.pdispVal, flags, vt, out);
    return DISP_E_TYPEMISMATCH;
  }
  if (vt == VT_NULL) {
    if (value.vt != VT_NULL) return DISP_E_TYPEMISMATCH;
    std::memset(&out, 0, sizeof out);
    out.vt = VT_NULL;
    return S_OK;
  }
  if (value.vt == VT_NULL) return DISP_E_TYPEMISMATCH;
  switch (vt) {
  case VT_BSTR:
    return ToText(value, flags, out);
  case VT_BOOL:
    return ToBool(value, out);
  default:
    return ToInteger(value, vt, out);
  }
}

HRESULT VariantConverter::ToInterface(const VARIANT &src, VARTYPE vt, VARIANT &out) {
  VARIANT v;
  std::memset(&v, 0, sizeof v);
  v.vt = vt;
  if (src.vt == VT_EMPTY) {
    out = v;
    return S_OK;
  }
  if (src.vt != VT_DISPATCH && src.vt != VT_UNKNOWN) return DISP_E_TYPEMISMATCH;
  IUnknown *object = src.vt == VT_DISPATCH ? src.pdispVal : src.punkVal;
  if (object) {
    void *p = nullptr;
    HRESULT hr = object->QueryInterface(vt == VT_DISPATCH ? &IID_IDispatch : &IID_IUnknown, &p);
    if (FAILED(hr)) return hr;
    if (!p) return E_NOINTERFACE;
    v.byref = p;
  }
  out = v;
  return S_OK;
}

HRESULT VariantConverter::ToText(const VARIANT &src, USHORT flags, VARIANT &out) {
  switch (src.vt) {
  case VT_BSTR:
    if (!src.bstrVal) {
      // A null string stays null: to automation it is the empty string.
      std::memset(&out, 0, sizeof out);
      out.vt = VT_BSTR;
      return S_OK;
    } else {
      BSTR copy = SysAllocStringByteLen(reinterpret_cast<const char *>(src.bstrVal),
                                        SysStringByteLen(src.bstrVal));
      if (!copy) return E_OUTOFMEMORY;
      std::memset(&out, 0, sizeof out);
      out.vt = VT_BSTR;
      out.bstrVal = copy;
      return S_OK;
    }
  case VT_EMPTY:
    return StoreText(u"", out);
  case VT_BOOL:
    if (flags & VARIANT_ALPHABOOL) return StoreText(src.boolVal ? u"True" : u"False", out);
    return StoreText(src.boolVal ? u"-1" : u"0", out);
  case VT_UI4:
  case VT_UINT:
    return StoreText(VariantNumber::FormatUnsigned(static_cast<uint64_t>(IntegerOf(src))), out);
  default:
    if (IsIntegerType(src.vt)) return StoreText(VariantNumber::Format(IntegerOf(src)), out);
    return DISP_E_TYPEMISMATCH;
  }
}

HRESULT VariantConverter::ToBool(const VARIANT &src, VARIANT &out) {
  bool value = false;
  if (src.vt == VT_BSTR) {
    if (!src.bstrVal) return DISP_E_TYPEMISMATCH;
    if (VariantNumber::ParseBool(TextOf(src.bstrVal), value) != VariantNumber::Status::Ok)
      return DISP_E_TYPEMISMATCH;
  } else if (src.vt == VT_EMPTY || src.vt == VT_BOOL || IsIntegerType(src.vt)) {
    value = IntegerOf(src) != 0;
  } else {
    return DISP_E_TYPEMISMATCH;
  }
  std::memset(&out, 0, sizeof out);
  out.vt = VT_BOOL;
  out.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT VariantConverter::ToInteger(const VARIANT &src, VARTYPE vt, VARIANT &out) {
  // VT_ERROR and the 32-bit integers carry each other's bits unchanged.
  bool wide = vt == VT_I4 || vt == VT_INT || vt == VT_UI4 || vt == VT_UINT;
  if (vt == VT_ERROR) {
    bool fromWide = src.vt == VT_ERROR || src.vt == VT_I4 || src.vt == VT_INT || src.vt == VT_UI4 ||
                    src.vt == VT_UINT;
    if (!fromWide) return DISP_E_TYPEMISMATCH;
    std::memset(&out, 0, sizeof out);
    out.vt = VT_ERROR;
    out.scode = src.scode;
    return S_OK;
  }
  if (src.vt == VT_ERROR) {
    if (!wide) return DISP_E_TYPEMISMATCH;
    std::memset(&out, 0, sizeof out);
    out.vt = vt;
    out.lVal = src.scode;
    return S_OK;
  }
  int64_t value = 0;
  if (src.vt == VT_BSTR) {
    if (!src.bstrVal) return DISP_E_TYPEMISMATCH;
    VariantNumber::Parsed parsed = VariantNumber::Parse(TextOf(src.bstrVal));
    if (parsed.status == VariantNumber::Status::Mismatch) return DISP_E_TYPEMISMATCH;
    if (parsed.status == VariantNumber::Status::Overflow) return DISP_E_OVERFLOW;
    value = parsed.value;
  } else if (src.vt == VT_EMPTY || src.vt == VT_BOOL || IsIntegerType(src.vt)) {
    value = IntegerOf(src);
  } else {
    return DISP_E_TYPEMISMATCH;
  }
  return StoreInteger(value, vt, out);
}

HRESULT VariantConverter::FromDefaultValue(IDispatch *object, USHORT flags, VARTYPE vt,
                                           VARIANT &out) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT value;
  std::memset(&value, 0, sizeof value);
  HRESULT hr =
      object->Invoke(DISPID_VALUE, &IID_NULL, LOCALE_USER_DEFAULT,
                     DISPATCH_PROPERTYGET | DISPATCH_METHOD, &none, &value, nullptr, nullptr);
  if (FAILED(hr)) return DISP_E_TYPEMISMATCH;
  // The default value is converted once; an object returning an object
  // does not lead on to that object's default value.
  hr = Convert(value, static_cast<USHORT>(flags | VARIANT_NOVALUEPROP), vt, out);
  VariantClear(&value);
  return hr;
}

} // namespace automation
