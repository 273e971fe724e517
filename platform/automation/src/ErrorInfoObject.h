#pragma once
// The error object CreateErrorInfo hands out: written through
// ICreateErrorInfo, read through IErrorInfo, one object behind both.

#include <automation/automation.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <string>

namespace automation {

class ErrorInfoObject final : public IErrorInfo, public ICreateErrorInfo {
public:
  ErrorInfoObject() = default;
  ErrorInfoObject(const ErrorInfoObject &) = delete;
  ErrorInfoObject &operator=(const ErrorInfoObject &) = delete;

  HRESULT QueryInterface(REFIID riid, void **ppv) override;
  ULONG AddRef() override;
  ULONG Release() override;

  HRESULT GetGUID(GUID *pGUID) override;
  HRESULT GetSource(BSTR *pBstrSource) override;
  HRESULT GetDescription(BSTR *pBstrDescription) override;
  HRESULT GetHelpFile(BSTR *pBstrHelpFile) override;
  HRESULT GetHelpContext(DWORD *pdwHelpContext) override;

  HRESULT SetGUID(REFGUID rguid) override;
  HRESULT SetSource(LPOLESTR szSource) override;
  HRESULT SetDescription(LPOLESTR szDescription) override;
  HRESULT SetHelpFile(LPOLESTR szHelpFile) override;
  HRESULT SetHelpContext(DWORD dwHelpContext) override;

private:
  ~ErrorInfoObject() = default;

  // A text that was never set reads back as a null BSTR.
  using Text = std::optional<std::u16string>;
  HRESULT Read(const Text &text, BSTR *out);
  HRESULT Write(Text &text, LPOLESTR value);

  std::atomic<ULONG> refs_{1};
  std::mutex mutex_; // an error object may be read on another thread
  GUID guid_{};
  Text source_;
  Text description_;
  Text helpFile_;
  DWORD helpContext_ = 0;
};

} // namespace automation
