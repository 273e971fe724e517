// Message rules: parts and charges, destinations, options, batch
// templates, the status lifecycle, the throttle, sessions and the clock.

#include "BatchTemplate.h"
#include "DestinationRules.h"
#include "MessageCharger.h"
#include "MessageLifecycle.h"
#include "MessageOptions.h"
#include "ReplyBuilder.h"
#include "SessionTable.h"
#include "SimClock.h"
#include "ThrottleWindow.h"

#include <gtest/gtest.h>

using namespace gatewaysim;

namespace {
std::string Hex16(size_t chars) {
  std::string out;
  for (size_t i = 0; i < chars; ++i)
    out += "0041";
  return out;
}
} // namespace

TEST(SimMessageChargerTest, TextPartsAtTheBoundaries) {
  using C = MessageCharger::Coding;
  EXPECT_EQ(MessageCharger::Parts(C::Text, std::string(160, 'a'), ""), 1);
  EXPECT_EQ(MessageCharger::Parts(C::Text, std::string(161, 'a'), ""), 2);
  EXPECT_EQ(MessageCharger::Parts(C::Text, std::string(306, 'a'), ""), 2);
  EXPECT_EQ(MessageCharger::Parts(C::Text, std::string(307, 'a'), ""), 3);
  // Escaped characters weigh two: 80 "[" fill one part, one more spills.
  EXPECT_EQ(MessageCharger::Parts(C::Text, std::string(80, '['), ""), 1);
  EXPECT_EQ(MessageCharger::Parts(C::Text, std::string(81, '['), ""), 2);
  EXPECT_EQ(MessageCharger::WeightedLength("\x80{}|"), 8);
}

TEST(SimMessageChargerTest, UnicodeAndBinaryParts) {
  using C = MessageCharger::Coding;
  EXPECT_EQ(MessageCharger::Parts(C::Unicode, Hex16(70), ""), 1);
  EXPECT_EQ(MessageCharger::Parts(C::Unicode, Hex16(71), ""), 2);
  EXPECT_EQ(MessageCharger::Parts(C::Unicode, Hex16(134), ""), 2);
  EXPECT_EQ(MessageCharger::Parts(C::Unicode, Hex16(135), ""), 3);
  EXPECT_EQ(MessageCharger::Parts(C::Binary, std::string(280, 'f'), ""), 1);
  EXPECT_EQ(MessageCharger::Parts(C::Binary, std::string(282, 'f'), ""), 2);
  // The user data header takes its bytes from the same 140.
  EXPECT_EQ(MessageCharger::Parts(C::Binary, std::string(270, 'f'), "0605040b8423f0"), 2);
}

TEST(SimDestinationRulesTest, NumbersAndSenders) {
  EXPECT_TRUE(DestinationRules::ValidNumber("1234567"));
  EXPECT_TRUE(DestinationRules::ValidNumber("+123456789012345"));
  EXPECT_FALSE(DestinationRules::ValidNumber("123456"));
  EXPECT_FALSE(DestinationRules::ValidNumber("1234567890123456"));
  EXPECT_FALSE(DestinationRules::ValidNumber("++1234567"));
  EXPECT_FALSE(DestinationRules::ValidNumber("082 123 4567"));
  EXPECT_FALSE(DestinationRules::ValidNumber(""));
  EXPECT_TRUE(DestinationRules::ValidSender("Dovetext"));
  EXPECT_TRUE(DestinationRules::ValidSender("+27821234567"));
  EXPECT_FALSE(DestinationRules::ValidSender("TwelveLetters"));
  EXPECT_FALSE(DestinationRules::ValidSender("bad\x01"));
}

TEST(SimDestinationRulesTest, FailingNumbersByPrefixAndSuffix) {
  LifecycleConfig config;
  EXPECT_EQ(DestinationRules::Classify("27831234567", config), MessageFate::Normal);
  EXPECT_EQ(DestinationRules::Classify("+9991234567", config), MessageFate::RoutingError);
  EXPECT_EQ(DestinationRules::Classify("2783123666", config), MessageFate::DeliveryError);
  EXPECT_EQ(DestinationRules::Classify("27830000000", config), MessageFate::Offline);
  EXPECT_EQ(DestinationRules::Classify("9991234666", config), MessageFate::RoutingError);
  config.failSuffix.clear();
  EXPECT_EQ(DestinationRules::Classify("2783123666", config), MessageFate::Normal);
}

