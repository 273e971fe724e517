#include "src/SMS.h"

#include <new>
#include <utility>

#include "src/AccountOperations.h"
#include "src/BatchOperations.h"
#include "src/BstrText.h"
#include "src/ConfigurationOperations.h"
#include "src/GatewayExchange.h"
#include "src/MessageOperations.h"
#include "src/OtaOperations.h"
#include "src/SmsState.h"
#include "transport/TransportContext.h"

using parlink::FromBstr;
using parlink::FromOptionalBstr;
using parlink::Outcome;
using parlink::ToBstr;

namespace {

// Nothing is thrown past the interface: running out of memory anywhere
// becomes E_OUTOFMEMORY.
template <typename Body> HRESULT Guarded(Body &&body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc &) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

bool IsTrue(VARIANT_BOOL value) {
  return value != VARIANT_FALSE;
}
VARIANT_BOOL Normalised(VARIANT_BOOL value) {
  return value ? VARIANT_TRUE : VARIANT_FALSE;
}

HRESULT GetText(const std::string &value, BSTR *pVal) {
  if (!pVal) return E_POINTER;
  return Guarded([&] {
    BSTR copy = ToBstr(value);
    if (!copy) return E_OUTOFMEMORY;
    *pVal = copy;
    return S_OK;
  });
}

template <typename T> HRESULT GetValue(T value, T *pVal) {
  if (!pVal) return E_POINTER;
  *pVal = value;
  return S_OK;
}

HRESULT PutText(std::string &slot, BSTR newVal) {
  return Guarded([&] {
    slot = FromBstr(newVal);
    return S_OK;
  });
}

} // namespace

struct SMS::Call {
  parlink::SmsState &state;
  parlink::TransportContext &transport;
  parlink::GatewayExchange gateway;

  explicit Call(parlink::SmsState &s)
      : state(s), transport(parlink::TransportContext::Instance()), gateway(s, transport) {}

  // The result text goes to the caller; a failure returns E_FAIL only when
  // ThrowError is set.
  HRESULT Deliver(const Outcome &outcome, BSTR *pResult) const {
    BSTR text = ToBstr(outcome.text);
    if (!text) return E_OUTOFMEMORY;
    *pResult = text;
    if (outcome.ok) return S_OK;
    return IsTrue(state.throwError) ? E_FAIL : S_OK;
  }
};

SMS::SMS() : state_(std::make_unique<parlink::SmsState>()) {}

SMS::~SMS() = default;

// ---- Message operations ---------------------------------------------------

HRESULT SMS::Authenticate(BSTR API_ID, BSTR pUser, BSTR pPassword, VARIANT_BOOL Encoded,
                          BSTR *pResult) {
  if (!API_ID || !pUser || !pPassword || !pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::MessageOperations ops(*state_, call.gateway);
    return call.Deliver(
        ops.Authenticate(FromBstr(API_ID), FromBstr(pUser), FromBstr(pPassword), IsTrue(Encoded)),
        pResult);
  });
}

HRESULT SMS::AuthenticateClient(BSTR ClientID, BSTR pUser, BSTR pPassword, VARIANT_BOOL Encoded,
                                BSTR *pResult) {
  if (!ClientID || !pUser || !pPassword || !pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::MessageOperations ops(*state_, call.gateway);
    return call.Deliver(ops.AuthenticateClient(FromBstr(ClientID), FromBstr(pUser),
                                               FromBstr(pPassword), IsTrue(Encoded)),
                        pResult);
  });
}

HRESULT SMS::SendMsg(VARIANT_BOOL bUseSessionID, BSTR Msg, BSTR To, BSTR *pResult) {
  if (!pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::MessageOperations ops(*state_, call.gateway);
    return call.Deliver(
        ops.SendMsg(IsTrue(bUseSessionID), FromOptionalBstr(Msg), FromOptionalBstr(To)), pResult);
  });
}

HRESULT SMS::SendSimpleSMS(BSTR API_ID, BSTR User, BSTR Password, BSTR To, BSTR MsgText,
                           BSTR *pResult) {
  if (!API_ID || !User || !Password || !To || !MsgText || !pResult) return E_POINTER;
  HRESULT stored = Guarded([&] {
    state_->apiId = FromBstr(API_ID);
    state_->user = FromBstr(User);
    state_->password = FromBstr(Password);
    return S_OK;
  });
  if (FAILED(stored)) return stored;
  return SendMsg(VARIANT_FALSE, MsgText, To, pResult);
}

