// Dispatch by name: identifiers of every member, argument conversion and
// defaults, the failure codes of Invoke and the exception a failing method
// raises, against a recording gateway.

#include "FrameTestSupport.h"

#include "testsupport/RecordingServer.h"

#include <parlink/Parlink.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

testsupport::ScriptedReply Reply(const std::string &body) {
  testsupport::ScriptedReply reply;
  reply.body = body;
  return reply;
}

using namespace frametest;

class FrameDispatch : public ::testing::Test {
protected:
  void SetUp() override {
    setenv("PARLINK_BASE_URL", server_.BaseUrl().c_str(), 1);
    RegisterAndInitialise();
    sms_ = CreateSmsByProgId();
    ASSERT_TRUE(sms_);
    // The transport takes PARLINK_BASE_URL once per process; point it at
    // this test's server explicitly, so every case of the binary gets its own.
    const std::string url = server_.BaseUrl();
    DispatchCall move(sms_.Get(), u"SetBaseURL");
    move.Arg(Bool(false))
        .Arg(Text(std::u16string(url.begin(), url.end())))
        .Arg(Long(parlink::BaseUrlKey(static_cast<uint32_t>(url.size()))));
    ASSERT_EQ(S_OK, move.Method());
    ASSERT_EQ(u"OK: ", Bstr::Text(move.result.bstrVal).substr(0, 4));
  }
  void TearDown() override {
    sms_.Reset();
    CoUninitialize();
  }

  DISPID Id(std::u16string name) {
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(S_OK, sms_->GetIDsOfNames(&IID_NULL, names, 1, 0, &id));
    return id;
  }

  std::u16string GetText(std::u16string_view property) {
    DispatchCall get(sms_.Get(), property);
    EXPECT_EQ(S_OK, get.Get());
    EXPECT_EQ(VT_BSTR, get.result.vt);
    return Bstr::Text(get.result.bstrVal);
  }

  LONG GetLong(std::u16string_view property) {
    DispatchCall get(sms_.Get(), property);
    EXPECT_EQ(S_OK, get.Get());
    EXPECT_EQ(VT_I4, get.result.vt);
    return get.result.lVal;
  }

  void LogIn() {
    server_.SetReply("/http/auth", Reply("OK: session42"));
    DispatchCall auth(sms_.Get(), u"Authenticate");
    auth.Arg(Text(u"key")).Arg(Text(u"user")).Arg(Text(u"secret"));
    ASSERT_EQ(S_OK, auth.Method());
    ASSERT_EQ(u"OK: session42", Bstr::Text(auth.result.bstrVal));
  }

  testsupport::RecordingServer server_;
  ComPtr<IDispatch> sms_;
};

// Every member with the identifier the interface publishes for it.
const std::vector<std::pair<std::u16string, DISPID>> kPublishedIds = {
    {u"Authenticate", 1},
    {u"SendMsg", 36},
    {u"SendSimpleSMS", 39},
    {u"QueryMsgAPIID", 22},
    {u"QueryMsgCLIID", 23},
    {u"QueryMsg", 24},
    {u"StopMsgAPIID", 25},
    {u"StopMsgCLIID", 26},
    {u"StopMsg", 27},
    {u"StartBatch", 28},
    {u"SendBatchItem", 32},
    {u"QuickBatchSend", 33},
    {u"EndBatch", 29},
    {u"Ping", 34},
    {u"QueryBalance", 35},
    {u"ResetSMS", 37},
    {u"EncodeToUnicode", 42},
    {u"TokenPay", 44},
    {u"AuthenticateClient", 45},
    {u"ChangePassword", 48},
    {u"RecoverPassword", 49},
    {u"ConfigureProxy", 50},
    {u"SetConnectTimeout", 53},
    {u"SetReceiveTimeout", 54},
    {u"QueryCoverage", 62},
    {u"SetBaseURL", 63},
    {u"SendOTAasXML", 64},
    {u"SendOTABookmark", 65},
    {u"Version", 67},
    {u"ConfigureProxyEx", 68},
    {u"GetMsgCharge", 69},
    {u"OTA_SetCSD", 70},
    {u"OTA_SetGPRS", 71},
    {u"smsAPI_ID", 2},
    {u"smsUSER", 3},
    {u"smsPASSWORD", 4},
    {u"smsIsLoggedIn", 5},
    {u"smsSESSION_ID", 6},
    {u"smsERROR", 7},
    {u"smsFROM", 9},
    {u"smsTO", 10},
    {u"smsVAL_PERIOD", 12},
    {u"smsDELIVERY_ACK", 13},
    {u"smsDELIVERY_TIME", 14},
    {u"smsCONCAT", 16},
    {u"smsCLI_MSG_ID", 17},
    {u"smsCALLBACK", 18},
    {u"smsMSG_TYPE", 19},
    {u"smsUDH", 20},
    {u"smsTEXT", 21},
    {u"smsBATCH_ID", 30},
    {u"smsERROR_DESC", 31},
    {u"ThrowError", 38},
    {u"smsCommunicationType", 40},
    {u"smsUNICODE", 41},
    {u"CanSendViaSSL", 43},
    {u"smsMO", 55},
    {u"smsMAX_CREDITS", 58},
    {u"smsQUEUE", 59},
    {u"smsESCALATE", 60},
    {u"smsREQUIRED_FEATURES", 61},
};