TEST(SimMessageOptionsTest, ReadsTheOptionBlock) {
  MessageOptions o;
  FormParams p = FormParams::FromText(
      "from=Shop&val_period=30&max_cred=2&req_feat=32&deliv_time=90&cliMsgId=c1&udh=0605"
      "&deliv_ack=1&unicode=1&concat=3&queue=1&escalate=2&callback=3&mo=1&msg_type=SMS_FLASH");
  ASSERT_EQ(MessageOptions::Parse(p, o), 0);
  EXPECT_EQ(o.from, "Shop");
  EXPECT_EQ(o.valPeriodMinutes, 30);
  EXPECT_EQ(o.maxCredits, 2);
  EXPECT_EQ(o.deliveryTimeMinutes, 90);
  EXPECT_EQ(o.cliMsgId, "c1");
  EXPECT_TRUE(o.deliveryAck && o.unicode && o.mo);
  EXPECT_EQ(o.PartLimit(), 3);
  EXPECT_EQ(o.msgType, "SMS_FLASH");

  MessageOptions defaults;
  ASSERT_EQ(MessageOptions::Parse(FormParams::FromText("mo=0&msg_type=SMS_TEXT"), defaults), 0);
  EXPECT_EQ(defaults.PartLimit(), 0);
  ASSERT_EQ(MessageOptions::Parse(FormParams::FromText("concat=0"), defaults), 0);
  EXPECT_EQ(defaults.PartLimit(), 1);
}

TEST(SimMessageOptionsTest, RejectsMalformedOptions) {
  MessageOptions o;
  EXPECT_EQ(MessageOptions::Parse(FormParams::FromText("val_period=abc"), o), kErrInvalidParameter);
  EXPECT_EQ(MessageOptions::Parse(FormParams::FromText("deliv_time=-5"), o), kErrInvalidParameter);
  EXPECT_EQ(MessageOptions::Parse(FormParams::FromText("concat=4"), o), kErrInvalidParameter);
  EXPECT_EQ(MessageOptions::Parse(FormParams::FromText("msg_type=SMS_MMS"), o), kErrInvalidMsgType);
  EXPECT_EQ(MessageOptions::Parse(FormParams::FromText("udh=06050"), o), kErrInvalidUdh);
  EXPECT_EQ(MessageOptions::Parse(FormParams::FromText("udh=zz"), o), kErrInvalidUdh);
  EXPECT_EQ(MessageOptions::Parse(FormParams::FromText("from=WayTooLongSender"), o),
            kErrInvalidSource);
}

TEST(SimBatchTemplateTest, FillsPlaceholders) {
  BatchTemplate::Fields fields;
  fields[0] = "Ann";
  fields[8] = "9";
  EXPECT_EQ(BatchTemplate::Fill("Hi #field1#, #FIELD9##Field2#!", fields), "Hi Ann, 9!");
  EXPECT_EQ(BatchTemplate::Fill("#field0# #field# #fieldX#", fields), "#field0# #field# #fieldX#");
  EXPECT_EQ(BatchTemplate::Fill("tail #field1", fields), "tail #field1");
}

TEST(SimBatchTemplateTest, FillsUnicodeTemplates) {
  BatchTemplate::Fields fields;
  fields[0] = "\xe9"; // é in the 8-bit text
  // "#field1#" in UTF-16 hex, then the euro sign.
  std::string hex = "0023006600690065006c0064003100"
                    "2320ac";
  auto filled = BatchTemplate::FillUnicodeHex(hex, fields);
  ASSERT_TRUE(filled.has_value());
  EXPECT_EQ(*filled, "00e920ac");
  EXPECT_FALSE(BatchTemplate::FillUnicodeHex("004", fields).has_value());
  EXPECT_FALSE(BatchTemplate::FillUnicodeHex("00g1", fields).has_value());
}

class SimLifecycleTest : public ::testing::Test {
protected:
  SimLifecycleTest() : rules(config) {}
  SimMessage Message(MessageFate fate, int64_t due = 0, int validityMin = 1440) {
    SimMessage m;
    m.fate = fate;
    m.acceptedMs = 0;
    m.dueMs = due;
    m.expiresMs = due + validityMin * 60000LL;
    return m;
  }
  LifecycleConfig config; // queued 5 s, delivered 20 s, withdrawal limit 10 min
  MessageLifecycle rules;
};

TEST_F(SimLifecycleTest, NormalMessageMovesThroughQueuedDeliveredReceived) {
  SimMessage m = Message(MessageFate::Normal);
  EXPECT_EQ(rules.StatusAt(m, 0), kStatusQueued);
  EXPECT_EQ(rules.StatusAt(m, 4999), kStatusQueued);
  EXPECT_EQ(rules.StatusAt(m, 5000), kStatusDelivered);
  EXPECT_EQ(rules.StatusAt(m, 24999), kStatusDelivered);
  EXPECT_EQ(rules.StatusAt(m, 25000), kStatusReceived);
  EXPECT_EQ(rules.StatusAt(m, 86400000LL * 7), kStatusReceived); // received never expires
}

