// The object's properties, the result convention (status codes, error
// code and description, the thread's error object) and ResetSMS.
#include "TestSms.h"

using namespace parlinktest;

namespace {

class ParlinkSmsProperties : public GatewayTest {};

std::string GetText(ISMS *sms, HRESULT (ISMS::*get)(BSTR *)) {
  Bstr value;
  EXPECT_EQ((sms->*get)(value.out()), S_OK);
  return value.str();
}
LONG GetLong(ISMS *sms, HRESULT (ISMS::*get)(LONG *)) {
  LONG value = -777;
  EXPECT_EQ((sms->*get)(&value), S_OK);
  return value;
}
VARIANT_BOOL GetBool(ISMS *sms, HRESULT (ISMS::*get)(VARIANT_BOOL *)) {
  VARIANT_BOOL value = 77;
  EXPECT_EQ((sms->*get)(&value), S_OK);
  return value;
}

} // namespace

TEST_F(ParlinkSmsProperties, NewObjectHasTheInitialValues) {
  SmsPtr sms;
  for (auto get :
       {&ISMS::get_smsAPI_ID, &ISMS::get_smsUSER, &ISMS::get_smsSESSION_ID, &ISMS::get_smsFROM,
        &ISMS::get_smsTO, &ISMS::get_smsCLI_MSG_ID, &ISMS::get_smsUDH, &ISMS::get_smsTEXT,
        &ISMS::get_smsBATCH_ID, &ISMS::get_smsERROR_DESC})
    EXPECT_EQ(GetText(sms.get(), get), "");
  EXPECT_EQ(GetText(sms.get(), &ISMS::get_smsPASSWORD), "[not set]");
  EXPECT_EQ(GetLong(sms.get(), &ISMS::get_smsQUEUE), 3);
  EXPECT_EQ(GetLong(sms.get(), &ISMS::get_smsMAX_CREDITS), 1);
  EXPECT_EQ(GetLong(sms.get(), &ISMS::get_smsREQUIRED_FEATURES), 3);
  for (auto get : {&ISMS::get_smsERROR, &ISMS::get_smsVAL_PERIOD, &ISMS::get_smsDELIVERY_TIME,
                   &ISMS::get_smsCONCAT, &ISMS::get_smsCALLBACK, &ISMS::get_smsMSG_TYPE,
                   &ISMS::get_smsCommunicationType, &ISMS::get_smsESCALATE})
    EXPECT_EQ(GetLong(sms.get(), get), 0);
  for (auto get : {&ISMS::get_smsIsLoggedIn, &ISMS::get_smsDELIVERY_ACK, &ISMS::get_ThrowError,
                   &ISMS::get_smsUNICODE, &ISMS::get_smsMO})
    EXPECT_EQ(GetBool(sms.get(), get), VARIANT_FALSE);
}

TEST_F(ParlinkSmsProperties, TextPropertiesRoundTripThroughWindows1252) {
  SmsPtr sms;
  Bstr text("Caf\xC3\xA9 \xE2\x82\xAC 5 \xE4\xB8\xAD"); // "Café € 5 中"
  ASSERT_EQ(sms->put_smsTEXT(text.get()), S_OK);
  // The euro sign is in the code page, the CJK character is not.
  EXPECT_EQ(GetText(sms.get(), &ISMS::get_smsTEXT), "Caf\xC3\xA9 \xE2\x82\xAC 5 ?");

  Bstr from("Shop");
  sms->put_smsFROM(from.get());
  EXPECT_EQ(GetText(sms.get(), &ISMS::get_smsFROM), "Shop");
  ASSERT_EQ(sms->put_smsFROM(nullptr), S_OK);
  EXPECT_EQ(GetText(sms.get(), &ISMS::get_smsFROM), "");
}

TEST_F(ParlinkSmsProperties, PasswordIsShownAsStars) {
  SmsPtr sms;
  Bstr password("abcde");
  sms->put_smsPASSWORD(password.get());
  EXPECT_EQ(GetText(sms.get(), &ISMS::get_smsPASSWORD), "*****");
  sms->put_smsPASSWORD(nullptr);
  EXPECT_EQ(GetText(sms.get(), &ISMS::get_smsPASSWORD), "[not set]");
}

