#pragma once
// The gateway operations the program uses, one typed call per member of the
// Parlink SMS object. GatewayBinding implements them through automation;
// tests substitute a fake.
//
// Every call returns the status of the invocation itself. The program never
// sets ThrowError, so the library reports gateway failures with a success
// status: callers read get_smsERROR after each call and treat a non-zero
// value as failure. Text arguments and results are Windows-1252; a text
// result is set only when the call succeeded.
//
// Calls fail with E_FAIL, without reaching the library, when a required
// argument or the result pointer is null: every text argument is required
// except SendMsg's `to` (optional) and ConfigureProxyEx's user name and
// password.
//
// The object is shared by the user-interface thread and the communications
// worker. A caller that needs several calls to form one unit (properties,
// the call and the error code read after it) holds CallLock() around them;
// every single call takes it too.

#include "shell/TrackedRecursiveMutex.h"

#include <automation/automation.h>

#include <cstdint>
#include <string>

namespace engine {

using shell::TrackedRecursiveMutex;

class GatewayApi {
public:
  virtual ~GatewayApi() = default;

  virtual HRESULT SendMsg(bool useSessionId, const char *msg, const char *to,
                          std::string *result) = 0;
  // `Encoded` is left at its default (true).
  virtual HRESULT AuthenticateClient(const char *clientId, const char *user, const char *password,
                                     std::string *result) = 0;
  virtual HRESULT Ping(std::string *result) = 0;
  virtual HRESULT QueryBalance(std::string *result) = 0;
  virtual HRESULT RecoverPassword(const char *username, const char *email, std::string *result) = 0;
  virtual HRESULT StopMsgAPIID(const char *apiMsgId, std::string *result) = 0;
  // QueryMsg by the client's own message id.
  virtual HRESULT QueryMsgCLIID(const char *cliMsgId, std::string *result) = 0;
  virtual HRESULT TokenPay(const char *token, std::string *result) = 0;
  virtual HRESULT EncodeToUnicode(const char *text, std::string *result) = 0;
  virtual HRESULT StartBatch(const char *templateText, std::string *result) = 0;
  virtual HRESULT QuickBatchSend(const char *to, std::string *result) = 0;
  virtual HRESULT EndBatch(std::string *result) = 0;
  virtual HRESULT ConfigureProxyEx(bool testForOnline, std::int32_t inetType, const char *proxy,
                                   const char *port, const char *username, const char *password,
                                   std::string *result) = 0;
  // Asks with bFromServer = 1.
  virtual HRESULT Version(std::string *result) = 0;
  virtual HRESULT GetMsgCharge(bool useSessionId, const char *apiMsgId, std::string *result) = 0;
  virtual HRESULT SetBaseURL(bool resetOnly, const char *newUrl, std::int32_t hashKey,
                             std::string *result) = 0;

  virtual HRESULT get_smsERROR(std::int32_t *value) = 0;
  virtual HRESULT get_smsSESSION_ID(std::string *value) = 0;

  virtual HRESULT put_smsUNICODE(bool value) = 0;
  virtual HRESULT put_smsDELIVERY_ACK(bool value) = 0;
  virtual HRESULT put_smsMSG_TYPE(std::int32_t value) = 0;
  virtual HRESULT put_smsREQUIRED_FEATURES(std::int32_t value) = 0;
  virtual HRESULT put_smsCONCAT(std::int32_t value) = 0;
  virtual HRESULT put_smsDELIVERY_TIME(std::int32_t value) = 0;
  virtual HRESULT put_smsFROM(const char *value) = 0;
  virtual HRESULT put_smsCLI_MSG_ID(const char *value) = 0;

  // Serialises units of calls across threads (re-entrant).
  TrackedRecursiveMutex &CallLock() { return callLock_; }

  // The error code after the last call: get_smsERROR, or -1 when even that
  // could not be read.
  std::int32_t LastError() {
    std::int32_t e = 0;
    if (FAILED(get_smsERROR(&e))) return -1;
    return e;
  }

private:
  TrackedRecursiveMutex callLock_;
};

} // namespace engine
