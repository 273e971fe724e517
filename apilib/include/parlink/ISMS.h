/*
 * ISMS: the dual interface of the Parlink SMS object, in vtable order
 * (IDispatch first, then the methods, then each property's get before its
 * put), for C++ (a class with pure virtual members) and for C (a table
 * reached through lpVtbl, each member taking the object first). Dispatch
 * identifiers are noted beside each member; the library's member table maps
 * names and identifiers onto these slots.
 */
#ifndef PARLINK_ISMS_H
#define PARLINK_ISMS_H

#include <parlink/Parlink.h>

/* The members after IDispatch's, in vtable order, as M(name, (parameters)).
   PARLINK_THIS_ and PARLINK_THIS stand for the object pointer that a C
   caller passes first; in C++ they are empty. */
#define PARLINK_ISMS_MEMBERS(M)                                                                    \
  /* Methods */                                                                                    \
  M(Authenticate, (PARLINK_THIS_ BSTR API_ID, BSTR pUser, BSTR pPassword, VARIANT_BOOL Encoded,    \
                   BSTR *pResult)) /* 1 */                                                         \
  M(SendMsg, (PARLINK_THIS_ VARIANT_BOOL bUseSessionID, BSTR Msg, BSTR To,                         \
              BSTR *pResult)) /* 36 */                                                             \
  M(SendSimpleSMS, (PARLINK_THIS_ BSTR API_ID, BSTR User, BSTR Password, BSTR To, BSTR MsgText,    \
                    BSTR *pResult)) /* 39 */                                                       \
  M(QueryMsgAPIID, (PARLINK_THIS_ BSTR lApiMsgID, BSTR *pResult)) /* 22 */                         \
  M(QueryMsgCLIID, (PARLINK_THIS_ BSTR CliMsgID, BSTR *pResult)) /* 23 */                          \
  M(QueryMsg, (PARLINK_THIS_ BSTR MsgID, LONG eIDType, BSTR *pResult)) /* 24 */                    \
  M(StopMsgAPIID, (PARLINK_THIS_ BSTR ApiMsgID, BSTR *pResult)) /* 25 */                           \
  M(StopMsgCLIID, (PARLINK_THIS_ BSTR CliMsgID, BSTR *pResult)) /* 26 */                           \
  M(StopMsg, (PARLINK_THIS_ BSTR MsgID, LONG eIDType, BSTR *pResult)) /* 27 */                     \
  M(StartBatch, (PARLINK_THIS_ BSTR Template, BSTR *pResult)) /* 28 */                             \
  M(SendBatchItem, (PARLINK_THIS_ BSTR To, BSTR Field1, BSTR Field2, BSTR Field3, BSTR Field4,     \
                    BSTR Field5, BSTR Field6, BSTR Field7, BSTR Field8, BSTR Field9,               \
                    BSTR *pResult)) /* 32 */                                                       \
  M(QuickBatchSend, (PARLINK_THIS_ BSTR To, BSTR *pResult)) /* 33 */                               \
  M(EndBatch, (PARLINK_THIS_ BSTR *pResult)) /* 29 */                                              \
  M(Ping, (PARLINK_THIS_ BSTR *pResult)) /* 34 */                                                  \
  M(QueryBalance, (PARLINK_THIS_ BSTR *pResult)) /* 35 */                                          \
  M(ResetSMS, (PARLINK_THIS)) /* 37 */                                                             \
  M(EncodeToUnicode, (PARLINK_THIS_ BSTR StringToConvert, BSTR *pResult)) /* 42 */                 \
  M(TokenPay, (PARLINK_THIS_ BSTR Token, BSTR *pResult)) /* 44 */                                  \
  M(AuthenticateClient, (PARLINK_THIS_ BSTR ClientID, BSTR pUser, BSTR pPassword,                  \
                         VARIANT_BOOL Encoded, BSTR *pResult)) /* 45 */                            \
  M(ChangePassword, (PARLINK_THIS_ BSTR Password, BSTR *pResult)) /* 48 */                         \
  M(RecoverPassword, (PARLINK_THIS_ BSTR Username, BSTR Email, BSTR *pResult)) /* 49 */            \
  M(ConfigureProxy, (PARLINK_THIS_ LONG eInetType, BSTR Proxy, BSTR Port, BSTR *pResult)) /* 50 */ \
  M(SetConnectTimeout, (PARLINK_THIS_ LONG Timeout, LONG *pResult)) /* 53 */                       \
  M(SetReceiveTimeout, (PARLINK_THIS_ LONG Timeout, LONG *pResult)) /* 54 */                       \
  M(QueryCoverage, (PARLINK_THIS_ BSTR To, BSTR *pResult)) /* 62 */                                \
  M(SetBaseURL, (PARLINK_THIS_ VARIANT_BOOL bResetOnly, BSTR NewURL, LONG HashKey,                 \
                 BSTR *pResult)) /* 63 */                                                          \
  M(SendOTAasXML, (PARLINK_THIS_ VARIANT_BOOL bUseSessionID, BSTR To, BSTR DescInXML,              \
                   BSTR *pResult)) /* 64 */                                                        \
  M(SendOTABookmark, (PARLINK_THIS_ BSTR To, BSTR Name, BSTR Url, BSTR *pResult)) /* 65 */         \
  M(Version, (PARLINK_THIS_ VARIANT_BOOL bFromServer, BSTR *pResult)) /* 67 */                     \
  M(ConfigureProxyEx, (PARLINK_THIS_ VARIANT_BOOL bTestForOnline, LONG eInetType, BSTR Proxy,      \
                       BSTR Port, BSTR Username, BSTR Password, BSTR *pResult)) /* 68 */           \
  M(GetMsgCharge, (PARLINK_THIS_ VARIANT_BOOL bUseSessionID, BSTR ApiMsgID,                        \
                   BSTR *pResult)) /* 69 */                                                        \
  M(OTA_SetCSD, (PARLINK_THIS_ BSTR To, BSTR Name, BSTR Url, LONG PPPLoginType,                    \
                 LONG PPPAuthType, BSTR PPPAuthName, BSTR PPPAuthSecret, LONG CSDCallType,         \
                 LONG CSDCallSpeed, BSTR CSDDialString, BSTR *pResult)) /* 70 */                   \
  M(OTA_SetGPRS, (PARLINK_THIS_ BSTR To, BSTR Name, BSTR Url, LONG PPPLoginType,                   \
                  LONG PPPAuthType, BSTR PPPAuthName, BSTR PPPAuthSecret, LONG Port,               \
                  BSTR GPRSAccess, BSTR *pResult)) /* 71 */                                        \
  /* Properties */                                                                                 \
  M(get_smsAPI_ID, (PARLINK_THIS_ BSTR *pVal)) /* 2 */                                             \
  M(put_smsAPI_ID, (PARLINK_THIS_ BSTR newVal))                                                    \
  M(get_smsUSER, (PARLINK_THIS_ BSTR *pVal)) /* 3 */                                               \
  M(put_smsUSER, (PARLINK_THIS_ BSTR newVal))                                                      \
  M(get_smsPASSWORD, (PARLINK_THIS_ BSTR *pVal)) /* 4 */                                           \
  M(put_smsPASSWORD, (PARLINK_THIS_ BSTR newVal))                                                  \
  M(get_smsIsLoggedIn, (PARLINK_THIS_ VARIANT_BOOL *pVal)) /* 5 */                                 \
  M(get_smsSESSION_ID, (PARLINK_THIS_ BSTR *pVal)) /* 6 */                                         \
  M(get_smsERROR, (PARLINK_THIS_ LONG *pVal)) /* 7 */                                              \
  M(get_smsFROM, (PARLINK_THIS_ BSTR *pVal)) /* 9 */                                               \
  M(put_smsFROM, (PARLINK_THIS_ BSTR newVal))                                                      \
  M(get_smsTO, (PARLINK_THIS_ BSTR *pVal)) /* 10 */                                                \
  M(put_smsTO, (PARLINK_THIS_ BSTR newVal))                                                        \
  M(get_smsVAL_PERIOD, (PARLINK_THIS_ LONG *pVal)) /* 12 */                                        \
  M(put_smsVAL_PERIOD, (PARLINK_THIS_ LONG newVal))                                                \
  M(get_smsDELIVERY_ACK, (PARLINK_THIS_ VARIANT_BOOL *pVal)) /* 13 */                              \
  M(put_smsDELIVERY_ACK, (PARLINK_THIS_ VARIANT_BOOL newVal))                                      \
  M(get_smsDELIVERY_TIME, (PARLINK_THIS_ LONG *pVal)) /* 14 */                                     \
  M(put_smsDELIVERY_TIME, (PARLINK_THIS_ LONG newVal))                                             \
  M(get_smsCONCAT, (PARLINK_THIS_ LONG *pVal)) /* 16 */                                            \
  M(put_smsCONCAT, (PARLINK_THIS_ LONG newVal))                                                    \
  M(get_smsCLI_MSG_ID, (PARLINK_THIS_ BSTR *pVal)) /* 17 */                                        \
  M(put_smsCLI_MSG_ID, (PARLINK_THIS_ BSTR newVal))                                                \
  M(get_smsCALLBACK, (PARLINK_THIS_ LONG *pVal)) /* 18 */                                          \
  M(put_smsCALLBACK, (PARLINK_THIS_ LONG newVal))                                                  \
  M(get_smsMSG_TYPE, (PARLINK_THIS_ LONG *pVal)) /* 19 */                                          \
  M(put_smsMSG_TYPE, (PARLINK_THIS_ LONG newVal))                                                  \
  M(get_smsUDH, (PARLINK_THIS_ BSTR *pVal)) /* 20 */                                               \
  M(put_smsUDH, (PARLINK_THIS_ BSTR newVal))                                                       \
  M(get_smsTEXT, (PARLINK_THIS_ BSTR *pVal)) /* 21 */                                              \
  M(put_smsTEXT, (PARLINK_THIS_ BSTR newVal))                                                      \
  M(get_smsBATCH_ID, (PARLINK_THIS_ BSTR *pVal)) /* 30 */                                          \
  M(get_smsERROR_DESC, (PARLINK_THIS_ BSTR *pVal)) /* 31 */                                        \
  M(get_ThrowError, (PARLINK_THIS_ VARIANT_BOOL *pVal)) /* 38 */                                   \
  M(put_ThrowError, (PARLINK_THIS_ VARIANT_BOOL newVal))                                           \
  M(get_smsCommunicationType, (PARLINK_THIS_ LONG *pVal)) /* 40 */                                 \
  M(put_smsCommunicationType, (PARLINK_THIS_ LONG newVal))                                         \
  M(get_smsUNICODE, (PARLINK_THIS_ VARIANT_BOOL *pVal)) /* 41 */                                   \
  M(put_smsUNICODE, (PARLINK_THIS_ VARIANT_BOOL newVal))                                           \
  M(get_CanSendViaSSL, (PARLINK_THIS_ VARIANT_BOOL *pVal)) /* 43 */                                \
  M(get_smsMO, (PARLINK_THIS_ VARIANT_BOOL *pVal)) /* 55 */                                        \
  M(put_smsMO, (PARLINK_THIS_ VARIANT_BOOL newVal))                                                \
  M(get_smsMAX_CREDITS, (PARLINK_THIS_ LONG *pVal)) /* 58 */                                       \
  M(put_smsMAX_CREDITS, (PARLINK_THIS_ LONG newVal))                                               \
  M(get_smsQUEUE, (PARLINK_THIS_ LONG *pVal)) /* 59 */                                             \
  M(put_smsQUEUE, (PARLINK_THIS_ LONG newVal))                                                     \
  M(get_smsESCALATE, (PARLINK_THIS_ LONG *pVal)) /* 60 */                                          \
  M(put_smsESCALATE, (PARLINK_THIS_ LONG newVal))                                                  \
  M(get_smsREQUIRED_FEATURES, (PARLINK_THIS_ LONG *pVal)) /* 61 */                                 \
  M(put_smsREQUIRED_FEATURES, (PARLINK_THIS_ LONG newVal))


