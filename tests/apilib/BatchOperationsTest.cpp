// Batches: start, items with their fields, quick sends and the end.
#include "TestSms.h"

using namespace parlinktest;

namespace {

class ParlinkBatchOperations : public GatewayTest {
protected:
  std::string BatchId(ISMS *sms) {
    Bstr id;
    sms->get_smsBATCH_ID(id.out());
    return id.str();
  }
  void Start(ISMS *sms, const std::string &id = "B1") {
    server_.SetReply("/http_batch/startbatch", Reply("ID: " + id));
    Bstr tmpl("Dear #field1#"), result;
    ASSERT_EQ(sms->StartBatch(tmpl.get(), result.out()), S_OK);
    ASSERT_EQ(BatchId(sms), id);
    server_.ClearRequests();
  }
};

} // namespace

TEST_F(ParlinkBatchOperations, StartBatchSendsTemplateAndOptionsWithoutTo) {
  SmsPtr sms;
  LogIn(sms.get(), "S");
  server_.SetReply("/http_batch/startbatch", Reply("ID: 9f00"));
  Bstr from("Shop"), to("4471"), tmpl("Hello #field1#, 50%"), result;
  sms->put_smsFROM(from.get());
  sms->put_smsTO(to.get());
  sms->put_smsMAX_CREDITS(3);
  ASSERT_EQ(sms->StartBatch(tmpl.get(), result.out()), S_OK);
  EXPECT_EQ(result.str(), "ID: 9f00");
  EXPECT_EQ(BatchId(sms.get()), "9f00");
  EXPECT_EQ(server_.LastRequest()->path, "/http_batch/startbatch");
  EXPECT_EQ(LastBody(), "session_id=S&template=Hello+%23field1%23%2c+50%25&from=Shop&max_cred=3"
                        "&mo=0&msg_type=SMS_TEXT");
}

TEST_F(ParlinkBatchOperations, FailedStartKeepsThePreviousBatch) {
  SmsPtr sms;
  LogIn(sms.get());
  Start(sms.get(), "OLD");
  server_.SetReply("/http_batch/startbatch", Reply("ERR: 202, No batch template"));
  Bstr tmpl(""), result;
  ASSERT_EQ(sms->StartBatch(tmpl.get(), result.out()), S_OK);
  EXPECT_EQ(result.str(), "ERR: 202, No batch template");
  EXPECT_EQ(Error(sms.get()), 202);
  EXPECT_EQ(ErrorDesc(sms.get()), "Start Batch Failed.");
  EXPECT_EQ(BatchId(sms.get()), "OLD");
}

TEST_F(ParlinkBatchOperations, ItemFieldsPresentEvenWhenEmptyAndAbsentWhenNull) {
  SmsPtr sms;
  LogIn(sms.get(), "S");
  Start(sms.get(), "B1");
  server_.SetReply("/http_batch/senditem", Reply("ID: i1"));
  Bstr to("4471 2"), f1("A B"), f3(""), result;
  ASSERT_EQ(sms->SendBatchItem(to.get(), f1.get(), nullptr, f3.get(), nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, result.out()),
            S_OK);
  EXPECT_EQ(result.str(), "ID: i1");
  EXPECT_EQ(server_.LastRequest()->path, "/http_batch/senditem");
  EXPECT_EQ(LastBody(), "session_id=S&batch_id=B1&to=4471+2&field1=A+B&field3=");
  Bstr smsTo;
  sms->get_smsTO(smsTo.out());
  EXPECT_EQ(smsTo.str(), "4471 2");

  Bstr f[9] = {Bstr("1"), Bstr("2"), Bstr("3"), Bstr("4"), Bstr("5"),
               Bstr("6"), Bstr("7"), Bstr("8"), Bstr("9&")};
  ASSERT_EQ(sms->SendBatchItem(to.get(), f[0].get(), f[1].get(), f[2].get(), f[3].get(), f[4].get(),
                               f[5].get(), f[6].get(), f[7].get(), f[8].get(), result.out()),
            S_OK);
  EXPECT_EQ(LastBody(), "session_id=S&batch_id=B1&to=4471+2&field1=1&field2=2&field3=3&field4=4"
                        "&field5=5&field6=6&field7=7&field8=8&field9=9%26");
}

