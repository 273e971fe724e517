/*
 * ISMS: the dual interface of the Parlink SMS object, in vtable order
 * (IDispatch first, then the methods, then each property's get before its
 * put). Dispatch identifiers are noted beside each member; the library's
 * member table maps names and identifiers onto these slots.
 */
#ifndef PARLINK_ISMS_H
#define PARLINK_ISMS_H

#include <parlink/Parlink.h>

#ifdef __cplusplus

struct ISMS : IDispatch {
  // Methods
  virtual HRESULT Authenticate(BSTR API_ID, BSTR pUser, BSTR pPassword, VARIANT_BOOL Encoded,
                               BSTR *pResult) = 0;                                        // 1
  virtual HRESULT SendMsg(VARIANT_BOOL bUseSessionID, BSTR Msg, BSTR To, BSTR *pResult) = 0; // 36
  virtual HRESULT SendSimpleSMS(BSTR API_ID, BSTR User, BSTR Password, BSTR To, BSTR MsgText,
                                BSTR *pResult) = 0;                                       // 39
  virtual HRESULT QueryMsgAPIID(BSTR lApiMsgID, BSTR *pResult) = 0;                       // 22
  virtual HRESULT QueryMsgCLIID(BSTR CliMsgID, BSTR *pResult) = 0;                        // 23
  virtual HRESULT QueryMsg(BSTR MsgID, LONG eIDType, BSTR *pResult) = 0;                  // 24
  virtual HRESULT StopMsgAPIID(BSTR ApiMsgID, BSTR *pResult) = 0;                         // 25
  virtual HRESULT StopMsgCLIID(BSTR CliMsgID, BSTR *pResult) = 0;                         // 26
  virtual HRESULT StopMsg(BSTR MsgID, LONG eIDType, BSTR *pResult) = 0;                   // 27
  virtual HRESULT StartBatch(BSTR Template, BSTR *pResult) = 0;                           // 28
  virtual HRESULT SendBatchItem(BSTR To, BSTR Field1, BSTR Field2, BSTR Field3, BSTR Field4,
                                BSTR Field5, BSTR Field6, BSTR Field7, BSTR Field8, BSTR Field9,
                                BSTR *pResult) = 0;                                       // 32
  virtual HRESULT QuickBatchSend(BSTR To, BSTR *pResult) = 0;                             // 33
  virtual HRESULT EndBatch(BSTR *pResult) = 0;                                            // 29
  virtual HRESULT Ping(BSTR *pResult) = 0;                                                // 34
  virtual HRESULT QueryBalance(BSTR *pResult) = 0;                                        // 35
  virtual HRESULT ResetSMS() = 0;                                                         // 37
  virtual HRESULT EncodeToUnicode(BSTR StringToConvert, BSTR *pResult) = 0;               // 42
  virtual HRESULT TokenPay(BSTR Token, BSTR *pResult) = 0;                                // 44
  virtual HRESULT AuthenticateClient(BSTR ClientID, BSTR pUser, BSTR pPassword,
                                     VARIANT_BOOL Encoded, BSTR *pResult) = 0;            // 45
  virtual HRESULT ChangePassword(BSTR Password, BSTR *pResult) = 0;                       // 48
  virtual HRESULT RecoverPassword(BSTR Username, BSTR Email, BSTR *pResult) = 0;          // 49
  virtual HRESULT ConfigureProxy(LONG eInetType, BSTR Proxy, BSTR Port, BSTR *pResult) = 0; // 50
  virtual HRESULT SetConnectTimeout(LONG Timeout, LONG *pResult) = 0;                     // 53
  virtual HRESULT SetReceiveTimeout(LONG Timeout, LONG *pResult) = 0;                     // 54
  virtual HRESULT QueryCoverage(BSTR To, BSTR *pResult) = 0;                              // 62
  virtual HRESULT SetBaseURL(VARIANT_BOOL bResetOnly, BSTR NewURL, LONG HashKey,
                             BSTR *pResult) = 0;                                          // 63
  virtual HRESULT SendOTAasXML(VARIANT_BOOL bUseSessionID, BSTR To, BSTR DescInXML,
                               BSTR *pResult) = 0;                                        // 64
  virtual HRESULT SendOTABookmark(BSTR To, BSTR Name, BSTR Url, BSTR *pResult) = 0;       // 65
  virtual HRESULT Version(VARIANT_BOOL bFromServer, BSTR *pResult) = 0;                   // 67
  virtual HRESULT ConfigureProxyEx(VARIANT_BOOL bTestForOnline, LONG eInetType, BSTR Proxy,
                                   BSTR Port, BSTR Username, BSTR Password,
                                   BSTR *pResult) = 0;                                    // 68
  virtual HRESULT GetMsgCharge(VARIANT_BOOL bUseSessionID, BSTR ApiMsgID, BSTR *pResult) = 0; // 69
  virtual HRESULT OTA_SetCSD(BSTR To, BSTR Name, BSTR Url, LONG PPPLoginType, LONG PPPAuthType,
                             BSTR PPPAuthName, BSTR PPPAuthSecret, LONG CSDCallType,
                             LONG CSDCallSpeed, BSTR CSDDialString, BSTR *pResult) = 0;   // 70
  virtual HRESULT OTA_SetGPRS(BSTR To, BSTR Name, BSTR Url, LONG PPPLoginType, LONG PPPAuthType,
                              BSTR PPPAuthName, BSTR PPPAuthSecret, LONG Port, BSTR GPRSAccess,
                              BSTR *pResult) = 0;                                         // 71