HRESULT SMS::QueryMsgAPIID(BSTR lApiMsgID, BSTR *pResult) {
  return QueryMsg(lApiMsgID, 1, pResult);
}

HRESULT SMS::QueryMsgCLIID(BSTR CliMsgID, BSTR *pResult) {
  return QueryMsg(CliMsgID, 2, pResult);
}

HRESULT SMS::QueryMsg(BSTR MsgID, LONG eIDType, BSTR *pResult) {
  if (!pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::MessageOperations ops(*state_, call.gateway);
    return call.Deliver(ops.QueryMsg(FromBstr(MsgID), eIDType), pResult);
  });
}

HRESULT SMS::StopMsgAPIID(BSTR ApiMsgID, BSTR *pResult) {
  return StopMsg(ApiMsgID, 1, pResult);
}

HRESULT SMS::StopMsgCLIID(BSTR CliMsgID, BSTR *pResult) {
  return StopMsg(CliMsgID, 2, pResult);
}

HRESULT SMS::StopMsg(BSTR MsgID, LONG eIDType, BSTR *pResult) {
  if (!pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::MessageOperations ops(*state_, call.gateway);
    return call.Deliver(ops.StopMsg(FromBstr(MsgID), eIDType), pResult);
  });
}

HRESULT SMS::GetMsgCharge(VARIANT_BOOL bUseSessionID, BSTR ApiMsgID, BSTR *pResult) {
  state_->error = 0;
  if (!ApiMsgID || !pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::MessageOperations ops(*state_, call.gateway);
    return call.Deliver(ops.GetMsgCharge(IsTrue(bUseSessionID), FromBstr(ApiMsgID)), pResult);
  });
}

HRESULT SMS::Ping(BSTR *pResult) {
  if (!pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::MessageOperations ops(*state_, call.gateway);
    return call.Deliver(ops.Ping(), pResult);
  });
}

HRESULT SMS::QueryBalance(BSTR *pResult) {
  if (!pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::MessageOperations ops(*state_, call.gateway);
    return call.Deliver(ops.QueryBalance(), pResult);
  });
}

HRESULT SMS::EncodeToUnicode(BSTR StringToConvert, BSTR *pResult) {
  if (!pResult) return E_POINTER;
  return Guarded([&] {
    BSTR text =
        ToBstr(parlink::MessageOperations::EncodeToUnicode(parlink::WideView(StringToConvert)));
    if (!text) return E_OUTOFMEMORY;
    *pResult = text;
    return S_OK;
  });
}

// ---- Batch operations -----------------------------------------------------

HRESULT SMS::StartBatch(BSTR Template, BSTR *pResult) {
  if (!pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::BatchOperations ops(*state_, call.gateway);
    return call.Deliver(ops.StartBatch(FromBstr(Template)), pResult);
  });
}

HRESULT SMS::SendBatchItem(BSTR To, BSTR Field1, BSTR Field2, BSTR Field3, BSTR Field4, BSTR Field5,
                           BSTR Field6, BSTR Field7, BSTR Field8, BSTR Field9, BSTR *pResult) {
  if (!To || !pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::BatchOperations ops(*state_, call.gateway);
    const parlink::BatchOperations::Fields fields = {
        FromOptionalBstr(Field1), FromOptionalBstr(Field2), FromOptionalBstr(Field3),
        FromOptionalBstr(Field4), FromOptionalBstr(Field5), FromOptionalBstr(Field6),
        FromOptionalBstr(Field7), FromOptionalBstr(Field8), FromOptionalBstr(Field9)};
    return call.Deliver(ops.SendBatchItem(FromBstr(To), fields), pResult);
  });
}

HRESULT SMS::QuickBatchSend(BSTR To, BSTR *pResult) {
  if (!To || !pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::BatchOperations ops(*state_, call.gateway);
    return call.Deliver(ops.QuickBatchSend(FromBstr(To)), pResult);
  });
}

HRESULT SMS::EndBatch(BSTR *pResult) {
  if (!pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::BatchOperations ops(*state_, call.gateway);
    return call.Deliver(ops.EndBatch(), pResult);
  });
}

// ---- Account operations ---------------------------------------------------

HRESULT SMS::ResetSMS() {
  state_->Reset();
  return S_OK;
}

HRESULT SMS::TokenPay(BSTR Token, BSTR *pResult) {
  if (!Token || !pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::AccountOperations ops(*state_, call.gateway);
    return call.Deliver(ops.TokenPay(FromBstr(Token)), pResult);
  });
}