TEST_F(ParlinkSmsProperties, UserOrPasswordPutEndsTheSession) {
  for (auto put : {&ISMS::put_smsUSER, &ISMS::put_smsPASSWORD}) {
    SmsPtr sms;
    LogIn(sms.get(), "SESSION");
    EXPECT_EQ(GetBool(sms.get(), &ISMS::get_smsIsLoggedIn), VARIANT_TRUE);
    EXPECT_EQ(GetText(sms.get(), &ISMS::get_smsSESSION_ID), "SESSION");
    Bstr same(put == &ISMS::put_smsUSER ? "demo" : "pw");
    ASSERT_EQ((sms.get()->*put)(same.get()), S_OK);
    EXPECT_EQ(GetBool(sms.get(), &ISMS::get_smsIsLoggedIn), VARIANT_FALSE);
    EXPECT_EQ(GetText(sms.get(), &ISMS::get_smsSESSION_ID), "");
  }
  // Other puts leave the session alone.
  SmsPtr sms;
  LogIn(sms.get());
  Bstr api("other");
  sms->put_smsAPI_ID(api.get());
  EXPECT_EQ(GetBool(sms.get(), &ISMS::get_smsIsLoggedIn), VARIANT_TRUE);
}

TEST_F(ParlinkSmsProperties, BooleansStoreMinusOneAndNumbersAreNotChecked) {
  SmsPtr sms;
  for (auto [put, get] : {std::pair{&ISMS::put_smsDELIVERY_ACK, &ISMS::get_smsDELIVERY_ACK},
                          std::pair{&ISMS::put_ThrowError, &ISMS::get_ThrowError},
                          std::pair{&ISMS::put_smsUNICODE, &ISMS::get_smsUNICODE},
                          std::pair{&ISMS::put_smsMO, &ISMS::get_smsMO}}) {
    ASSERT_EQ((sms.get()->*put)(1), S_OK);
    EXPECT_EQ(GetBool(sms.get(), get), VARIANT_TRUE);
    (sms.get()->*put)(0x100);
    EXPECT_EQ(GetBool(sms.get(), get), VARIANT_TRUE);
    (sms.get()->*put)(0);
    EXPECT_EQ(GetBool(sms.get(), get), VARIANT_FALSE);
  }
  for (auto [put, get] :
       {std::pair{&ISMS::put_smsQUEUE, &ISMS::get_smsQUEUE},
        std::pair{&ISMS::put_smsVAL_PERIOD, &ISMS::get_smsVAL_PERIOD},
        std::pair{&ISMS::put_smsDELIVERY_TIME, &ISMS::get_smsDELIVERY_TIME},
        std::pair{&ISMS::put_smsCONCAT, &ISMS::get_smsCONCAT},
        std::pair{&ISMS::put_smsCALLBACK, &ISMS::get_smsCALLBACK},
        std::pair{&ISMS::put_smsMSG_TYPE, &ISMS::get_smsMSG_TYPE},
        std::pair{&ISMS::put_smsCommunicationType, &ISMS::get_smsCommunicationType},
        std::pair{&ISMS::put_smsMAX_CREDITS, &ISMS::get_smsMAX_CREDITS},
        std::pair{&ISMS::put_smsESCALATE, &ISMS::get_smsESCALATE},
        std::pair{&ISMS::put_smsREQUIRED_FEATURES, &ISMS::get_smsREQUIRED_FEATURES}}) {
    ASSERT_EQ((sms.get()->*put)(7), S_OK);
    EXPECT_EQ(GetLong(sms.get(), get), 7);
    (sms.get()->*put)(-5);
    EXPECT_EQ(GetLong(sms.get(), get), -5);
  }
}

TEST_F(ParlinkSmsProperties, NullOutPointersGiveEPointer) {
  SmsPtr sms;
  EXPECT_EQ(sms->get_smsTEXT(nullptr), E_POINTER);
  EXPECT_EQ(sms->get_smsPASSWORD(nullptr), E_POINTER);
  EXPECT_EQ(sms->get_smsERROR(nullptr), E_POINTER);
  EXPECT_EQ(sms->get_smsIsLoggedIn(nullptr), E_POINTER);
  EXPECT_EQ(sms->get_CanSendViaSSL(nullptr), E_POINTER);
}

TEST_F(ParlinkSmsProperties, CanSendViaSslWithTheSystemLibrary) {
  SmsPtr sms;
  VARIANT_BOOL can = 5;
  ASSERT_EQ(sms->get_CanSendViaSSL(&can), S_OK);
  EXPECT_EQ(can, VARIANT_TRUE);
}