TEST_F(FrameDispatch, EveryMemberHasItsPublishedIdentifier) {
  for (const auto &[name, expected] : kPublishedIds) {
    EXPECT_EQ(expected, Id(name)) << Narrow(name);
  }
  EXPECT_EQ(7, Id(u"SMSERROR"));
  EXPECT_EQ(36, Id(u"sendmsg"));
}

TEST_F(FrameDispatch, UnknownNamesAreReported) {
  std::u16string bogus = u"SendMessage";
  LPOLESTR one[] = {bogus.data()};
  DISPID id = 12345;
  EXPECT_EQ(DISP_E_UNKNOWNNAME, sms_->GetIDsOfNames(&IID_NULL, one, 1, 0, &id));
  EXPECT_EQ(DISPID_UNKNOWN, id);

  // Parameter names resolve to their positions; an unknown one is marked.
  std::u16string member = u"queryMSG";
  std::u16string good = u"EIDTYPE";
  std::u16string bad = u"Bogus";
  LPOLESTR names[] = {member.data(), good.data(), bad.data()};
  DISPID ids[3] = {0, 0, 0};
  EXPECT_EQ(DISP_E_UNKNOWNNAME, sms_->GetIDsOfNames(&IID_NULL, names, 3, 0, ids));
  EXPECT_EQ(24, ids[0]);
  EXPECT_EQ(1, ids[1]);
  EXPECT_EQ(DISPID_UNKNOWN, ids[2]);

  EXPECT_EQ(DISP_E_UNKNOWNINTERFACE, sms_->GetIDsOfNames(&IID_IDispatch, one, 1, 0, &id));
}

TEST_F(FrameDispatch, PropertiesRoundTripWithConversion) {
  {
    DispatchCall put(sms_.Get(), u"smsUSER");
    ASSERT_EQ(S_OK, put.Put(Text(u"bob")));
    EXPECT_EQ(VT_EMPTY, put.result.vt);
  }
  EXPECT_EQ(u"bob", GetText(u"smsUSER"));

  EXPECT_EQ(3, GetLong(u"smsQUEUE"));
  {
    DispatchCall put(sms_.Get(), u"smsQUEUE");
    ASSERT_EQ(S_OK, put.Put(Text(u"7"))); // text converted to the property's integer
  }
  EXPECT_EQ(7, GetLong(u"smsQUEUE"));

  {
    DispatchCall put(sms_.Get(), u"smsDELIVERY_ACK");
    ASSERT_EQ(S_OK, put.Put(Long(1)));
  }
  DispatchCall ack(sms_.Get(), u"smsDELIVERY_ACK");
  ASSERT_EQ(S_OK, ack.Run(DISPATCH_METHOD | DISPATCH_PROPERTYGET));
  EXPECT_EQ(VT_BOOL, ack.result.vt);
  EXPECT_EQ(VARIANT_TRUE, ack.result.boolVal);

  // By-reference values are read through.
  LONG credits = 5;
  VARIANT byref;
  VariantInit(&byref);
  byref.vt = VT_BYREF | VT_I4;
  byref.plVal = &credits;
  {
    DispatchCall put(sms_.Get(), u"smsMAX_CREDITS");
    ASSERT_EQ(S_OK, put.Put(byref));
  }
  EXPECT_EQ(5, GetLong(u"smsMAX_CREDITS"));

  VARIANT small;
  VariantInit(&small);
  small.vt = VT_I2;
  small.iVal = -12;
  {
    DispatchCall put(sms_.Get(), u"smsVAL_PERIOD");
    ASSERT_EQ(S_OK, put.Put(small));
  }
  EXPECT_EQ(-12, GetLong(u"smsVAL_PERIOD"));
  VARIANT byte;
  VariantInit(&byte);
  byte.vt = VT_UI1;
  byte.bVal = 200;
  {
    DispatchCall put(sms_.Get(), u"smsDELIVERY_TIME");
    ASSERT_EQ(S_OK, put.Put(byte));
  }
  EXPECT_EQ(200, GetLong(u"smsDELIVERY_TIME"));
  VARIANT empty;
  VariantInit(&empty);
  {
    DispatchCall put(sms_.Get(), u"smsDELIVERY_TIME");
    ASSERT_EQ(S_OK, put.Put(empty)); // an empty value is 0
  }
  EXPECT_EQ(0, GetLong(u"smsDELIVERY_TIME"));

  Bstr from(u"Shop");
  BSTR fromText = from.Get();
  VARIANT byrefText;
  VariantInit(&byrefText);
  byrefText.vt = VT_BYREF | VT_BSTR;
  byrefText.pbstrVal = &fromText;
  {
    DispatchCall put(sms_.Get(), u"smsFROM");
    ASSERT_EQ(S_OK, put.Put(byrefText));
  }
  EXPECT_EQ(u"Shop", GetText(u"smsFROM"));
}