HRESULT SMS::ChangePassword(BSTR Password, BSTR *pResult) {
  if (!Password || !pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::AccountOperations ops(*state_, call.gateway);
    return call.Deliver(ops.ChangePassword(FromBstr(Password)), pResult);
  });
}

HRESULT SMS::RecoverPassword(BSTR Username, BSTR Email, BSTR *pResult) {
  if (!Username || !Email || !pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::AccountOperations ops(*state_, call.gateway);
    return call.Deliver(ops.RecoverPassword(FromBstr(Username), FromBstr(Email)), pResult);
  });
}

HRESULT SMS::QueryCoverage(BSTR To, BSTR *pResult) {
  if (!pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::AccountOperations ops(*state_, call.gateway);
    return call.Deliver(ops.QueryCoverage(FromBstr(To)), pResult);
  });
}

HRESULT SMS::Version(VARIANT_BOOL bFromServer, BSTR *pResult) {
  if (!pResult) return E_POINTER;
  return Guarded([&] {
    if (!IsTrue(bFromServer)) {
      state_->error = 0;
      BSTR text = ToBstr(parlink::ConfigurationOperations::VersionText());
      if (!text) return E_OUTOFMEMORY;
      *pResult = text;
      return S_OK;
    }
    Call call(*state_);
    parlink::AccountOperations ops(*state_, call.gateway);
    return call.Deliver(ops.ServerVersion(), pResult);
  });
}

// ---- Configuration --------------------------------------------------------

HRESULT SMS::SetBaseURL(VARIANT_BOOL bResetOnly, BSTR NewURL, LONG HashKey, BSTR *pResult) {
  if (!pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::ConfigurationOperations ops(*state_, call.gateway);
    return call.Deliver(ops.SetBaseURL(IsTrue(bResetOnly), FromBstr(NewURL), HashKey), pResult);
  });
}

HRESULT SMS::ConfigureProxy(LONG eInetType, BSTR Proxy, BSTR Port, BSTR *pResult) {
  if (!pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::ConfigurationOperations ops(*state_, call.gateway);
    return call.Deliver(ops.ConfigureProxy(eInetType, FromBstr(Proxy), FromBstr(Port)), pResult);
  });
}

HRESULT SMS::ConfigureProxyEx(VARIANT_BOOL bTestForOnline, LONG eInetType, BSTR Proxy, BSTR Port,
                              BSTR Username, BSTR Password, BSTR *pResult) {
  if (!pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::ConfigurationOperations ops(*state_, call.gateway);
    return call.Deliver(ops.ConfigureProxyEx(IsTrue(bTestForOnline), eInetType, FromBstr(Proxy),
                                             FromBstr(Port), FromBstr(Username),
                                             FromBstr(Password)),
                        pResult);
  });
}

HRESULT SMS::SetConnectTimeout(LONG Timeout, LONG *pResult) {
  if (!pResult) return E_POINTER;
  return Guarded([&] {
    parlink::TransportContext &transport = parlink::TransportContext::Instance();
    *pResult = static_cast<LONG>(transport.ConnectTimeout());
    transport.SetConnectTimeout(Timeout);
    return S_OK;
  });
}

HRESULT SMS::SetReceiveTimeout(LONG Timeout, LONG *pResult) {
  if (!pResult) return E_POINTER;
  return Guarded([&] {
    parlink::TransportContext &transport = parlink::TransportContext::Instance();
    *pResult = static_cast<LONG>(transport.ReceiveTimeout());
    transport.SetReceiveTimeout(Timeout);
    return S_OK;
  });
}

// ---- Over-the-air settings ------------------------------------------------

HRESULT SMS::SendOTAasXML(VARIANT_BOOL bUseSessionID, BSTR To, BSTR DescInXML, BSTR *pResult) {
  if (!DescInXML || !pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::OtaOperations ops(*state_, call.gateway);
    return call.Deliver(
        ops.SendOTAasXML(IsTrue(bUseSessionID), FromOptionalBstr(To), FromBstr(DescInXML)),
        pResult);
  });
}

HRESULT SMS::SendOTABookmark(BSTR To, BSTR Name, BSTR Url, BSTR *pResult) {
  if (!To || !Name || !Url || !pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::OtaOperations ops(*state_, call.gateway);
    return call.Deliver(ops.SendOTABookmark(FromBstr(To), FromBstr(Name), FromBstr(Url)), pResult);
  });
}