TEST_F(SimLifecycleTest, FailingNumbersEndInTheirErrorStatus) {
  EXPECT_EQ(rules.StatusAt(Message(MessageFate::DeliveryError), 24999), kStatusDelivered);
  EXPECT_EQ(rules.StatusAt(Message(MessageFate::DeliveryError), 25000), kStatusDeliveryError);
  EXPECT_EQ(rules.StatusAt(Message(MessageFate::RoutingError), 4999), kStatusQueued);
  EXPECT_EQ(rules.StatusAt(Message(MessageFate::RoutingError), 5000), kStatusRoutingError);
  SimMessage offline = Message(MessageFate::Offline, 0, 30);
  EXPECT_EQ(rules.StatusAt(offline, 30 * 60000LL - 1), kStatusDelivered);
  EXPECT_EQ(rules.StatusAt(offline, 30 * 60000LL), kStatusExpired);
}

TEST_F(SimLifecycleTest, ShortValidityExpiresBeforeReceipt) {
  config.deliveredMs = 2 * 60000; // slow network: 2 minutes to the handset
  SimMessage m = Message(MessageFate::Normal, 0, 1);
  EXPECT_EQ(rules.StatusAt(m, 59999), kStatusDelivered);
  EXPECT_EQ(rules.StatusAt(m, 60000), kStatusExpired);
  EXPECT_EQ(rules.StatusAt(m, 10 * 60000), kStatusExpired);
}

TEST_F(SimLifecycleTest, DeferredMessageWaitsAndCanBeWithdrawnUntilTenMinutesBefore) {
  const int64_t due = 90 * 60000LL;
  SimMessage m = Message(MessageFate::Normal, due);
  EXPECT_EQ(rules.StatusAt(m, due - 1), kStatusQueuedLater);
  EXPECT_EQ(rules.StatusAt(m, due), kStatusQueued);
  EXPECT_TRUE(rules.CanWithdraw(m, due - 10 * 60000 - 1));
  EXPECT_FALSE(rules.CanWithdraw(m, due - 10 * 60000));
  EXPECT_FALSE(rules.CanWithdraw(Message(MessageFate::Normal), 0));
  m.withdrawn = true;
  EXPECT_EQ(rules.StatusAt(m, due + 60000000), kStatusCancelled);
  EXPECT_FALSE(rules.CanWithdraw(m, 0));
}

TEST(SimThrottleWindowTest, LimitsAcceptedMessagesPerWindow) {
  ThrottleWindow throttle({2, 1000});
  EXPECT_TRUE(throttle.Allows(0, 0));
  throttle.Record(0, 0);
  throttle.Record(0, 500);
  EXPECT_FALSE(throttle.Allows(0, 999));
  EXPECT_TRUE(throttle.Allows(1, 999));  // per account
  EXPECT_TRUE(throttle.Allows(0, 1000)); // the first one left the window
  ThrottleWindow off({0, 1000});
  for (int i = 0; i < 100; ++i)
    off.Record(0, 0);
  EXPECT_TRUE(off.Allows(0, 0));
}

TEST(SimSessionTableTest, IdleSessionsExpireAndUseRenews) {
  SessionTable sessions(15 * 60000);
  sessions.Open("s1", 3, 0);
  EXPECT_EQ(sessions.Use("s1", 15 * 60000), 3u); // renews
  EXPECT_EQ(sessions.Use("s1", 30 * 60000), 3u);
  EXPECT_FALSE(sessions.Use("s1", 45 * 60000 + 1).has_value());
  EXPECT_FALSE(sessions.Use("s1", 45 * 60000).has_value()); // forgotten for good
  EXPECT_FALSE(sessions.Use("nope", 0).has_value());
  sessions.Open("s2", 1, 0);
  sessions.Open("s3", 1, 100000000);
  sessions.Sweep(100000000);
  EXPECT_EQ(sessions.Size(), 1u);
}

TEST(SimClockTest, RunsAtItsSpeedAndCanBeMoved) {
  int64_t real = 1000;
  SimClock clock(3600, 5000, [&] { return real; });
  EXPECT_EQ(clock.NowMs(), 5000);
  real += 1000; // one real second is an hour
  EXPECT_EQ(clock.NowMs(), 5000 + 3600000);
  clock.SetSpeed(0);
  real += 1000;
  EXPECT_EQ(clock.NowMs(), 5000 + 3600000);
  clock.AdvanceMs(60000);
  EXPECT_EQ(clock.NowMs(), 5000 + 3660000);
  clock.SetNowMs(42);
  clock.SetSpeed(2);
  real += 500;
  EXPECT_EQ(clock.NowMs(), 1042);
  SimClock bad(-3, 0, [&] { return real; });
  EXPECT_EQ(bad.Speed(), 0);
}