#ifdef __cplusplus

#define PARLINK_THIS_
#define PARLINK_THIS
#define PARLINK_ISMS_SLOT(name, parameters) virtual HRESULT name parameters = 0;

struct ISMS : IDispatch {
  PARLINK_ISMS_MEMBERS(PARLINK_ISMS_SLOT)
};

#else /* C clients */

typedef struct ISMS ISMS;

#define PARLINK_THIS_ ISMS *This,
#define PARLINK_THIS ISMS *This
#define PARLINK_ISMS_SLOT(name, parameters) HRESULT(*name) parameters;

typedef struct ISMSVtbl {
  HRESULT (*QueryInterface)(ISMS *This, REFIID riid, void **ppv);
  ULONG (*AddRef)(ISMS *This);
  ULONG (*Release)(ISMS *This);
  HRESULT (*GetTypeInfoCount)(ISMS *This, UINT *pctinfo);
  HRESULT (*GetTypeInfo)(ISMS *This, UINT iTInfo, LCID lcid, ITypeInfo **ppTInfo);
  HRESULT (*GetIDsOfNames)(ISMS *This, REFIID riid, LPOLESTR *rgszNames, UINT cNames, LCID lcid,
                           DISPID *rgDispId);
  HRESULT (*Invoke)(ISMS *This, DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                    DISPPARAMS *pDispParams, VARIANT *pVarResult, EXCEPINFO *pExcepInfo,
                    UINT *puArgErr);
  PARLINK_ISMS_MEMBERS(PARLINK_ISMS_SLOT)
} ISMSVtbl;

struct ISMS {
  const ISMSVtbl *lpVtbl;
};

#endif /* __cplusplus */

#undef PARLINK_ISMS_SLOT
#undef PARLINK_THIS
#undef PARLINK_THIS_

#endif /* PARLINK_ISMS_H */