TEST_F(FrameDispatch, WrongKindsAndIdentifiersAreNotFound) {
  DispatchCall putError(sms_.Get(), u"smsERROR");
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, putError.Put(Long(5)));
  EXPECT_EQ(0, GetLong(u"smsERROR"));

  DispatchCall getMethod(sms_.Get(), u"Ping");
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, getMethod.Get());

  DispatchCall unknown(sms_.Get(), DISPID(999));
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, unknown.Method());

  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT result;
  VariantInit(&result);
  EXPECT_EQ(DISP_E_UNKNOWNINTERFACE, sms_->Invoke(7, &IID_IDispatch, 0, DISPATCH_PROPERTYGET, &none,
                                                  &result, nullptr, nullptr));
}

TEST_F(FrameDispatch, AuthenticateWithoutEncodedSendsTheScrambledForm) {
  server_.SetReply("/http/auth", Reply("OK: abc"));
  DispatchCall auth(sms_.Get(), u"Authenticate");
  auth.Arg(Text(u"k1")).Arg(Text(u"ann")).Arg(Text(u"p w"));
  ASSERT_EQ(S_OK, auth.Method());
  auto request = server_.LastRequest();
  ASSERT_TRUE(request.has_value());
  const std::string body = request->method == "GET" ? request->query : request->body;
  EXPECT_EQ("api_id=k1&user=ann&password=p+w", Unscramble(body)) << body;

  DispatchCall plain(sms_.Get(), u"Authenticate");
  plain.Arg(Text(u"k1")).Arg(Text(u"ann")).Arg(Text(u"p w")).Arg(Bool(false));
  ASSERT_EQ(S_OK, plain.Method());
  request = server_.LastRequest();
  ASSERT_TRUE(request.has_value());
  EXPECT_EQ("api_id=k1&user=ann&password=p+w", request->query);
}

TEST_F(FrameDispatch, MissingOptionalArgumentsTakeTheirDefaults) {
  LogIn();
  server_.SetReply("/http/querymsg", Reply("ID: 1 Status: 002"));

  // Left out at the end.
  DispatchCall byApi(sms_.Get(), u"QueryMsg");
  byApi.Arg(Text(u"m1"));
  ASSERT_EQ(S_OK, byApi.Method());
  EXPECT_EQ("session_id=session42&apiMsgId=m1", server_.LastRequest()->query);

  // Marked missing explicitly.
  DispatchCall marked(sms_.Get(), u"QueryMsg");
  marked.Arg(Text(u"m2")).Arg(Missing());
  ASSERT_EQ(S_OK, marked.Method());
  EXPECT_EQ("session_id=session42&apiMsgId=m2", server_.LastRequest()->query);

  // Given by name.
  DispatchCall named(sms_.Get(), u"QueryMsg");
  named.Arg(Text(u"m3")).Named(1, Long(2));
  ASSERT_EQ(S_OK, named.Method());
  EXPECT_EQ("session_id=session42&cliMsgId=m3", server_.LastRequest()->query);
}

