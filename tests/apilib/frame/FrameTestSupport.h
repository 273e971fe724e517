#pragma once
// Helpers for the tests of Parlink's automation frame: the library loaded by
// path with its exports, small owners for interface pointers, strings and
// VARIANTs, and a builder for IDispatch::Invoke calls.

#include <automation/automation.h>
#include <parlink/ISMS.h>

#include <string>
#include <utility>
#include <vector>

namespace frametest {

// libparlink.so of this build, loaded once and kept loaded.
struct ParlinkModule {
  std::string path;
  void *handle = nullptr;
  PFN_DllGetClassObject getClassObject = nullptr;
  PFN_DllCanUnloadNow canUnloadNow = nullptr;
  PFN_DllRegisterServer registerServer = nullptr;
  PFN_DllUnregisterServer unregisterServer = nullptr;
  PFN_DllGetTypeLib getTypeLib = nullptr;
};
const ParlinkModule &Module();

// Registers the library in this process's registry and initialises the
// calling thread for automation.
void RegisterAndInitialise();

template <class T> class ComPtr {
public:
  ComPtr() = default;
  explicit ComPtr(T *adopted) : p_(adopted) {}
  ~ComPtr() { Reset(); }
  ComPtr(const ComPtr &) = delete;
  ComPtr &operator=(const ComPtr &) = delete;
  ComPtr(ComPtr &&other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr &operator=(ComPtr &&other) noexcept {
    if (this != &other) {
      Reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  T *Get() const { return p_; }
  T *operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  T **Out() {
    Reset();
    return &p_;
  }
  void **OutVoid() { return reinterpret_cast<void **>(Out()); }
  void Reset() {
    if (p_ != nullptr) p_->Release();
    p_ = nullptr;
  }

private:
  T *p_ = nullptr;
};

class Bstr {
public:
  Bstr() = default;
  explicit Bstr(std::u16string_view text);
  ~Bstr() { SysFreeString(b_); }
  Bstr(const Bstr &) = delete;
  Bstr &operator=(const Bstr &) = delete;
  BSTR Get() const { return b_; }
  BSTR *Out() {
    SysFreeString(b_);
    b_ = nullptr;
    return &b_;
  }
  std::u16string Text() const { return Text(b_); }
  static std::u16string Text(BSTR b);

private:
  BSTR b_ = nullptr;
};

// VARIANT makers (the caller owns the result).
VARIANT Text(std::u16string_view text);
VARIANT NullText();
VARIANT Long(LONG value);
VARIANT Bool(bool value);
VARIANT Missing();

// UTF-8 view of a string for assertion messages.
std::string Narrow(std::u16string_view text);

// One IDispatch::Invoke call: arguments are added in declaration order and
// passed reversed, as automation does; named ones go first in rgvarg.
class DispatchCall {
public:
  DispatchCall(IDispatch *target, DISPID dispid);
  // Resolves the member by name first.
  DispatchCall(IDispatch *target, std::u16string_view name);
  ~DispatchCall();
  DispatchCall(const DispatchCall &) = delete;
  DispatchCall &operator=(const DispatchCall &) = delete;

  DispatchCall &Arg(VARIANT value);
  DispatchCall &Named(DISPID id, VARIANT value);
  HRESULT Run(WORD flags);
  HRESULT Method() { return Run(DISPATCH_METHOD); }
  HRESULT Get() { return Run(DISPATCH_PROPERTYGET); }
  // A property put: the value as the named DISPID_PROPERTYPUT argument.
  HRESULT Put(VARIANT value);

  VARIANT result{};
  EXCEPINFO excep{};
  UINT argErr = 0xFFFFFFFFu;

private:
  IDispatch *target_;
  DISPID dispid_;
  std::vector<VARIANT> positional_;
  std::vector<std::pair<DISPID, VARIANT>> named_;
};

// The automation object created by programmatic identifier.
ComPtr<IDispatch> CreateSmsByProgId();

// Decodes a "string=<hex>" authentication body with the gateway's key.
std::string Unscramble(const std::string &body);

} // namespace frametest
