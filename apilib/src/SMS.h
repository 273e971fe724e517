// The Parlink SMS object: every property and operation of ISMS. The
// automation frame derives its final class from SMS and supplies IUnknown
// and IDispatch; this class holds the object's state and does the work.
#ifndef PARLINK_SRC_SMS_H
#define PARLINK_SRC_SMS_H

#include <memory>

#include <parlink/ISMS.h>

namespace parlink {
struct SmsState;
}

class SMS : public ISMS {
public:
  SMS();
  SMS(const SMS &) = delete;
  SMS &operator=(const SMS &) = delete;

  HRESULT Authenticate(BSTR API_ID, BSTR pUser, BSTR pPassword, VARIANT_BOOL Encoded,
                       BSTR *pResult) override;
  HRESULT SendMsg(VARIANT_BOOL bUseSessionID, BSTR Msg, BSTR To, BSTR *pResult) override;
  HRESULT SendSimpleSMS(BSTR API_ID, BSTR User, BSTR Password, BSTR To, BSTR MsgText,
                        BSTR *pResult) override;
  HRESULT QueryMsgAPIID(BSTR lApiMsgID, BSTR *pResult) override;
  HRESULT QueryMsgCLIID(BSTR CliMsgID, BSTR *pResult) override;
  HRESULT QueryMsg(BSTR MsgID, LONG eIDType, BSTR *pResult) override;
  HRESULT StopMsgAPIID(BSTR ApiMsgID, BSTR *pResult) override;
  HRESULT StopMsgCLIID(BSTR CliMsgID, BSTR *pResult) override;
  HRESULT StopMsg(BSTR MsgID, LONG eIDType, BSTR *pResult) override;
  HRESULT StartBatch(BSTR Template, BSTR *pResult) override;
  HRESULT SendBatchItem(BSTR To, BSTR Field1, BSTR Field2, BSTR Field3, BSTR Field4, BSTR Field5,
                        BSTR Field6, BSTR Field7, BSTR Field8, BSTR Field9, BSTR *pResult) override;
  HRESULT QuickBatchSend(BSTR To, BSTR *pResult) override;
  HRESULT EndBatch(BSTR *pResult) override;
  HRESULT Ping(BSTR *pResult) override;
  HRESULT QueryBalance(BSTR *pResult) override;
  HRESULT ResetSMS() override;
  HRESULT EncodeToUnicode(BSTR StringToConvert, BSTR *pResult) override;
  HRESULT TokenPay(BSTR Token, BSTR *pResult) override;
  HRESULT AuthenticateClient(BSTR ClientID, BSTR pUser, BSTR pPassword, VARIANT_BOOL Encoded,
                             BSTR *pResult) override;
  HRESULT ChangePassword(BSTR Password, BSTR *pResult) override;
  HRESULT RecoverPassword(BSTR Username, BSTR Email, BSTR *pResult) override;
  HRESULT ConfigureProxy(LONG eInetType, BSTR Proxy, BSTR Port, BSTR *pResult) override;
  HRESULT SetConnectTimeout(LONG Timeout, LONG *pResult) override;
  HRESULT SetReceiveTimeout(LONG Timeout, LONG *pResult) override;
  HRESULT QueryCoverage(BSTR To, BSTR *pResult) override;
  HRESULT SetBaseURL(VARIANT_BOOL bResetOnly, BSTR NewURL, LONG HashKey, BSTR *pResult) override;
  HRESULT SendOTAasXML(VARIANT_BOOL bUseSessionID, BSTR To, BSTR DescInXML, BSTR *pResult) override;
  HRESULT SendOTABookmark(BSTR To, BSTR Name, BSTR Url, BSTR *pResult) override;
  HRESULT Version(VARIANT_BOOL bFromServer, BSTR *pResult) override;
  HRESULT ConfigureProxyEx(VARIANT_BOOL bTestForOnline, LONG eInetType, BSTR Proxy, BSTR Port,
                           BSTR Username, BSTR Password, BSTR *pResult) override;
  HRESULT GetMsgCharge(VARIANT_BOOL bUseSessionID, BSTR ApiMsgID, BSTR *pResult) override;
  HRESULT OTA_SetCSD(BSTR To, BSTR Name, BSTR Url, LONG PPPLoginType, LONG PPPAuthType,
                     BSTR PPPAuthName, BSTR PPPAuthSecret, LONG CSDCallType, LONG CSDCallSpeed,
                     BSTR CSDDialString, BSTR *pResult) override;
  HRESULT OTA_SetGPRS(BSTR To, BSTR Name, BSTR Url, LONG PPPLoginType, LONG PPPAuthType,
                      BSTR PPPAuthName, BSTR PPPAuthSecret, LONG Port, BSTR GPRSAccess,
                      BSTR *pResult) override;
  HRESULT get_smsAPI_ID(BSTR *pVal) override;
  HRESULT put_smsAPI_ID(BSTR newVal) override;
  HRESULT get_smsUSER(BSTR *pVal) override;
  HRESULT put_smsUSER(BSTR newVal) override;
  HRESULT get_smsPASSWORD(BSTR *pVal) override;
  HRESULT put_smsPASSWORD(BSTR newVal) override;
  HRESULT get_smsIsLoggedIn(VARIANT_BOOL *pVal) override;
  HRESULT get_smsSESSION_ID(BSTR *pVal) override;
  HRESULT get_smsERROR(LONG *pVal) override;
  HRESULT get_smsFROM(BSTR *pVal) override;
  HRESULT put_smsFROM(BSTR newVal) override;
  HRESULT get_smsTO(BSTR *pVal) override;
  HRESULT put_smsTO(BSTR newVal) override;
  HRESULT get_smsVAL_PERIOD(LONG *pVal) override;
  HRESULT put_smsVAL_PERIOD(LONG newVal) override;
  HRESULT get_smsDELIVERY_ACK(VARIANT_BOOL *pVal) override;
  HRESULT put_smsDELIVERY_ACK(VARIANT_BOOL newVal) override;
  HRESULT get_smsDELIVERY_TIME(LONG *pVal) override;
  HRESULT put_smsDELIVERY_TIME(LONG newVal) override;
  HRESULT get_smsCONCAT(LONG *pVal) override;
  HRESULT put_smsCONCAT(LONG newVal) override;
  HRESULT get_smsCLI_MSG_ID(BSTR *pVal) override;
  HRESULT put_smsCLI_MSG_ID(BSTR newVal) override;
  HRESULT get_smsCALLBACK(LONG *pVal) override;
  HRESULT put_smsCALLBACK(LONG newVal) override;
  HRESULT get_smsMSG_TYPE(LONG *pVal) override;
  HRESULT put_smsMSG_TYPE(LONG newVal) override;
  HRESULT get_smsUDH(BSTR *pVal) override;
  HRESULT put_smsUDH(BSTR newVal) override;
  HRESULT get_smsTEXT(BSTR *pVal) override;
  HRESULT put_smsTEXT(BSTR newVal) override;
  HRESULT get_smsBATCH_ID(BSTR *pVal) override;
  HRESULT get_smsERROR_DESC(BSTR *pVal) override;
  HRESULT get_ThrowError(VARIANT_BOOL *pVal) override;
  HRESULT put_ThrowError(VARIANT_BOOL newVal) override;
  HRESULT get_smsCommunicationType(LONG *pVal) override;
  HRESULT put_smsCommunicationType(LONG newVal) override;
  HRESULT get_smsUNICODE(VARIANT_BOOL *pVal) override;
  HRESULT put_smsUNICODE(VARIANT_BOOL newVal) override;
  HRESULT get_CanSendViaSSL(VARIANT_BOOL *pVal) override;
  HRESULT get_smsMO(VARIANT_BOOL *pVal) override;
  HRESULT put_smsMO(VARIANT_BOOL newVal) override;
  HRESULT get_smsMAX_CREDITS(LONG *pVal) override;
  HRESULT put_smsMAX_CREDITS(LONG newVal) override;
  HRESULT get_smsQUEUE(LONG *pVal) override;
  HRESULT put_smsQUEUE(LONG newVal) override;
  HRESULT get_smsESCALATE(LONG *pVal) override;
  HRESULT put_smsESCALATE(LONG newVal) override;
  HRESULT get_smsREQUIRED_FEATURES(LONG *pVal) override;
  HRESULT put_smsREQUIRED_FEATURES(LONG newVal) override;

protected:
  ~SMS(); // deleted by the frame's final class only

private:
  struct Call; // one method call's transport and gateway steps
  std::unique_ptr<parlink::SmsState> state_;
};

#endif // PARLINK_SRC_SMS_H