TEST_F(FrameDispatch, BatchFieldsLeftOutAreNotSent) {
  LogIn();
  server_.SetReply("/http_batch/startbatch", Reply("ID: b7"));
  server_.SetReply("/http_batch/senditem", Reply("ID: 99"));
  DispatchCall start(sms_.Get(), u"StartBatch");
  start.Arg(Text(u"Hello #field1#"));
  ASSERT_EQ(S_OK, start.Method());

  DispatchCall item(sms_.Get(), u"SendBatchItem");
  item.Arg(Text(u"4477")).Arg(Text(u"A B")).Arg(Missing()).Arg(Text(u""));
  ASSERT_EQ(S_OK, item.Method());
  EXPECT_EQ(u"ID: 99", Bstr::Text(item.result.bstrVal));
  EXPECT_EQ("session_id=session42&batch_id=b7&to=4477&field1=A+B&field3=",
            server_.LastRequest()->query);

  // A null string is a field not passed as well.
  DispatchCall nulls(sms_.Get(), u"SendBatchItem");
  nulls.Arg(Text(u"4478")).Arg(NullText()).Arg(Text(u"x"));
  ASSERT_EQ(S_OK, nulls.Method());
  EXPECT_EQ("session_id=session42&batch_id=b7&to=4478&field2=x", server_.LastRequest()->query);
}

TEST_F(FrameDispatch, ParameterCountsAreChecked) {
  DispatchCall tooMany(sms_.Get(), u"SendMsg");
  tooMany.Arg(Bool(false)).Arg(Text(u"a")).Arg(Text(u"b")).Arg(Text(u"c"));
  EXPECT_EQ(DISP_E_BADPARAMCOUNT, tooMany.Method());

  DispatchCall tooFew(sms_.Get(), u"SendMsg");
  tooFew.Arg(Bool(false)).Arg(Text(u"a"));
  EXPECT_EQ(DISP_E_BADPARAMCOUNT, tooFew.Method());

  DispatchCall getWithArgs(sms_.Get(), u"smsQUEUE");
  getWithArgs.Arg(Long(1));
  EXPECT_EQ(DISP_E_BADPARAMCOUNT, getWithArgs.Get());

  DispatchCall requiredMissing(sms_.Get(), u"SendMsg");
  requiredMissing.Arg(Bool(false)).Arg(Missing()).Arg(Text(u"1"));
  EXPECT_EQ(DISP_E_PARAMNOTOPTIONAL, requiredMissing.Method());
  EXPECT_EQ(1u, requiredMissing.argErr); // rgvarg is reversed: Msg sits at index 1

  EXPECT_EQ(0u, server_.RequestCount());
}

TEST_F(FrameDispatch, ConversionFailuresNameTheArgument) {
  DispatchCall word(sms_.Get(), u"SetBaseURL");
  word.Arg(Bool(false)).Arg(Text(u"http://h/")).Arg(Text(u"abc"));
  EXPECT_EQ(DISP_E_TYPEMISMATCH, word.Method());
  EXPECT_EQ(0u, word.argErr);

  DispatchCall first(sms_.Get(), u"SetBaseURL");
  first.Arg(Text(u"maybe")).Arg(Text(u"http://h/")).Arg(Long(1));
  EXPECT_EQ(DISP_E_TYPEMISMATCH, first.Method());
  EXPECT_EQ(2u, first.argErr);

  DispatchCall big(sms_.Get(), u"SetConnectTimeout");
  big.Arg(Text(u"99999999999"));
  EXPECT_EQ(DISP_E_OVERFLOW, big.Method());
  EXPECT_EQ(0u, big.argErr);

  DispatchCall put(sms_.Get(), u"smsQUEUE");
  EXPECT_EQ(DISP_E_TYPEMISMATCH, put.Put(Text(u"seven")));
  EXPECT_EQ(0u, put.argErr);
  EXPECT_EQ(3, GetLong(u"smsQUEUE"));
}

TEST_F(FrameDispatch, ResultsCarryTheMembersType) {
  DispatchCall encode(sms_.Get(), u"EncodeToUnicode");
  encode.Arg(Text(u"A\u20ac"));
  ASSERT_EQ(S_OK, encode.Method());
  ASSERT_EQ(VT_BSTR, encode.result.vt);
  EXPECT_EQ(u"004120ac", Bstr::Text(encode.result.bstrVal));

  DispatchCall first(sms_.Get(), u"SetReceiveTimeout");
  first.Arg(Long(4321));
  ASSERT_EQ(S_OK, first.Method());
  EXPECT_EQ(VT_I4, first.result.vt);
  DispatchCall second(sms_.Get(), u"SetReceiveTimeout");
  second.Arg(Text(u"5000"));
  ASSERT_EQ(S_OK, second.Method());
  ASSERT_EQ(VT_I4, second.result.vt);
  EXPECT_EQ(4321, second.result.lVal);

  {
    DispatchCall put(sms_.Get(), u"smsAPI_ID");
    ASSERT_EQ(S_OK, put.Put(Text(u"x")));
  }
  DispatchCall reset(sms_.Get(), u"ResetSMS");
  ASSERT_EQ(S_OK, reset.Method());
  EXPECT_EQ(VT_EMPTY, reset.result.vt);
  EXPECT_EQ(u"", GetText(u"smsAPI_ID"));
}

