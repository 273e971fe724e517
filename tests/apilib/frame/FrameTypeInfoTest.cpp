// The type library served by the module: its attributes, the order of its
// types, every function description of ISMS and the enumerations.

#include "FrameTestSupport.h"

#include <parlink/Parlink.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace frametest;

ComPtr<ITypeLib> Library() {
  ComPtr<ITypeLib> lib;
  EXPECT_EQ(S_OK, Module().getTypeLib(lib.Out()));
  return lib;
}

std::u16string Name(ITypeLib *lib, INT index) {
  Bstr name;
  EXPECT_EQ(S_OK, lib->GetDocumentation(index, name.Out(), nullptr, nullptr, nullptr));
  return name.Text();
}

std::u16string Doc(ITypeInfo *info, MEMBERID memid) {
  Bstr doc;
  EXPECT_EQ(S_OK, info->GetDocumentation(memid, nullptr, doc.Out(), nullptr, nullptr));
  return doc.Text();
}

std::u16string NameOf(ITypeInfo *info, MEMBERID memid) {
  Bstr name;
  EXPECT_EQ(S_OK, info->GetDocumentation(memid, name.Out(), nullptr, nullptr, nullptr));
  return name.Text();
}

std::u16string W(const std::string &ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

const std::vector<std::string> kTypeNames = {"eSMSErrors",
                                             "eSMSMsgStatus",
                                             "eSMSMsgType",
                                             "eSMSConcatType",
                                             "eSMSCallbackType",
                                             "eSMSCommunicationType",
                                             "eSMSAPIorCLI_ID",
                                             "eSMSInetConnection",
                                             "eSMSSendQueue",
                                             "eSMSEscalate",
                                             "eSMSReqFeatures",
                                             "eOTAType",
                                             "eOTABearer",
                                             "eOTAPPPLoginType",
                                             "eOTAPPPAuthType",
                                             "eOTAProxyType",
                                             "eOTAProxyLoginType",
                                             "eOTAPort",
                                             "eOTACSDCallType",
                                             "eOTACSDCallSpeed",
                                             "_ISMSEvents",
                                             "SMS",
                                             "ISMS"};

TEST(FrameTypeInfo, LibraryAttributesAndOrder) {
  auto lib = Library();
  ASSERT_TRUE(lib);
  Bstr name;
  Bstr doc;
  ASSERT_EQ(S_OK, lib->GetDocumentation(-1, name.Out(), doc.Out(), nullptr, nullptr));
  EXPECT_EQ(u"ParlinkLib", name.Text());
  EXPECT_EQ(u"Parlink 1.0 Type Library", doc.Text());

  TLIBATTR *attr = nullptr;
  ASSERT_EQ(S_OK, lib->GetLibAttr(&attr));
  EXPECT_TRUE(IsEqualGUID(&attr->guid, &parlink::LIBID_ParlinkLib));
  EXPECT_EQ(0x409u, attr->lcid);
  EXPECT_EQ(1, attr->wMajorVerNum);
  EXPECT_EQ(0, attr->wMinorVerNum);
  lib->ReleaseTLibAttr(attr);

  ASSERT_EQ(kTypeNames.size(), lib->GetTypeInfoCount());
  for (size_t i = 0; i < kTypeNames.size(); ++i) {
    EXPECT_EQ(W(kTypeNames[i]), Name(lib.Get(), static_cast<INT>(i)));
    TYPEKIND kind;
    ASSERT_EQ(S_OK, lib->GetTypeInfoType(static_cast<UINT>(i), &kind));
    TYPEKIND expected = i < 20 ? TKIND_ENUM : i == 21 ? TKIND_COCLASS : TKIND_DISPATCH;
    EXPECT_EQ(expected, kind) << kTypeNames[i];
  }
  ComPtr<ITypeInfo> none;
  EXPECT_EQ(TYPE_E_ELEMENTNOTFOUND, lib->GetTypeInfo(23, none.Out()));
}

TEST(FrameTypeInfo, ClassEventsAndInterface) {
  auto lib = Library();
  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(S_OK, lib->GetTypeInfoOfGuid(&parlink::CLSID_SMS, coclass.Out()));
  EXPECT_EQ(u"SMS Class", Doc(coclass.Get(), MEMBERID_NIL));
  TYPEATTR *attr = nullptr;
  ASSERT_EQ(S_OK, coclass->GetTypeAttr(&attr));
  EXPECT_EQ(TKIND_COCLASS, attr->typekind);
  EXPECT_EQ(2, attr->cImplTypes);
  coclass->ReleaseTypeAttr(attr);

  HREFTYPE ref = 0;
  INT flags = 0;
  ComPtr<ITypeInfo> implemented;
  ASSERT_EQ(S_OK, coclass->GetRefTypeOfImplType(0, &ref));
  ASSERT_EQ(S_OK, coclass->GetImplTypeFlags(0, &flags));
  EXPECT_EQ(IMPLTYPEFLAG_FDEFAULT, flags);
  ASSERT_EQ(S_OK, coclass->GetRefTypeInfo(ref, implemented.Out()));
  EXPECT_EQ(u"ISMS", NameOf(implemented.Get(), MEMBERID_NIL));
  EXPECT_EQ(u"ISMS Interface", Doc(implemented.Get(), MEMBERID_NIL));

  ASSERT_EQ(S_OK, coclass->GetRefTypeOfImplType(1, &ref));
  ASSERT_EQ(S_OK, coclass->GetImplTypeFlags(1, &flags));
  EXPECT_EQ(IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE, flags);
  ComPtr<ITypeInfo> events;
  ASSERT_EQ(S_OK, coclass->GetRefTypeInfo(ref, events.Out()));
  EXPECT_EQ(u"_ISMSEvents", NameOf(events.Get(), MEMBERID_NIL));
  EXPECT_EQ(u"_ISMSEvents Interface", Doc(events.Get(), MEMBERID_NIL));
  ASSERT_EQ(S_OK, events->GetTypeAttr(&attr));
  EXPECT_EQ(TKIND_DISPATCH, attr->typekind);
  EXPECT_EQ(0, attr->cFuncs);
  EXPECT_TRUE(IsEqualGUID(&attr->guid, &parlink::DIID_ISMSEvents));
  events->ReleaseTypeAttr(attr);
  EXPECT_EQ(TYPE_E_ELEMENTNOTFOUND, coclass->GetRefTypeOfImplType(2, &ref));

  ASSERT_EQ(S_OK, implemented->GetTypeAttr(&attr));
  EXPECT_EQ(TKIND_DISPATCH, attr->typekind);
  EXPECT_EQ(TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION, attr->wTypeFlags);
  EXPECT_TRUE(IsEqualGUID(&attr->guid, &parlink::IID_ISMS));
  EXPECT_EQ(83, attr->cFuncs); // 33 methods, 22 read-write and 6 read-only properties
  EXPECT_EQ((7 + 83) * 8, attr->cbSizeVft);
  implemented->ReleaseTypeAttr(attr);

  ComPtr<ITypeLib> containing;
  UINT index = 0;
  ASSERT_EQ(S_OK, implemented->GetContainingTypeLib(containing.Out(), &index));
  EXPECT_EQ(22u, index);
}

// One expected function: parameters as "Name:T" with T one of S (text),
// L (32-bit), B (boolean) or an enumeration name, "=value" for an optional
// parameter's default; the result type after the kind.
struct ExpectedFunction {
  const char *name;
  DISPID id;
  INVOKEKIND kind;
  const char *params;
  const char *result; // "" for none
};

constexpr INVOKEKIND F = INVOKE_FUNC;
constexpr INVOKEKIND G = INVOKE_PROPERTYGET;
constexpr INVOKEKIND P = INVOKE_PROPERTYPUT;

const std::vector<ExpectedFunction> kFunctions = {
    {"Authenticate", 1, F, "API_ID:S pUser:S pPassword:S Encoded:B=-1", "S"},
    {"SendMsg", 36, F, "bUseSessionID:B Msg:S To:S", "S"},
    {"SendSimpleSMS", 39, F, "API_ID:S User:S Password:S To:S MsgText:S", "S"},
    {"QueryMsgAPIID", 22, F, "lApiMsgID:S", "S"},
    {"QueryMsgCLIID", 23, F, "CliMsgID:S", "S"},
    {"QueryMsg", 24, F, "MsgID:S eIDType:eSMSAPIorCLI_ID=1", "S"},
    {"StopMsgAPIID", 25, F, "ApiMsgID:S", "S"},
    {"StopMsgCLIID", 26, F, "CliMsgID:S", "S"},
    {"StopMsg", 27, F, "MsgID:S eIDType:eSMSAPIorCLI_ID=1", "S"},
    {"StartBatch", 28, F, "Template:S", "S"},
    {"SendBatchItem", 32, F,
     "To:S Field1:S= Field2:S= Field3:S= Field4:S= Field5:S= Field6:S= Field7:S= Field8:S= "
     "Field9:S=",
     "S"},
    {"QuickBatchSend", 33, F, "To:S", "S"},
    {"EndBatch", 29, F, "", "S"},
    {"Ping", 34, F, "", "S"},
    {"QueryBalance", 35, F, "", "S"},
    {"ResetSMS", 37, F, "", ""},
    {"EncodeToUnicode", 42, F, "StringToConvert:S", "S"},
    {"TokenPay", 44, F, "Token:S", "S"},
    {"AuthenticateClient", 45, F, "ClientID:S pUser:S pPassword:S Encoded:B=-1", "S"},
    {"ChangePassword", 48, F, "Password:S", "S"},
    {"RecoverPassword", 49, F, "Username:S Email:S", "S"},
    {"ConfigureProxy", 50, F, "eInetType:eSMSInetConnection=2 Proxy:S= Port:S=", "S"},
    {"SetConnectTimeout", 53, F, "Timeout:L", "L"},
    {"SetReceiveTimeout", 54, F, "Timeout:L", "L"},
    {"QueryCoverage", 62, F, "To:S", "S"},
    {"SetBaseURL", 63, F, "bResetOnly:B NewURL:S HashKey:L", "S"},
    {"SendOTAasXML", 64, F, "bUseSessionID:B To:S DescInXML:S", "S"},
    {"SendOTABookmark", 65, F, "To:S Name:S Url:S", "S"},
    {"Version", 67, F, "bFromServer:B", "S"},
    {"ConfigureProxyEx", 68, F,
     "bTestForOnline:B eInetType:eSMSInetConnection=2 Proxy:S= Port:S= Username:S= Password:S=",
     "S"},
    {"GetMsgCharge", 69, F, "bUseSessionID:B ApiMsgID:S", "S"},
    {"OTA_SetCSD", 70, F,
     "To:S Name:S Url:S PPPLoginType:eOTAPPPLoginType PPPAuthType:eOTAPPPAuthType PPPAuthName:S "
     "PPPAuthSecret:S CSDCallType:eOTACSDCallType CSDCallSpeed:eOTACSDCallSpeed CSDDialString:S",
     "S"},
    {"OTA_SetGPRS", 71, F,
     "To:S Name:S Url:S PPPLoginType:eOTAPPPLoginType PPPAuthType:eOTAPPPAuthType PPPAuthName:S "
     "PPPAuthSecret:S Port:eOTAPort GPRSAccess:S",
     "S"},
    {"smsAPI_ID", 2, G, "", "S"},
    {"smsAPI_ID", 2, P, "newVal:S", ""},
    {"smsUSER", 3, G, "", "S"},
    {"smsUSER", 3, P, "newVal:S", ""},
    {"smsPASSWORD", 4, G, "", "S"},
    {"smsPASSWORD", 4, P, "newVal:S", ""},
    {"smsIsLoggedIn", 5, G, "", "B"},
    {"smsSESSION_ID", 6, G, "", "S"},
    {"smsERROR", 7, G, "", "eSMSErrors"},
    {"smsFROM", 9, G, "", "S"},
    {"smsFROM", 9, P, "newVal:S", ""},
    {"smsTO", 10, G, "", "S"},
    {"smsTO", 10, P, "newVal:S", ""},
    {"smsVAL_PERIOD", 12, G, "", "L"},
    {"smsVAL_PERIOD", 12, P, "newVal:L", ""},
    {"smsDELIVERY_ACK", 13, G, "", "B"},
    {"smsDELIVERY_ACK", 13, P, "newVal:B", ""},
    {"smsDELIVERY_TIME", 14, G, "", "L"},
    {"smsDELIVERY_TIME", 14, P, "newVal:L", ""},
    {"smsCONCAT", 16, G, "", "eSMSConcatType"},
    {"smsCONCAT", 16, P, "newVal:eSMSConcatType", ""},
    {"smsCLI_MSG_ID", 17, G, "", "S"},
    {"smsCLI_MSG_ID", 17, P, "newVal:S", ""},
    {"smsCALLBACK", 18, G, "", "eSMSCallbackType"},
    {"smsCALLBACK", 18, P, "newVal:eSMSCallbackType", ""},
    {"smsMSG_TYPE", 19, G, "", "eSMSMsgType"},
    {"smsMSG_TYPE", 19, P, "newVal:eSMSMsgType", ""},
    {"smsUDH", 20, G, "", "S"},
    {"smsUDH", 20, P, "newVal:S", ""},
    {"smsTEXT", 21, G, "", "S"},
    {"smsTEXT", 21, P, "newVal:S", ""},
    {"smsBATCH_ID", 30, G, "", "S"},
    {"smsERROR_DESC", 31, G, "", "S"},
    {"ThrowError", 38, G, "", "B"},
    {"ThrowError", 38, P, "newVal:B", ""},
    {"smsCommunicationType", 40, G, "", "eSMSCommunicationType"},
    {"smsCommunicationType", 40, P, "newVal:eSMSCommunicationType", ""},
    {"smsUNICODE", 41, G, "", "B"},
    {"smsUNICODE", 41, P, "newVal:B", ""},
    {"CanSendViaSSL", 43, G, "", "B"},
    {"smsMO", 55, G, "", "B"},
    {"smsMO", 55, P, "newVal:B", ""},
    {"smsMAX_CREDITS", 58, G, "", "L"},
    {"smsMAX_CREDITS", 58, P, "newVal:L", ""},
    {"smsQUEUE", 59, G, "", "eSMSSendQueue"},
    {"smsQUEUE", 59, P, "newVal:eSMSSendQueue", ""},
    {"smsESCALATE", 60, G, "", "eSMSEscalate"},
    {"smsESCALATE", 60, P, "newVal:eSMSEscalate", ""},
    {"smsREQUIRED_FEATURES", 61, G, "", "L"},
    {"smsREQUIRED_FEATURES", 61, P, "newVal:L", ""},
};

struct ExpectedParam {
  std::string name;
  std::string type;
  bool optional = false;
  std::string defaultValue;
};

std::vector<ExpectedParam> ParseParams(const std::string &text) {
  std::vector<ExpectedParam> params;
  std::istringstream in(text);
  std::string word;
  while (in >> word) {
    ExpectedParam p;
    auto colon = word.find(':');
    p.name = word.substr(0, colon);
    std::string rest = word.substr(colon + 1);
    auto eq = rest.find('=');
    p.type = rest.substr(0, eq);
    if (eq != std::string::npos) {
      p.optional = true;
      p.defaultValue = rest.substr(eq + 1);
    }
    params.push_back(p);
  }
  return params;
}

// Checks one TYPEDESC against "S", "L", "B" or an enumeration name.
void ExpectType(ITypeInfo *info, const TYPEDESC &t, const std::string &type,
                const std::string &where) {
  if (type == "S") {
    EXPECT_EQ(VT_BSTR, t.vt) << where;
  } else if (type == "L") {
    EXPECT_EQ(VT_I4, t.vt) << where;
  } else if (type == "B") {
    EXPECT_EQ(VT_BOOL, t.vt) << where;
  } else {
    ASSERT_EQ(VT_USERDEFINED, t.vt) << where;
    ComPtr<ITypeInfo> referenced;
    ASSERT_EQ(S_OK, info->GetRefTypeInfo(t.hreftype, referenced.Out())) << where;
    EXPECT_EQ(W(type), NameOf(referenced.Get(), MEMBERID_NIL)) << where;
  }
}

TEST(FrameTypeInfo, EveryFunctionDescription) {
  auto lib = Library();
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(S_OK, lib->GetTypeInfoOfGuid(&parlink::IID_ISMS, info.Out()));

  for (size_t i = 0; i < kFunctions.size(); ++i) {
    const ExpectedFunction &e = kFunctions[i];
    const std::string where = std::string(e.name) + " #" + std::to_string(i);
    FUNCDESC *desc = nullptr;
    ASSERT_EQ(S_OK, info->GetFuncDesc(static_cast<UINT>(i), &desc)) << where;
    auto params = ParseParams(e.params);
    const bool hasResult = e.result[0] != 0;
    int optional = 0;
    for (auto &p : params)
      optional += p.optional ? 1 : 0;

    EXPECT_EQ(e.id, desc->memid) << where;
    EXPECT_EQ(e.kind, desc->invkind) << where;
    EXPECT_EQ(static_cast<int>(params.size() + (hasResult ? 1 : 0)), desc->cParams) << where;
    EXPECT_EQ(optional, desc->cParamsOpt) << where;
    EXPECT_EQ(static_cast<int>((7 + i) * sizeof(void *)), desc->oVft) << where;
    EXPECT_EQ(VT_HRESULT, desc->elemdescFunc.tdesc.vt) << where;
    EXPECT_EQ(FUNC_PUREVIRTUAL, desc->funckind) << where;

    for (size_t k = 0; k < params.size(); ++k) {
      const ELEMDESC &el = desc->lprgelemdescParam[k];
      const std::string at = where + " param " + params[k].name;
      ExpectType(info.Get(), el.tdesc, params[k].type, at);
      USHORT flags = PARAMFLAG_FIN;
      if (params[k].optional) flags |= PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT;
      EXPECT_EQ(flags, el.paramdesc.wParamFlags) << at;
      if (!params[k].optional) continue;
      ASSERT_NE(nullptr, el.paramdesc.pparamdescex) << at;
      const VARIANT &def = el.paramdesc.pparamdescex->varDefaultValue;
      if (params[k].type == "S") {
        ASSERT_EQ(VT_BSTR, def.vt) << at;
        EXPECT_EQ(W(params[k].defaultValue), Bstr::Text(def.bstrVal)) << at;
      } else if (params[k].type == "B") {
        ASSERT_EQ(VT_BOOL, def.vt) << at;
        EXPECT_EQ(std::stoi(params[k].defaultValue), def.boolVal) << at;
      } else {
        ASSERT_EQ(VT_I4, def.vt) << at;
        EXPECT_EQ(std::stoi(params[k].defaultValue), def.lVal) << at;
      }
    }
    if (hasResult) {
      const ELEMDESC &el = desc->lprgelemdescParam[params.size()];
      ASSERT_EQ(VT_PTR, el.tdesc.vt) << where;
      ExpectType(info.Get(), *el.tdesc.lptdesc, e.result, where + " result");
      EXPECT_EQ(PARAMFLAG_FOUT | PARAMFLAG_FRETVAL, el.paramdesc.wParamFlags) << where;
    }
    info->ReleaseFuncDesc(desc);

    const std::string help = (e.kind == F ? "method " : "property ") + std::string(e.name);
    EXPECT_EQ(W(help), Doc(info.Get(), e.id)) << where;
    EXPECT_EQ(W(e.name), NameOf(info.Get(), e.id)) << where;
  }
  FUNCDESC *beyond = nullptr;
  EXPECT_EQ(TYPE_E_ELEMENTNOTFOUND,
            info->GetFuncDesc(static_cast<UINT>(kFunctions.size()), &beyond));
}

TEST(FrameTypeInfo, NamesAndIdentifiersOfMembers) {
  auto lib = Library();
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(S_OK, lib->GetTypeInfoOfGuid(&parlink::IID_ISMS, info.Out()));

  BSTR names[8] = {};
  UINT count = 0;
  ASSERT_EQ(S_OK, info->GetNames(24, names, 8, &count));
  ASSERT_EQ(4u, count);
  EXPECT_EQ(u"QueryMsg", Bstr::Text(names[0]));
  EXPECT_EQ(u"MsgID", Bstr::Text(names[1]));
  EXPECT_EQ(u"eIDType", Bstr::Text(names[2]));
  EXPECT_EQ(u"pResult", Bstr::Text(names[3]));
  for (UINT i = 0; i < count; ++i)
    SysFreeString(names[i]);

  ASSERT_EQ(S_OK, info->GetNames(24, names, 2, &count)); // cut at the caller's room
  EXPECT_EQ(2u, count);
  SysFreeString(names[0]);
  SysFreeString(names[1]);
  EXPECT_EQ(TYPE_E_ELEMENTNOTFOUND, info->GetNames(8, names, 8, &count));

  std::u16string member = u"SETBASEurl";
  std::u16string param = u"hashkey";
  LPOLESTR query[] = {member.data(), param.data()};
  MEMBERID ids[2] = {};
  ASSERT_EQ(S_OK, info->GetIDsOfNames(query, 2, ids));
  EXPECT_EQ(63, ids[0]);
  EXPECT_EQ(2, ids[1]);

  BOOL found = 0;
  std::u16string probe = u"ssmsqueue";
  EXPECT_EQ(S_OK, lib->IsName(probe.data(), 0, &found));
  EXPECT_FALSE(found);
  std::u16string known = u"SMS_QUEUE_DEFAULT";
  EXPECT_EQ(S_OK, lib->IsName(known.data(), 0, &found));
  EXPECT_TRUE(found);
}

struct ExpectedEnum {
  const char *name;
  const char *help;
  size_t count;
  const char *constant;
  LONG value;
  const char *constantHelp;
};

const std::vector<ExpectedEnum> kEnums = {
    {"eSMSErrors", "SMS Error constants", 34, "SMS_ERR_MISS_SESSION_ID", 5, "Mission session ID"},
    {"eSMSMsgStatus", "Message Status constants", 11, "SMS_MSG_QUEUED_LATER_DELIV", 11,
     "Message Queued for later Delivery"},
    {"eSMSMsgType", "SMS Message Type constants", 10, "SMS_TYPE_NOKIA_OLOGO", 3,
     "Nokia Operator Logo"},
    {"eSMSConcatType", "SMS Concatenation types", 4, "SMS_CONCAT_2_MSG", 2,
     "Concat to max 2 messages"},
    {"eSMSCallbackType", "SMS Callback types", 4, "SMS_CALLBACK_BOTH", 3,
     "Return SMSC and Delivery acks"},
    {"eSMSCommunicationType", "SMS Communication Type", 2, "SMS_COMMS_SSL", 1,
     "Using HTTPS (SSL security)"},
    {"eSMSAPIorCLI_ID", "SMS Client or API ID", 2, "SMS_CLI_ID", 2, "Client ID"},
    {"eSMSInetConnection", "SMS Internet Connection Selection", 4, "SMS_INET_PRECONFIG_NO_RUN", 3,
     "Proxy config from registry, no scripts"},
    {"eSMSSendQueue", "SMS Send Queue", 4, "SMS_QUEUE_1ST", 1, "1st Queue"},
    {"eSMSEscalate", "SMS Escalate", 3, "SMS_ESCALATE_WITHIN_30SECS", 2, "Escalate within 30secs"},
    {"eSMSReqFeatures", "SMS Required Features", 11, "SMS_REQ_FEAT_DELIVACK", 8192,
     "Delivery Acknowledgements"},
    {"eOTAType", "OTA Type", 2, "OTA_TYPE_BOOKMARK", 2, "Bookmark"},
    {"eOTABearer", "OTA Bearer", 5, "OTA_BEARER_GPRS", 4, "General Packet Radio Service"},
    {"eOTAPPPLoginType", "OTA PPP Login Type", 3, "OTA_PPP_LOGIN_MANUAL", 2, "Manual"},
    {"eOTAPPPAuthType", "OTA PPP Auth Type", 4, "OTA_PPP_AUTH_MSCHAP", 3, "Microsoft(TM)-CHAP)"},
    {"eOTAProxyType", "OTA Proxy Type", 3, "OTA_PROXY_TYPE_IPV4", 2, "IP Address"},
    {"eOTAProxyLoginType", "OTA Proxy Login Type", 3, "OTA_PROXY_LOGIN_AUTO", 1, "Automatic"},
    {"eOTAPort", "OTA Port", 4, "OTA_PORT_9203", 3, "9203 (connection oriented)"},
    {"eOTACSDCallType", "OTA Circuit Switched Call Type", 2, "OTA_CSD_CALL_ISDN", 1, "ISDN"},
    {"eOTACSDCallSpeed", "OTA Circuit Switched Call Speed", 9, "OTA_CSD_SPEED_57600", 7, "57600"},
};

// The constants of an enumeration as (name, value, help) triples.
struct Constant {
  std::u16string name;
  LONG value;
  std::u16string help;
};

std::vector<Constant> Constants(ITypeInfo *info) {
  std::vector<Constant> out;
  TYPEATTR *attr = nullptr;
  EXPECT_EQ(S_OK, info->GetTypeAttr(&attr));
  if (attr == nullptr) return out;
  const WORD count = attr->cVars;
  EXPECT_EQ(TKIND_ENUM, attr->typekind);
  info->ReleaseTypeAttr(attr);
  for (WORD i = 0; i < count; ++i) {
    VARDESC *var = nullptr;
    EXPECT_EQ(S_OK, info->GetVarDesc(i, &var));
    if (var == nullptr) continue;
    EXPECT_EQ(VAR_CONST, var->varkind);
    EXPECT_EQ(VT_I4, var->lpvarValue->vt);
    Bstr name;
    Bstr help;
    EXPECT_EQ(S_OK, info->GetDocumentation(var->memid, name.Out(), help.Out(), nullptr, nullptr));
    out.push_back({name.Text(), var->lpvarValue->lVal, help.Text()});
    info->ReleaseVarDesc(var);
  }
  return out;
}

TEST(FrameTypeInfo, EnumerationsWithTheirConstants) {
  auto lib = Library();
  for (size_t i = 0; i < kEnums.size(); ++i) {
    const ExpectedEnum &e = kEnums[i];
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(S_OK, lib->GetTypeInfo(static_cast<UINT>(i), info.Out()));
    EXPECT_EQ(W(e.name), NameOf(info.Get(), MEMBERID_NIL));
    EXPECT_EQ(W(e.help), Doc(info.Get(), MEMBERID_NIL));
    auto constants = Constants(info.Get());
    EXPECT_EQ(e.count, constants.size()) << e.name;
    bool seen = false;
    for (const auto &c : constants) {
      if (c.name != W(e.constant)) continue;
      seen = true;
      EXPECT_EQ(e.value, c.value) << e.constant;
      EXPECT_EQ(W(e.constantHelp), c.help) << e.constant;
    }
    EXPECT_TRUE(seen) << e.constant;
  }
}

TEST(FrameTypeInfo, ValuesWithTwoNames) {
  auto lib = Library();
  ComPtr<ITypeInfo> queue;
  ASSERT_EQ(S_OK, lib->GetTypeInfo(8, queue.Out()));
  auto q = Constants(queue.Get());
  ASSERT_EQ(4u, q.size());
  EXPECT_EQ(u"SMS_QUEUE_3RD", q[2].name);
  EXPECT_EQ(3, q[2].value);
  EXPECT_EQ(u"3rd Queue [default]", q[2].help);
  EXPECT_EQ(u"SMS_QUEUE_DEFAULT", q[3].name);
  EXPECT_EQ(3, q[3].value);
  EXPECT_EQ(u"Default Queue", q[3].help);

  ComPtr<ITypeInfo> speed;
  ASSERT_EQ(S_OK, lib->GetTypeInfo(19, speed.Out()));
  auto s = Constants(speed.Get());
  ASSERT_EQ(9u, s.size());
  EXPECT_EQ(u"OTA_CSD_SPEED_NOT_SET", s[0].name);
  EXPECT_EQ(0, s[0].value);
  EXPECT_EQ(u"Not Set", s[0].help);
  EXPECT_EQ(u"OTA_CSD_SPEED_AUTO", s[1].name);
  EXPECT_EQ(0, s[1].value);
  EXPECT_EQ(u"AUTO", s[1].help);

  ComPtr<ITypeInfo> errors;
  ASSERT_EQ(S_OK, lib->GetTypeInfo(0, errors.Out()));
  auto err = Constants(errors.Get());
  ASSERT_FALSE(err.empty());
  EXPECT_EQ(u"SMS_ERR_INVALID_PARAMETERS", err.back().name);
  EXPECT_EQ(700, err.back().value);
  std::u16string name = u"sms_err_communication";
  LPOLESTR names[] = {name.data()};
  MEMBERID id = 0;
  ASSERT_EQ(S_OK, errors->GetIDsOfNames(names, 1, &id));
  Bstr help;
  ASSERT_EQ(S_OK, errors->GetDocumentation(id, nullptr, help.Out(), nullptr, nullptr));
  EXPECT_EQ(u"Communication error", help.Text());
}

} // namespace
