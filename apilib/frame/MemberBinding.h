// Template machinery behind the member table: from a pointer to an ISMS
// member function it deduces the automation types of the parameters and of
// the result, the vtable slot, and builds the call thunk.
#ifndef PARLINK_FRAME_MEMBERBINDING_H
#define PARLINK_FRAME_MEMBERBINDING_H

#include "frame/MemberTable.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <type_traits>
#include <utility>

namespace parlink::frame {

// What the table says about one parameter beyond its deduced type.
struct ParamSpec {
  const char *name;
  const char *enumType = nullptr;
  DefaultKind defaultKind = DefaultKind::None;
  LONG defaultNumber = 0;
};

constexpr ParamSpec Arg(const char *name, const char *enumType = nullptr) {
  return ParamSpec{name, enumType, DefaultKind::None, 0};
}
constexpr ParamSpec OptionalBool(const char *name, bool value) {
  return ParamSpec{name, nullptr, DefaultKind::Bool, value ? VARIANT_TRUE : VARIANT_FALSE};
}
constexpr ParamSpec OptionalLong(const char *name, LONG value, const char *enumType = nullptr) {
  return ParamSpec{name, enumType, DefaultKind::Long, value};
}
// Optional text, documented with the empty default. Left out by a caller it
// reaches the member as a null string.
constexpr ParamSpec OptionalText(const char *name) {
  return ParamSpec{name, nullptr, DefaultKind::Text, 0};
}

// Automation type of each C++ type the ISMS members take or return.
template <typename T> struct AutomationValue;

template <> struct AutomationValue<BSTR> {
  static constexpr VARTYPE kVt = VT_BSTR;
  static BSTR From(const VARIANT &v) { return v.bstrVal; }
  static void Store(BSTR value, VARIANT *out) {
    out->vt = VT_BSTR;
    out->bstrVal = value;
  }
  static void Discard(BSTR value) { SysFreeString(value); }
};

template <> struct AutomationValue<LONG> {
  static constexpr VARTYPE kVt = VT_I4;
  static LONG From(const VARIANT &v) { return v.lVal; }
  static void Store(LONG value, VARIANT *out) {
    out->vt = VT_I4;
    out->lVal = value;
  }
  static void Discard(LONG) {}
};

// VARIANT_BOOL and SHORT are the same C++ type; ISMS only uses it as boolean.
template <> struct AutomationValue<VARIANT_BOOL> {
  static constexpr VARTYPE kVt = VT_BOOL;
  static VARIANT_BOOL From(const VARIANT &v) { return v.boolVal; }
  static void Store(VARIANT_BOOL value, VARIANT *out) {
    out->vt = VT_BOOL;
    out->boolVal = value;
  }
  static void Discard(VARIANT_BOOL) {}
};

// An out-parameter is a pointer other than BSTR (which is a pointer too).
template <typename T>
inline constexpr bool kIsOut = std::is_pointer_v<T> && !std::is_same_v<T, BSTR>;

template <typename Pmf> struct MemberSignature;

template <typename... A> struct MemberSignature<HRESULT (ISMS::*)(A...)> {
  using Args = std::tuple<A...>;
  static constexpr size_t kArity = sizeof...(A);

  static constexpr bool HasOut() {
    if constexpr (kArity == 0) {
      return false;
    } else {
      return kIsOut<std::tuple_element_t<kArity - 1, Args>>;
    }
  }
  static constexpr size_t kInCount = HasOut() ? kArity - 1 : kArity;

  template <size_t I> using In = std::tuple_element_t<I, Args>;

  static std::array<VARTYPE, kInCount> InTypes() {
    return InTypes(std::make_index_sequence<kInCount>{});
  }
  template <size_t... I> static std::array<VARTYPE, kInCount> InTypes(std::index_sequence<I...>) {
    return {AutomationValue<In<I>>::kVt...};
  }

  static VARTYPE ResultType() {
    if constexpr (HasOut()) {
      return AutomationValue<std::remove_pointer_t<In<kArity - 1>>>::kVt;
    } else {
      return VT_EMPTY;
    }
  }

  template <auto Pmf> static HRESULT Call(ISMS *self, const VARIANT *args, VARIANT *result) {
    return CallWith<Pmf>(self, args, result, std::make_index_sequence<kInCount>{});
  }

  template <auto Pmf, size_t... I>
  static HRESULT CallWith(ISMS *self, const VARIANT *args, VARIANT *result,
                          std::index_sequence<I...>) {
    if constexpr (HasOut()) {
      using Out = std::remove_pointer_t<In<kArity - 1>>;
      Out out{};
      HRESULT hr = (self->*Pmf)(AutomationValue<In<I>>::From(args[I])..., &out);
      if (SUCCEEDED(hr) && result != nullptr) {
        AutomationValue<Out>::Store(out, result);
      } else {
        AutomationValue<Out>::Discard(out);
      }
      return hr;
    } else {
      (void)args;
      (void)result;
      return (self->*Pmf)(AutomationValue<In<I>>::From(args[I])...);
    }
  }
};

template <auto Pmf> HRESULT Thunk(ISMS *self, const VARIANT *args, VARIANT *result) {
  return MemberSignature<decltype(Pmf)>::template Call<Pmf>(self, args, result);
}

// The vtable slot of a virtual member function, read from its member
// pointer (Itanium C++ ABI: a virtual member pointer holds 1 + the byte
// offset of its slot; on ARM the virtual flag sits in the adjustment).
template <typename Pmf> int VtableSlot(Pmf pmf) {
  struct Representation {
    uintptr_t ptr;
    ptrdiff_t adj;
  };
  static_assert(sizeof(Pmf) == sizeof(Representation), "unexpected member pointer layout");
  Representation rep;
  std::memcpy(&rep, &pmf, sizeof rep);
#if defined(__arm__) || defined(__aarch64__)
  if ((rep.adj & 1) == 0) return -1;
  return static_cast<int>(rep.ptr / sizeof(void *));
#else
  if ((rep.ptr & 1) == 0) return -1;
  return static_cast<int>((rep.ptr - 1) / sizeof(void *));
#endif
}

// Completes an entry from the deduced types and the table's parameter
// specs; a spec that contradicts the C++ signature stops the process, as it
// is a mistake in the table.
Function BuildFunction(const char *name, DISPID dispid, MemberKind kind, int slot,
                       const VARTYPE *inTypes, const ParamSpec *specs, size_t count,
                       VARTYPE resultVt, const char *resultEnum, MemberThunk call);

template <auto Pmf, size_t N>
Function Method(const char *name, DISPID dispid, const ParamSpec (&specs)[N]) {
  using Sig = MemberSignature<decltype(Pmf)>;
  static_assert(N == Sig::kInCount, "one spec per in-parameter");
  auto types = Sig::InTypes();
  return BuildFunction(name, dispid, MemberKind::Method, VtableSlot(Pmf), types.data(), specs, N,
                       Sig::ResultType(), nullptr, &Thunk<Pmf>);
}

template <auto Pmf> Function Method(const char *name, DISPID dispid) {
  using Sig = MemberSignature<decltype(Pmf)>;
  static_assert(Sig::kInCount == 0, "this member takes parameters");
  return BuildFunction(name, dispid, MemberKind::Method, VtableSlot(Pmf), nullptr, nullptr, 0,
                       Sig::ResultType(), nullptr, &Thunk<Pmf>);
}

template <auto Get> Function PropertyGet(const char *name, DISPID dispid, const char *enumType) {
  using Sig = MemberSignature<decltype(Get)>;
  static_assert(Sig::kInCount == 0 && Sig::HasOut(), "a property get only returns its value");
  return BuildFunction(name, dispid, MemberKind::PropertyGet, VtableSlot(Get), nullptr, nullptr, 0,
                       Sig::ResultType(), enumType, &Thunk<Get>);
}

template <auto Put> Function PropertyPut(const char *name, DISPID dispid, const char *enumType) {
  using Sig = MemberSignature<decltype(Put)>;
  static_assert(Sig::kInCount == 1 && !Sig::HasOut(), "a property put takes only its value");
  auto types = Sig::InTypes();
  const ParamSpec spec = Arg("newVal", enumType);
  return BuildFunction(name, dispid, MemberKind::PropertyPut, VtableSlot(Put), types.data(), &spec,
                       1, VT_EMPTY, nullptr, &Thunk<Put>);
}

// One table line for a read-write property: its get and its put.
template <auto Get, auto Put>
std::vector<Function> Property(const char *name, DISPID dispid, const char *enumType = nullptr) {
  static_assert(
      std::is_same_v<std::remove_pointer_t<typename MemberSignature<decltype(Get)>::template In<0>>,
                     typename MemberSignature<decltype(Put)>::template In<0>>,
      "get and put of a property must agree on its type");
  return {PropertyGet<Get>(name, dispid, enumType), PropertyPut<Put>(name, dispid, enumType)};
}

template <auto Get>
std::vector<Function> ReadOnlyProperty(const char *name, DISPID dispid,
                                       const char *enumType = nullptr) {
  return {PropertyGet<Get>(name, dispid, enumType)};
}

} // namespace parlink::frame

#endif // PARLINK_FRAME_MEMBERBINDING_H