TEST_F(ParlinkSmsProperties, ResetRestoresEverythingButTheTransport) {
  SmsPtr sms;
  LogIn(sms.get());
  server_.SetReply("/http_batch/startbatch", Reply("ID: B7"));
  Bstr tmpl("Hi"), result;
  ASSERT_EQ(sms->StartBatch(tmpl.get(), result.out()), S_OK);
  Bstr text("x");
  sms->put_smsTEXT(text.get());
  sms->put_smsQUEUE(1);
  sms->put_smsMO(VARIANT_TRUE);
  sms->put_ThrowError(VARIANT_TRUE);
  const std::string base = "http://127.0.0.1:1/moved/";
  Bstr url(base);
  ASSERT_EQ(sms->SetBaseURL(VARIANT_FALSE, url.get(),
                            parlink::BaseUrlKey(static_cast<uint32_t>(base.size())), result.out()),
            S_OK);

  ASSERT_EQ(sms->ResetSMS(), S_OK);
  EXPECT_EQ(GetText(sms.get(), &ISMS::get_smsBATCH_ID), "");
  EXPECT_EQ(GetText(sms.get(), &ISMS::get_smsAPI_ID), "");
  EXPECT_EQ(GetText(sms.get(), &ISMS::get_smsUSER), "");
  EXPECT_EQ(GetText(sms.get(), &ISMS::get_smsPASSWORD), "[not set]");
  EXPECT_EQ(GetText(sms.get(), &ISMS::get_smsSESSION_ID), "");
  EXPECT_EQ(GetText(sms.get(), &ISMS::get_smsTEXT), "");
  EXPECT_EQ(GetBool(sms.get(), &ISMS::get_smsIsLoggedIn), VARIANT_FALSE);
  EXPECT_EQ(GetBool(sms.get(), &ISMS::get_ThrowError), VARIANT_FALSE);
  EXPECT_EQ(GetBool(sms.get(), &ISMS::get_smsMO), VARIANT_FALSE);
  EXPECT_EQ(GetLong(sms.get(), &ISMS::get_smsQUEUE), 3);
  // The base URL is process-wide and stays where it was moved.
  EXPECT_EQ(parlink::TransportContext::Instance().BaseUrl(), base);
}

TEST_F(ParlinkSmsProperties, FailureWithoutThrowErrorReturnsSOkAndPublishesTheErrorObject) {
  SmsPtr sms;
  Bstr result;
  ASSERT_EQ(sms->Ping(result.out()), S_OK);
  EXPECT_EQ(result.str(), "ERR: 3");
  EXPECT_EQ(Error(sms.get()), 3);
  EXPECT_EQ(ErrorDesc(sms.get()), "No valid Session ID");
  const auto error = TakeErrorObject();
  ASSERT_TRUE(error);
  EXPECT_TRUE(IsEqualGUID(&error->guid, &parlink::CLSID_SMS));
  EXPECT_EQ(error->source, "Parlink");
  EXPECT_EQ(error->description, "No valid Session ID");
  EXPECT_EQ(error->helpFile, "C:\\");
  EXPECT_EQ(error->helpContext, 0u);
}

TEST_F(ParlinkSmsProperties, FailureWithThrowErrorReturnsEFail) {
  SmsPtr sms;
  sms->put_ThrowError(VARIANT_TRUE);
  server_.SetReply("/http/sendmsg", Reply("ERR: 105, Invalid Destination Address"));
  Bstr msg("Hi"), to("1"), result;
  EXPECT_EQ(sms->SendMsg(VARIANT_FALSE, msg.get(), to.get(), result.out()), E_FAIL);
  EXPECT_EQ(result.str(), "ERR: 105, Invalid Destination Address");
  EXPECT_EQ(Error(sms.get()), 105);
  const auto error = TakeErrorObject();
  ASSERT_TRUE(error);
  EXPECT_EQ(error->description, "Send Message Failed.");
  EXPECT_EQ(error->source, "Parlink");

  // A success returns S_OK, leaves no error object and keeps the old
  // description.
  server_.SetReply("/http/sendmsg", Reply("ID: abc"));
  EXPECT_EQ(sms->SendMsg(VARIANT_FALSE, msg.get(), to.get(), result.out()), S_OK);
  EXPECT_EQ(Error(sms.get()), 0);
  EXPECT_EQ(ErrorDesc(sms.get()), "Send Message Failed.");
  EXPECT_FALSE(TakeErrorObject());
}