TEST_F(FrameDispatch, FailureWithThrowErrorBecomesAnException) {
  {
    DispatchCall put(sms_.Get(), u"ThrowError");
    ASSERT_EQ(S_OK, put.Put(Bool(true)));
  }
  DispatchCall ping(sms_.Get(), u"Ping");
  ASSERT_EQ(DISP_E_EXCEPTION, ping.Method());
  EXPECT_EQ(0, ping.excep.wCode);
  EXPECT_EQ(E_FAIL, ping.excep.scode);
  EXPECT_EQ(u"Parlink", Bstr::Text(ping.excep.bstrSource));
  EXPECT_EQ(u"No valid Session ID", Bstr::Text(ping.excep.bstrDescription));
  EXPECT_EQ(u"C:\\", Bstr::Text(ping.excep.bstrHelpFile));
  EXPECT_EQ(0u, ping.excep.dwHelpContext);
  EXPECT_EQ(VT_EMPTY, ping.result.vt);
  // The error object went into EXCEPINFO.
  IErrorInfo *left = nullptr;
  EXPECT_EQ(S_FALSE, GetErrorInfo(0, &left));
  EXPECT_EQ(3, GetLong(u"smsERROR"));
}

TEST_F(FrameDispatch, FailureWithoutThrowErrorIsReportedInTheResult) {
  DispatchCall ping(sms_.Get(), u"Ping");
  ASSERT_EQ(S_OK, ping.Method());
  EXPECT_EQ(u"ERR: 3", Bstr::Text(ping.result.bstrVal));
  // The error object stays on the thread for the caller.
  IErrorInfo *info = nullptr;
  ASSERT_EQ(S_OK, GetErrorInfo(0, &info));
  Bstr description;
  info->GetDescription(description.Out());
  EXPECT_EQ(u"No valid Session ID", description.Text());
  info->Release();
  EXPECT_EQ(u"No valid Session ID", GetText(u"smsERROR_DESC"));
}

TEST_F(FrameDispatch, AnEarlierErrorObjectIsNotBlamedForALaterFailure) {
  {
    DispatchCall ping(sms_.Get(), u"Ping"); // leaves "No valid Session ID" on the thread
    ASSERT_EQ(S_OK, ping.Method());
  }
  // A null required string fails with E_POINTER and publishes nothing.
  DispatchCall auth(sms_.Get(), u"Authenticate");
  auth.Arg(NullText()).Arg(Text(u"u")).Arg(Text(u"p"));
  ASSERT_EQ(DISP_E_EXCEPTION, auth.Method());
  EXPECT_EQ(E_POINTER, auth.excep.scode);
  EXPECT_EQ(nullptr, auth.excep.bstrDescription);
  EXPECT_EQ(0u, server_.RequestCount());
}

TEST_F(FrameDispatch, WithoutExcepInfoTheMethodsCodeIsReturned) {
  {
    DispatchCall put(sms_.Get(), u"ThrowError");
    ASSERT_EQ(S_OK, put.Put(Long(-1)));
  }
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VARIANT result;
  VariantInit(&result);
  EXPECT_EQ(E_FAIL,
            sms_->Invoke(34, &IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr));
  IErrorInfo *info = nullptr;
  ASSERT_EQ(S_OK, GetErrorInfo(0, &info));
  info->Release();
}

TEST_F(FrameDispatch, TypeInfoComesFromTheLibrary) {
  UINT count = 0;
  ASSERT_EQ(S_OK, sms_->GetTypeInfoCount(&count));
  EXPECT_EQ(1u, count);
  ITypeInfo *info = nullptr;
  EXPECT_EQ(DISP_E_BADINDEX, sms_->GetTypeInfo(1, 0, &info));
  ASSERT_EQ(S_OK, sms_->GetTypeInfo(0, 0, &info));
  TYPEATTR *attr = nullptr;
  ASSERT_EQ(S_OK, info->GetTypeAttr(&attr));
  EXPECT_TRUE(IsEqualGUID(&attr->guid, &parlink::IID_ISMS));
  info->ReleaseTypeAttr(attr);
  info->Release();
}

} // namespace