TEST_F(ParlinkBatchOperations, ItemsAndEndNeedABatchIdentifier) {
  SmsPtr sms;
  LogIn(sms.get());
  Bstr to("1"), result;
  ASSERT_EQ(sms->SendBatchItem(to.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, result.out()),
            S_OK);
  EXPECT_EQ(result.str(), "ERR: 201");
  EXPECT_EQ(Error(sms.get()), 201);
  EXPECT_EQ(ErrorDesc(sms.get()), "No valid Batch ID");
  ASSERT_EQ(sms->QuickBatchSend(to.get(), result.out()), S_OK);
  EXPECT_EQ(result.str(), "ERR: 201");
  ASSERT_EQ(sms->EndBatch(result.out()), S_OK);
  EXPECT_EQ(result.str(), "ERR: 201");
  EXPECT_EQ(server_.RequestCount(), 0u);
}

TEST_F(ParlinkBatchOperations, EveryBatchCallNeedsASession) {
  SmsPtr sms;
  LogIn(sms.get());
  Start(sms.get(), "B1");
  Bstr user("other");
  sms->put_smsUSER(user.get()); // logs out, the batch identifier stays
  EXPECT_EQ(BatchId(sms.get()), "B1");
  Bstr to("1"), tmpl("t"), result;
  for (auto call : std::vector<std::function<HRESULT()>>{
           [&] { return sms->StartBatch(tmpl.get(), result.out()); },
           [&] { return sms->QuickBatchSend(to.get(), result.out()); },
           [&] { return sms->EndBatch(result.out()); }}) {
    ASSERT_EQ(call(), S_OK);
    EXPECT_EQ(result.str(), "ERR: 3");
    EXPECT_EQ(Error(sms.get()), 3);
  }
  EXPECT_EQ(BatchId(sms.get()), "B1");
  EXPECT_EQ(server_.RequestCount(), 0u);
}

TEST_F(ParlinkBatchOperations, QuickSendAndItemFailuresSayEndBatchFailed) {
  SmsPtr sms;
  LogIn(sms.get(), "S");
  Start(sms.get(), "B2");
  server_.SetReply("/http_batch/quicksend", Reply("ERR: 105, Invalid Destination Address"));
  Bstr to("1,2"), result;
  ASSERT_EQ(sms->QuickBatchSend(to.get(), result.out()), S_OK);
  EXPECT_EQ(server_.LastRequest()->path, "/http_batch/quicksend");
  EXPECT_EQ(LastBody(), "session_id=S&batch_id=B2&to=1%2c2");
  EXPECT_EQ(result.str(), "ERR: 105, Invalid Destination Address");
  EXPECT_EQ(Error(sms.get()), 105);
  EXPECT_EQ(ErrorDesc(sms.get()), "End Batch Failed.");

  server_.SetReply("/http_batch/senditem", Reply("ERR: 201, Invalid batch ID"));
  ASSERT_EQ(sms->SendBatchItem(to.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, result.out()),
            S_OK);
  EXPECT_EQ(Error(sms.get()), 201);
  EXPECT_EQ(ErrorDesc(sms.get()), "End Batch Failed.");
  EXPECT_EQ(BatchId(sms.get()), "B2");
}

TEST_F(ParlinkBatchOperations, EndBatchEmptiesTheIdentifierWhateverTheOutcome) {
  SmsPtr sms;
  LogIn(sms.get(), "S");
  Start(sms.get(), "B3");
  server_.SetReply("/http_batch/endbatch", Reply("OK: closed"));
  Bstr result;
  ASSERT_EQ(sms->EndBatch(result.out()), S_OK);
  EXPECT_EQ(result.str(), "OK: closed");
  EXPECT_EQ(LastBody(), "session_id=S&batch_id=B3");
  EXPECT_EQ(BatchId(sms.get()), "");

  Start(sms.get(), "B4");
  server_.SetReply("/http_batch/endbatch", Reply("ERR: 201, Invalid batch ID"));
  ASSERT_EQ(sms->EndBatch(result.out()), S_OK);
  EXPECT_EQ(result.str(), "ERR: 201, Invalid batch ID");
  EXPECT_EQ(ErrorDesc(sms.get()), "End Batch Failed.");
  EXPECT_EQ(BatchId(sms.get()), "");

  Start(sms.get(), "B5");
  server_.SetReply("/http_batch/endbatch", Reply("boom", 500));
  ASSERT_EQ(sms->EndBatch(result.out()), S_OK);
  EXPECT_EQ(Error(sms.get()), 99);
  EXPECT_EQ(BatchId(sms.get()), "");
}

TEST_F(ParlinkBatchOperations, ResetEmptiesTheBatchIdentifier) {
  SmsPtr sms;
  LogIn(sms.get());
  Start(sms.get(), "B6");
  sms->ResetSMS();
  EXPECT_EQ(BatchId(sms.get()), "");
}