TEST_F(ParlinkSmsProperties, NullRequiredArgumentsGiveEPointerAndChangeNothing) {
  SmsPtr sms;
  Bstr a("a"), result;
  BSTR *out = result.out();
  EXPECT_EQ(sms->Authenticate(nullptr, a.get(), a.get(), VARIANT_TRUE, out), E_POINTER);
  EXPECT_EQ(sms->Authenticate(a.get(), nullptr, a.get(), VARIANT_TRUE, out), E_POINTER);
  EXPECT_EQ(sms->Authenticate(a.get(), a.get(), nullptr, VARIANT_TRUE, out), E_POINTER);
  EXPECT_EQ(sms->Authenticate(a.get(), a.get(), a.get(), VARIANT_TRUE, nullptr), E_POINTER);
  EXPECT_EQ(sms->AuthenticateClient(nullptr, a.get(), a.get(), VARIANT_TRUE, out), E_POINTER);
  EXPECT_EQ(sms->SendSimpleSMS(a.get(), a.get(), a.get(), nullptr, a.get(), out), E_POINTER);
  EXPECT_EQ(sms->SendMsg(VARIANT_FALSE, a.get(), a.get(), nullptr), E_POINTER);
  EXPECT_EQ(sms->QueryMsg(a.get(), 1, nullptr), E_POINTER);
  EXPECT_EQ(sms->StopMsgCLIID(a.get(), nullptr), E_POINTER);
  EXPECT_EQ(sms->Ping(nullptr), E_POINTER);
  EXPECT_EQ(sms->QueryBalance(nullptr), E_POINTER);
  EXPECT_EQ(sms->EncodeToUnicode(a.get(), nullptr), E_POINTER);
  EXPECT_EQ(sms->StartBatch(a.get(), nullptr), E_POINTER);
  EXPECT_EQ(sms->SendBatchItem(nullptr, a.get(), nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, out),
            E_POINTER);
  EXPECT_EQ(sms->QuickBatchSend(nullptr, out), E_POINTER);
  EXPECT_EQ(sms->EndBatch(nullptr), E_POINTER);
  EXPECT_EQ(sms->TokenPay(nullptr, out), E_POINTER);
  EXPECT_EQ(sms->ChangePassword(nullptr, out), E_POINTER);
  EXPECT_EQ(sms->RecoverPassword(a.get(), nullptr, out), E_POINTER);
  EXPECT_EQ(sms->QueryCoverage(a.get(), nullptr), E_POINTER);
  EXPECT_EQ(sms->SetBaseURL(VARIANT_TRUE, a.get(), 0, nullptr), E_POINTER);
  EXPECT_EQ(sms->SendOTAasXML(VARIANT_FALSE, a.get(), nullptr, out), E_POINTER);
  EXPECT_EQ(sms->SendOTABookmark(a.get(), nullptr, a.get(), out), E_POINTER);
  EXPECT_EQ(sms->OTA_SetCSD(a.get(), nullptr, a.get(), 0, 0, a.get(), a.get(), 0, 0, a.get(), out),
            E_POINTER);
  EXPECT_EQ(sms->OTA_SetGPRS(nullptr, a.get(), a.get(), 0, 0, a.get(), a.get(), 0, a.get(), out),
            E_POINTER);
  EXPECT_EQ(sms->Version(VARIANT_FALSE, nullptr), E_POINTER);
  EXPECT_EQ(sms->ConfigureProxy(2, a.get(), a.get(), nullptr), E_POINTER);
  EXPECT_EQ(sms->ConfigureProxyEx(VARIANT_FALSE, 2, a.get(), a.get(), a.get(), a.get(), nullptr),
            E_POINTER);
  EXPECT_EQ(sms->SetConnectTimeout(5, nullptr), E_POINTER);
  EXPECT_EQ(sms->SetReceiveTimeout(5, nullptr), E_POINTER);
  EXPECT_TRUE(result.isNull());
  EXPECT_EQ(server_.RequestCount(), 0u);
  EXPECT_EQ(Error(sms.get()), 0);
  EXPECT_EQ(GetText(sms.get(), &ISMS::get_smsAPI_ID), "");
}

TEST_F(ParlinkSmsProperties, GetMsgChargeClearsTheErrorBeforeCheckingArguments) {
  SmsPtr sms;
  Bstr result;
  sms->Ping(result.out()); // leaves smsERROR 3
  ASSERT_EQ(Error(sms.get()), 3);
  EXPECT_EQ(sms->GetMsgCharge(VARIANT_FALSE, nullptr, result.out()), E_POINTER);
  EXPECT_EQ(Error(sms.get()), 0);
}

TEST_F(ParlinkSmsProperties, ObjectsShareTheTransportButNotTheirState) {
  SmsPtr first, second;
  LogIn(first.get());
  EXPECT_EQ(GetBool(second.get(), &ISMS::get_smsIsLoggedIn), VARIANT_FALSE);
  LONG previous = 0;
  ASSERT_EQ(first->SetConnectTimeout(1234, &previous), S_OK);
  ASSERT_EQ(second->SetConnectTimeout(5678, &previous), S_OK);
  EXPECT_EQ(previous, 1234);
}