  // Properties
  virtual HRESULT get_smsAPI_ID(BSTR *pVal) = 0;                // 2
  virtual HRESULT put_smsAPI_ID(BSTR newVal) = 0;
  virtual HRESULT get_smsUSER(BSTR *pVal) = 0;                  // 3
  virtual HRESULT put_smsUSER(BSTR newVal) = 0;
  virtual HRESULT get_smsPASSWORD(BSTR *pVal) = 0;              // 4
  virtual HRESULT put_smsPASSWORD(BSTR newVal) = 0;
  virtual HRESULT get_smsIsLoggedIn(VARIANT_BOOL *pVal) = 0;    // 5
  virtual HRESULT get_smsSESSION_ID(BSTR *pVal) = 0;            // 6
  virtual HRESULT get_smsERROR(LONG *pVal) = 0;                 // 7
  virtual HRESULT get_smsFROM(BSTR *pVal) = 0;                  // 9
  virtual HRESULT put_smsFROM(BSTR newVal) = 0;
  virtual HRESULT get_smsTO(BSTR *pVal) = 0;                    // 10
  virtual HRESULT put_smsTO(BSTR newVal) = 0;
  virtual HRESULT get_smsVAL_PERIOD(LONG *pVal) = 0;            // 12
  virtual HRESULT put_smsVAL_PERIOD(LONG newVal) = 0;
  virtual HRESULT get_smsDELIVERY_ACK(VARIANT_BOOL *pVal) = 0;  // 13
  virtual HRESULT put_smsDELIVERY_ACK(VARIANT_BOOL newVal) = 0;
  virtual HRESULT get_smsDELIVERY_TIME(LONG *pVal) = 0;         // 14
  virtual HRESULT put_smsDELIVERY_TIME(LONG newVal) = 0;
  virtual HRESULT get_smsCONCAT(LONG *pVal) = 0;                // 16
  virtual HRESULT put_smsCONCAT(LONG newVal) = 0;
  virtual HRESULT get_smsCLI_MSG_ID(BSTR *pVal) = 0;            // 17
  virtual HRESULT put_smsCLI_MSG_ID(BSTR newVal) = 0;
  virtual HRESULT get_smsCALLBACK(LONG *pVal) = 0;              // 18
  virtual HRESULT put_smsCALLBACK(LONG newVal) = 0;
  virtual HRESULT get_smsMSG_TYPE(LONG *pVal) = 0;              // 19
  virtual HRESULT put_smsMSG_TYPE(LONG newVal) = 0;
  virtual HRESULT get_smsUDH(BSTR *pVal) = 0;                   // 20
  virtual HRESULT put_smsUDH(BSTR newVal) = 0;
  virtual HRESULT get_smsTEXT(BSTR *pVal) = 0;                  // 21
  virtual HRESULT put_smsTEXT(BSTR newVal) = 0;
  virtual HRESULT get_smsBATCH_ID(BSTR *pVal) = 0;              // 30
  virtual HRESULT get_smsERROR_DESC(BSTR *pVal) = 0;            // 31
  virtual HRESULT get_ThrowError(VARIANT_BOOL *pVal) = 0;       // 38
  virtual HRESULT put_ThrowError(VARIANT_BOOL newVal) = 0;
  virtual HRESULT get_smsCommunicationType(LONG *pVal) = 0;     // 40
  virtual HRESULT put_smsCommunicationType(LONG newVal) = 0;
  virtual HRESULT get_smsUNICODE(VARIANT_BOOL *pVal) = 0;       // 41
  virtual HRESULT put_smsUNICODE(VARIANT_BOOL newVal) = 0;
  virtual HRESULT get_CanSendViaSSL(VARIANT_BOOL *pVal) = 0;    // 43
  virtual HRESULT get_smsMO(VARIANT_BOOL *pVal) = 0;            // 55
  virtual HRESULT put_smsMO(VARIANT_BOOL newVal) = 0;
  virtual HRESULT get_smsMAX_CREDITS(LONG *pVal) = 0;           // 58
  virtual HRESULT put_smsMAX_CREDITS(LONG newVal) = 0;
  virtual HRESULT get_smsQUEUE(LONG *pVal) = 0;                 // 59
  virtual HRESULT put_smsQUEUE(LONG newVal) = 0;
  virtual HRESULT get_smsESCALATE(LONG *pVal) = 0;              // 60
  virtual HRESULT put_smsESCALATE(LONG newVal) = 0;
  virtual HRESULT get_smsREQUIRED_FEATURES(LONG *pVal) = 0;     // 61
  virtual HRESULT put_smsREQUIRED_FEATURES(LONG newVal) = 0;
};

#endif /* __cplusplus */
#endif /* PARLINK_ISMS_H */