HRESULT SMS::OTA_SetCSD(BSTR To, BSTR Name, BSTR Url, LONG PPPLoginType, LONG PPPAuthType,
                        BSTR PPPAuthName, BSTR PPPAuthSecret, LONG CSDCallType, LONG CSDCallSpeed,
                        BSTR CSDDialString, BSTR *pResult) {
  if (!To || !Name || !pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::OtaOperations ops(*state_, call.gateway);
    const parlink::OtaConnection connection{FromBstr(Name),        FromBstr(Url),
                                            PPPLoginType,          PPPAuthType,
                                            FromBstr(PPPAuthName), FromBstr(PPPAuthSecret)};
    return call.Deliver(
        ops.SetCSD(FromBstr(To), connection, CSDCallType, CSDCallSpeed, FromBstr(CSDDialString)),
        pResult);
  });
}

HRESULT SMS::OTA_SetGPRS(BSTR To, BSTR Name, BSTR Url, LONG PPPLoginType, LONG PPPAuthType,
                         BSTR PPPAuthName, BSTR PPPAuthSecret, LONG Port, BSTR GPRSAccess,
                         BSTR *pResult) {
  if (!To || !Name || !pResult) return E_POINTER;
  return Guarded([&] {
    Call call(*state_);
    parlink::OtaOperations ops(*state_, call.gateway);
    const parlink::OtaConnection connection{FromBstr(Name),        FromBstr(Url),
                                            PPPLoginType,          PPPAuthType,
                                            FromBstr(PPPAuthName), FromBstr(PPPAuthSecret)};
    return call.Deliver(ops.SetGPRS(FromBstr(To), connection, Port, FromBstr(GPRSAccess)), pResult);
  });
}

// ---- Properties -----------------------------------------------------------

HRESULT SMS::get_smsAPI_ID(BSTR *pVal) {
  return GetText(state_->apiId, pVal);
}
HRESULT SMS::put_smsAPI_ID(BSTR newVal) {
  return PutText(state_->apiId, newVal);
}

HRESULT SMS::get_smsUSER(BSTR *pVal) {
  return GetText(state_->user, pVal);
}
HRESULT SMS::put_smsUSER(BSTR newVal) {
  if (IsTrue(state_->isLoggedIn)) state_->EndSession();
  return PutText(state_->user, newVal);
}

HRESULT SMS::get_smsPASSWORD(BSTR *pVal) {
  if (!pVal) return E_POINTER;
  return Guarded([&] {
    const std::string shown =
        state_->password.empty() ? "[not set]" : std::string(state_->password.size(), '*');
    return GetText(shown, pVal);
  });
}
HRESULT SMS::put_smsPASSWORD(BSTR newVal) {
  if (IsTrue(state_->isLoggedIn)) state_->EndSession();
  return PutText(state_->password, newVal);
}

HRESULT SMS::get_smsIsLoggedIn(VARIANT_BOOL *pVal) {
  return GetValue(state_->isLoggedIn, pVal);
}
HRESULT SMS::get_smsSESSION_ID(BSTR *pVal) {
  return GetText(state_->sessionId, pVal);
}
HRESULT SMS::get_smsERROR(LONG *pVal) {
  return GetValue(state_->error, pVal);
}

HRESULT SMS::get_smsFROM(BSTR *pVal) {
  return GetText(state_->from, pVal);
}
HRESULT SMS::put_smsFROM(BSTR newVal) {
  return PutText(state_->from, newVal);
}

HRESULT SMS::get_smsTO(BSTR *pVal) {
  return GetText(state_->to, pVal);
}
HRESULT SMS::put_smsTO(BSTR newVal) {
  return PutText(state_->to, newVal);
}

HRESULT SMS::get_smsVAL_PERIOD(LONG *pVal) {
  return GetValue(state_->valPeriod, pVal);
}
HRESULT SMS::put_smsVAL_PERIOD(LONG newVal) {
  state_->valPeriod = newVal;
  return S_OK;
}

HRESULT SMS::get_smsDELIVERY_ACK(VARIANT_BOOL *pVal) {
  return GetValue(state_->deliveryAck, pVal);
}
HRESULT SMS::put_smsDELIVERY_ACK(VARIANT_BOOL newVal) {
  state_->deliveryAck = Normalised(newVal);
  return S_OK;
}

