#pragma once
// The program's binding to the Parlink SMS object: created at run time by
// its programmatic identifier "Parlink.SMS" through the automation runtime
// (never linked), every member called by name through IDispatch.
//
// Creation initialises automation for the calling thread, creates the object
// asking for IDispatch, and resolves the dispatch identifiers of the method
// and property tables below (a name the object does not know gets 0). A
// typed call looks its member up by name (without regard to letter case),
// passes its arguments in reverse order as automation requires (a property
// put as the named argument DISPID_PROPERTYPUT), converts a text result to
// Windows-1252 and frees it.

#include "GatewayApi.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>

namespace engine {

class GatewayBinding final : public GatewayApi {
public:
  // String ids of the start-up message shown when creation fails (caption
  // and text).
  static constexpr int kCreateFailedCaptionId = 1360;
  static constexpr int kCreateFailedTextId = 1362;

  struct NameEntry {
    const char16_t *name;
    DISPID id;
  };
  static constexpr std::size_t kMethodCount = 21;
  static constexpr std::size_t kPropertyCount = 15;

  // A binding that is not ready: every call fails with E_FAIL.
  GatewayBinding();
  // Releases the object and ends automation for the thread.
  ~GatewayBinding() override;
  GatewayBinding(const GatewayBinding &) = delete;
  GatewayBinding &operator=(const GatewayBinding &) = delete;

  // Creates the object and resolves the tables. Returns nothing (and the
  // failing status in *status) when automation could not be initialised, the
  // programmatic identifier is unknown or the object could not be created;
  // start-up then shows strings 1362 and 1360 and ends.
  static std::unique_ptr<GatewayBinding> Create(HRESULT *status = nullptr,
                                                std::u16string_view progId = u"Parlink.SMS");

  // Binds to an object the caller created (taking a reference of its own)
  // and resolves the tables; nothing for a null object.
  static std::unique_ptr<GatewayBinding> Attach(IDispatch *object);

  bool IsReady() const { return ready_; }
  int MethodsResolved() const { return methodsResolved_; }
  int PropertiesResolved() const { return propertiesResolved_; }
  // The dispatch identifier resolved for a table name (any letter case);
  // nothing when the name is in neither table.
  bool FindMember(std::u16string_view name, DISPID &id) const;

  // Invokes a member by name: `kind` is DISPATCH_METHOD, DISPATCH_PROPERTYGET
  // or DISPATCH_PROPERTYPUT; `args` in the member's own order (the call
  // reverses them). E_FAIL when not ready or the name is in neither table.
  // The caller owns `result` (VariantClear).
  HRESULT InvokeByName(std::u16string_view name, WORD kind, VARIANT *args, UINT argCount,
                       VARIANT *result);

  HRESULT SendMsg(bool useSessionId, const char *msg, const char *to, std::string *result) override;
  HRESULT AuthenticateClient(const char *clientId, const char *user, const char *password,
                             std::string *result) override;
  HRESULT Ping(std::string *result) override;
  HRESULT QueryBalance(std::string *result) override;
  HRESULT RecoverPassword(const char *username, const char *email, std::string *result) override;
  HRESULT StopMsgAPIID(const char *apiMsgId, std::string *result) override;
  HRESULT QueryMsgCLIID(const char *cliMsgId, std::string *result) override;
  HRESULT TokenPay(const char *token, std::string *result) override;
  HRESULT EncodeToUnicode(const char *text, std::string *result) override;
  HRESULT StartBatch(const char *templateText, std::string *result) override;
  HRESULT QuickBatchSend(const char *to, std::string *result) override;
  HRESULT EndBatch(std::string *result) override;
  HRESULT ConfigureProxyEx(bool testForOnline, std::int32_t inetType, const char *proxy,
                           const char *port, const char *username, const char *password,
                           std::string *result) override;
  HRESULT Version(std::string *result) override;
  HRESULT GetMsgCharge(bool useSessionId, const char *apiMsgId, std::string *result) override;
  HRESULT SetBaseURL(bool resetOnly, const char *newUrl, std::int32_t hashKey,
                     std::string *result) override;

  HRESULT get_smsERROR(std::int32_t *value) override;
  HRESULT get_smsSESSION_ID(std::string *value) override;

  HRESULT put_smsUNICODE(bool value) override;
  HRESULT put_smsDELIVERY_ACK(bool value) override;
  HRESULT put_smsMSG_TYPE(std::int32_t value) override;
  HRESULT put_smsREQUIRED_FEATURES(std::int32_t value) override;
  HRESULT put_smsCONCAT(std::int32_t value) override;
  HRESULT put_smsDELIVERY_TIME(std::int32_t value) override;
  HRESULT put_smsFROM(const char *value) override;
  HRESULT put_smsCLI_MSG_ID(const char *value) override;

private:
  HRESULT Initialize(std::u16string_view progId);
  void ResolveTables();
  void Release();
  HRESULT CallText(std::u16string_view name, VARIANT *args, UINT argCount, std::string *result);
  HRESULT PutValue(std::u16string_view name, VARIANT &value);

  bool ready_ = false;
  int methodsResolved_ = 0;
  int propertiesResolved_ = 0;
  IDispatch *dispatch_ = nullptr;
  bool comInitialized_ = false;
  std::array<NameEntry, kMethodCount + 1> methods_;
  std::array<NameEntry, kPropertyCount + 1> properties_;
};

} // namespace engine
