#include "frame/MemberTable.h"

#include "frame/EnumTables.h"
#include "frame/MemberBinding.h"

#include <cstdio>
#include <cstdlib>

namespace parlink::frame {

namespace {

[[noreturn]] void TableMistake(const char *member, const char *what) {
  std::fprintf(stderr, "Parlink member table: %s: %s\n", member, what);
  std::abort();
}

bool DefaultFitsType(DefaultKind kind, VARTYPE vt) {
  switch (kind) {
  case DefaultKind::None:
    return true;
  case DefaultKind::Long:
    return vt == VT_I4;
  case DefaultKind::Bool:
    return vt == VT_BOOL;
  case DefaultKind::Text:
    return vt == VT_BSTR;
  }
  return false;
}

int ResolveEnum(const char *member, const char *enumType, VARTYPE vt) {
  if (enumType == nullptr) return -1;
  if (vt != VT_I4) TableMistake(member, "an enumeration must be a 32-bit integer");
  int index = EnumerationIndex(enumType);
  if (index < 0) TableMistake(member, "unknown enumeration");
  return index;
}

void Append(std::vector<Function> &table, Function f) {
  table.push_back(std::move(f));
}
void Append(std::vector<Function> &table, std::vector<Function> fs) {
  for (auto &f : fs)
    table.push_back(std::move(f));
}

std::vector<Function> BuildTable() {
  std::vector<Function> t;
  // Methods, in vtable order.
  Append(t, Method<&ISMS::Authenticate>(
                "Authenticate", 1,
                {Arg("API_ID"), Arg("pUser"), Arg("pPassword"), OptionalBool("Encoded", true)}));
  Append(t, Method<&ISMS::SendMsg>("SendMsg", 36, {Arg("bUseSessionID"), Arg("Msg"), Arg("To")}));
  Append(t, Method<&ISMS::SendSimpleSMS>(
                "SendSimpleSMS", 39,
                {Arg("API_ID"), Arg("User"), Arg("Password"), Arg("To"), Arg("MsgText")}));
  Append(t, Method<&ISMS::QueryMsgAPIID>("QueryMsgAPIID", 22, {Arg("lApiMsgID")}));
  Append(t, Method<&ISMS::QueryMsgCLIID>("QueryMsgCLIID", 23, {Arg("CliMsgID")}));
  Append(t, Method<&ISMS::QueryMsg>("QueryMsg", 24,
                                    {Arg("MsgID"), OptionalLong("eIDType", 1, "eSMSAPIorCLI_ID")}));
  Append(t, Method<&ISMS::StopMsgAPIID>("StopMsgAPIID", 25, {Arg("ApiMsgID")}));
  Append(t, Method<&ISMS::StopMsgCLIID>("StopMsgCLIID", 26, {Arg("CliMsgID")}));
  Append(t, Method<&ISMS::StopMsg>("StopMsg", 27,
                                   {Arg("MsgID"), OptionalLong("eIDType", 1, "eSMSAPIorCLI_ID")}));
  Append(t, Method<&ISMS::StartBatch>("StartBatch", 28, {Arg("Template")}));
  Append(t, Method<&ISMS::SendBatchItem>(
                "SendBatchItem", 32,
                {Arg("To"), OptionalText("Field1"), OptionalText("Field2"), OptionalText("Field3"),
                 OptionalText("Field4"), OptionalText("Field5"), OptionalText("Field6"),
                 OptionalText("Field7"), OptionalText("Field8"), OptionalText("Field9")}));
  Append(t, Method<&ISMS::QuickBatchSend>("QuickBatchSend", 33, {Arg("To")}));
  Append(t, Method<&ISMS::EndBatch>("EndBatch", 29));
  Append(t, Method<&ISMS::Ping>("Ping", 34));
  Append(t, Method<&ISMS::QueryBalance>("QueryBalance", 35));
  Append(t, Method<&ISMS::ResetSMS>("ResetSMS", 37));
  Append(t, Method<&ISMS::EncodeToUnicode>("EncodeToUnicode", 42, {Arg("StringToConvert")}));
  Append(t, Method<&ISMS::TokenPay>("TokenPay", 44, {Arg("Token")}));
  Append(t, Method<&ISMS::AuthenticateClient>(
                "AuthenticateClient", 45,
                {Arg("ClientID"), Arg("pUser"), Arg("pPassword"), OptionalBool("Encoded", true)}));
  Append(t, Method<&ISMS::ChangePassword>("ChangePassword", 48, {Arg("Password")}));
  Append(t, Method<&ISMS::RecoverPassword>("RecoverPassword", 49, {Arg("Username"), Arg("Email")}));
  Append(t, Method<&ISMS::ConfigureProxy>("ConfigureProxy", 50,
                                          {OptionalLong("eInetType", 2, "eSMSInetConnection"),
                                           OptionalText("Proxy"), OptionalText("Port")}));
  Append(t, Method<&ISMS::SetConnectTimeout>("SetConnectTimeout", 53, {Arg("Timeout")}));
  Append(t, Method<&ISMS::SetReceiveTimeout>("SetReceiveTimeout", 54, {Arg("Timeout")}));
  Append(t, Method<&ISMS::QueryCoverage>("QueryCoverage", 62, {Arg("To")}));
  Append(t, Method<&ISMS::SetBaseURL>("SetBaseURL", 63,
                                      {Arg("bResetOnly"), Arg("NewURL"), Arg("HashKey")}));
  Append(t, Method<&ISMS::SendOTAasXML>("SendOTAasXML", 64,
                                        {Arg("bUseSessionID"), Arg("To"), Arg("DescInXML")}));
  Append(t, Method<&ISMS::SendOTABookmark>("SendOTABookmark", 65,
                                           {Arg("To"), Arg("Name"), Arg("Url")}));
  Append(t, Method<&ISMS::Version>("Version", 67, {Arg("bFromServer")}));
  Append(t, Method<&ISMS::ConfigureProxyEx>("ConfigureProxyEx", 68,
                                            {Arg("bTestForOnline"),
                                             OptionalLong("eInetType", 2, "eSMSInetConnection"),
                                             OptionalText("Proxy"), OptionalText("Port"),
                                             OptionalText("Username"), OptionalText("Password")}));
  Append(t,
         Method<&ISMS::GetMsgCharge>("GetMsgCharge", 69, {Arg("bUseSessionID"), Arg("ApiMsgID")}));
  Append(t, Method<&ISMS::OTA_SetCSD>(
                "OTA_SetCSD", 70,
                {Arg("To"), Arg("Name"), Arg("Url"), Arg("PPPLoginType", "eOTAPPPLoginType"),
                 Arg("PPPAuthType", "eOTAPPPAuthType"), Arg("PPPAuthName"), Arg("PPPAuthSecret"),
                 Arg("CSDCallType", "eOTACSDCallType"), Arg("CSDCallSpeed", "eOTACSDCallSpeed"),
                 Arg("CSDDialString")}));
  Append(t, Method<&ISMS::OTA_SetGPRS>(
                "OTA_SetGPRS", 71,
                {Arg("To"), Arg("Name"), Arg("Url"), Arg("PPPLoginType", "eOTAPPPLoginType"),
                 Arg("PPPAuthType", "eOTAPPPAuthType"), Arg("PPPAuthName"), Arg("PPPAuthSecret"),
                 Arg("Port", "eOTAPort"), Arg("GPRSAccess")}));

  // Properties, each get before its put.
  Append(t, Property<&ISMS::get_smsAPI_ID, &ISMS::put_smsAPI_ID>("smsAPI_ID", 2));
  Append(t, Property<&ISMS::get_smsUSER, &ISMS::put_smsUSER>("smsUSER", 3));
  Append(t, Property<&ISMS::get_smsPASSWORD, &ISMS::put_smsPASSWORD>("smsPASSWORD", 4));
  Append(t, ReadOnlyProperty<&ISMS::get_smsIsLoggedIn>("smsIsLoggedIn", 5));
  Append(t, ReadOnlyProperty<&ISMS::get_smsSESSION_ID>("smsSESSION_ID", 6));
  Append(t, ReadOnlyProperty<&ISMS::get_smsERROR>("smsERROR", 7, "eSMSErrors"));
  Append(t, Property<&ISMS::get_smsFROM, &ISMS::put_smsFROM>("smsFROM", 9));
  Append(t, Property<&ISMS::get_smsTO, &ISMS::put_smsTO>("smsTO", 10));
  Append(t, Property<&ISMS::get_smsVAL_PERIOD, &ISMS::put_smsVAL_PERIOD>("smsVAL_PERIOD", 12));
  Append(t,
         Property<&ISMS::get_smsDELIVERY_ACK, &ISMS::put_smsDELIVERY_ACK>("smsDELIVERY_ACK", 13));
  Append(t, Property<&ISMS::get_smsDELIVERY_TIME, &ISMS::put_smsDELIVERY_TIME>("smsDELIVERY_TIME",
                                                                               14));
  Append(t,
         Property<&ISMS::get_smsCONCAT, &ISMS::put_smsCONCAT>("smsCONCAT", 16, "eSMSConcatType"));
  Append(t, Property<&ISMS::get_smsCLI_MSG_ID, &ISMS::put_smsCLI_MSG_ID>("smsCLI_MSG_ID", 17));
  Append(t, Property<&ISMS::get_smsCALLBACK, &ISMS::put_smsCALLBACK>("smsCALLBACK", 18,
                                                                     "eSMSCallbackType"));
  Append(t, Property<&ISMS::get_smsMSG_TYPE, &ISMS::put_smsMSG_TYPE>("smsMSG_TYPE", 19,
                                                                     "eSMSMsgType"));
  Append(t, Property<&ISMS::get_smsUDH, &ISMS::put_smsUDH>("smsUDH", 20));
  Append(t, Property<&ISMS::get_smsTEXT, &ISMS::put_smsTEXT>("smsTEXT", 21));
  Append(t, ReadOnlyProperty<&ISMS::get_smsBATCH_ID>("smsBATCH_ID", 30));
  Append(t, ReadOnlyProperty<&ISMS::get_smsERROR_DESC>("smsERROR_DESC", 31));
  Append(t, Property<&ISMS::get_ThrowError, &ISMS::put_ThrowError>("ThrowError", 38));
  Append(t, Property<&ISMS::get_smsCommunicationType, &ISMS::put_smsCommunicationType>(
                "smsCommunicationType", 40, "eSMSCommunicationType"));
  Append(t, Property<&ISMS::get_smsUNICODE, &ISMS::put_smsUNICODE>("smsUNICODE", 41));
  Append(t, ReadOnlyProperty<&ISMS::get_CanSendViaSSL>("CanSendViaSSL", 43));
  Append(t, Property<&ISMS::get_smsMO, &ISMS::put_smsMO>("smsMO", 55));
  Append(t, Property<&ISMS::get_smsMAX_CREDITS, &ISMS::put_smsMAX_CREDITS>("smsMAX_CREDITS", 58));
  Append(t, Property<&ISMS::get_smsQUEUE, &ISMS::put_smsQUEUE>("smsQUEUE", 59, "eSMSSendQueue"));
  Append(t, Property<&ISMS::get_smsESCALATE, &ISMS::put_smsESCALATE>("smsESCALATE", 60,
                                                                     "eSMSEscalate"));
  Append(t, Property<&ISMS::get_smsREQUIRED_FEATURES, &ISMS::put_smsREQUIRED_FEATURES>(
                "smsREQUIRED_FEATURES", 61));
  return t;
}

} // namespace

Function BuildFunction(const char *name, DISPID dispid, MemberKind kind, int slot,
                       const VARTYPE *inTypes, const ParamSpec *specs, size_t count,
                       VARTYPE resultVt, const char *resultEnum, MemberThunk call) {
  if (slot < 7) TableMistake(name, "not a virtual member of ISMS");
  Function f{name, dispid, kind, slot, {}, resultVt, -1, nullptr, call};
  f.resultEnumIndex = ResolveEnum(name, resultEnum, resultVt);
  if (resultVt != VT_EMPTY) f.resultName = kind == MemberKind::Method ? "pResult" : "pVal";
  bool optionalSeen = false;
  for (size_t i = 0; i < count; ++i) {
    const ParamSpec &spec = specs[i];
    if (!DefaultFitsType(spec.defaultKind, inTypes[i]))
      TableMistake(name, "default does not fit the parameter type");
    if (spec.defaultKind != DefaultKind::None) {
      optionalSeen = true;
    } else if (optionalSeen) {
      TableMistake(name, "a required parameter follows an optional one");
    }
    f.params.push_back(Parameter{spec.name, inTypes[i],
                                 ResolveEnum(name, spec.enumType, inTypes[i]), spec.defaultKind,
                                 spec.defaultNumber});
  }
  return f;
}

std::string Function::HelpString() const {
  return std::string(kind == MemberKind::Method ? "method " : "property ") + name;
}

int Function::OptionalCount() const {
  int n = 0;
  for (const auto &p : params)
    n += p.Optional() ? 1 : 0;
  return n;
}

int Function::RequiredCount() const {
  return static_cast<int>(params.size()) - OptionalCount();
}

std::span<const Function> SmsFunctions() {
  static const std::vector<Function> table = BuildTable();
  return table;
}

} // namespace parlink::frame