HRESULT SMS::get_smsDELIVERY_TIME(LONG *pVal) {
  return GetValue(state_->deliveryTime, pVal);
}
HRESULT SMS::put_smsDELIVERY_TIME(LONG newVal) {
  state_->deliveryTime = newVal;
  return S_OK;
}

HRESULT SMS::get_smsCONCAT(LONG *pVal) {
  return GetValue(state_->concat, pVal);
}
HRESULT SMS::put_smsCONCAT(LONG newVal) {
  state_->concat = newVal;
  return S_OK;
}

HRESULT SMS::get_smsCLI_MSG_ID(BSTR *pVal) {
  return GetText(state_->cliMsgId, pVal);
}
HRESULT SMS::put_smsCLI_MSG_ID(BSTR newVal) {
  return PutText(state_->cliMsgId, newVal);
}

HRESULT SMS::get_smsCALLBACK(LONG *pVal) {
  return GetValue(state_->callback, pVal);
}
HRESULT SMS::put_smsCALLBACK(LONG newVal) {
  state_->callback = newVal;
  return S_OK;
}

HRESULT SMS::get_smsMSG_TYPE(LONG *pVal) {
  return GetValue(state_->msgType, pVal);
}
HRESULT SMS::put_smsMSG_TYPE(LONG newVal) {
  state_->msgType = newVal;
  return S_OK;
}

HRESULT SMS::get_smsUDH(BSTR *pVal) {
  return GetText(state_->udh, pVal);
}
HRESULT SMS::put_smsUDH(BSTR newVal) {
  return PutText(state_->udh, newVal);
}

HRESULT SMS::get_smsTEXT(BSTR *pVal) {
  return GetText(state_->text, pVal);
}
HRESULT SMS::put_smsTEXT(BSTR newVal) {
  return PutText(state_->text, newVal);
}

HRESULT SMS::get_smsBATCH_ID(BSTR *pVal) {
  return GetText(state_->batchId, pVal);
}
HRESULT SMS::get_smsERROR_DESC(BSTR *pVal) {
  return GetText(state_->errorDesc, pVal);
}

HRESULT SMS::get_ThrowError(VARIANT_BOOL *pVal) {
  return GetValue(state_->throwError, pVal);
}
HRESULT SMS::put_ThrowError(VARIANT_BOOL newVal) {
  state_->throwError = Normalised(newVal);
  return S_OK;
}

HRESULT SMS::get_smsCommunicationType(LONG *pVal) {
  return GetValue(state_->communicationType, pVal);
}
HRESULT SMS::put_smsCommunicationType(LONG newVal) {
  state_->communicationType = newVal;
  return S_OK;
}

HRESULT SMS::get_smsUNICODE(VARIANT_BOOL *pVal) {
  return GetValue(state_->unicode, pVal);
}
HRESULT SMS::put_smsUNICODE(VARIANT_BOOL newVal) {
  state_->unicode = Normalised(newVal);
  return S_OK;
}

HRESULT SMS::get_CanSendViaSSL(VARIANT_BOOL *pVal) {
  if (!pVal) return E_POINTER;
  return Guarded([&] {
    *pVal = parlink::TransportContext::Instance().SecureAvailable() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  });
}

HRESULT SMS::get_smsMO(VARIANT_BOOL *pVal) {
  return GetValue(state_->mo, pVal);
}
HRESULT SMS::put_smsMO(VARIANT_BOOL newVal) {
  state_->mo = Normalised(newVal);
  return S_OK;
}

HRESULT SMS::get_smsMAX_CREDITS(LONG *pVal) {
  return GetValue(state_->maxCredits, pVal);
}
HRESULT SMS::put_smsMAX_CREDITS(LONG newVal) {
  state_->maxCredits = newVal;
  return S_OK;
}

HRESULT SMS::get_smsQUEUE(LONG *pVal) {
  return GetValue(state_->queue, pVal);
}
HRESULT SMS::put_smsQUEUE(LONG newVal) {
  state_->queue = newVal;
  return S_OK;
}

HRESULT SMS::get_smsESCALATE(LONG *pVal) {
  return GetValue(state_->escalate, pVal);
}
HRESULT SMS::put_smsESCALATE(LONG newVal) {
  state_->escalate = newVal;
  return S_OK;
}

HRESULT SMS::get_smsREQUIRED_FEATURES(LONG *pVal) {
  return GetValue(state_->requiredFeatures, pVal);
}
HRESULT SMS::put_smsREQUIRED_FEATURES(LONG newVal) {
  state_->requiredFeatures = newVal;
  return S_OK;
}
