// The texts the engine reads from outside: batch replies, stored gateway
// ids, charge replies, destination lists and merge tags.
#include "engine/ApiMsgIdParser.h"
#include "engine/BatchReplyParser.h"
#include "engine/ChargeReply.h"
#include "engine/DestinationResolver.h"
#include "engine/MergeTags.h"
#include "engine/PollingSchedule.h"

#include <gtest/gtest.h>

#include <map>

using namespace engine;

namespace {

DestinationRecord Record(const std::string &number, const std::string &token) {
  DestinationRecord r;
  r.SetNumber(number);
  r.SetToToken(token);
  return r;
}

class MapContacts : public ContactSource {
public:
  std::optional<ContactFields> FindContact(int cid) override {
    auto it = contacts.find(cid);
    if (it == contacts.end()) return std::nullopt;
    return it->second;
  }
  std::map<int, ContactFields> contacts;
};

const std::string kId1 = "0123456789abcdef0123456789abcdef";
const std::string kId2 = "fedcba9876543210fedcba9876543210";

} // namespace

TEST(BatchReply, AcceptsRejectsAndLeavesUnmentionedNumbersUnanswered) {
  std::vector<DestinationRecord> chunk = {Record("27821111111", "0821111111"),
                                          Record("27822222222", "A7"),
                                          Record("27823333333", "0823333333")};
  std::string reply = "ID: " + kId1 +
                      " To: 27821111111\nERR: 105, Invalid Destination Address "
                      "To: 27822222222\n";
  std::vector<bool> answered;
  DestinationList accepted, failed;
  BatchReplyResult r =
      BatchReplyParser::Parse(reply, chunk.data(), chunk.size(), answered, accepted, failed);
  EXPECT_EQ(r.accepted, 1);
  EXPECT_EQ(r.rejected, 1);
  ASSERT_EQ(accepted.size(), 1u);
  EXPECT_EQ(accepted[0].ApiMsgId(), ",ID: " + kId1);
  EXPECT_EQ(accepted[0].ToToken(), "0821111111");
  EXPECT_EQ(accepted[0].contactId, 0);
  EXPECT_EQ(accepted[0].errorCode, 0);
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0].ToToken(), "A7");
  EXPECT_EQ(failed[0].errorCode, 99);
  EXPECT_EQ(answered, (std::vector<bool>{true, true, false}));
}

TEST(BatchReply, SeparatorsRunsAndCarriageReturnsCountAsOne) {
  std::vector<DestinationRecord> chunk = {Record("111", "111"), Record("222", "222")};
  std::string reply = "  ID:   " + kId1 + "\r\n\r\nTo:  111 \r\n ID: " + kId2 + "   To: 222";
  std::vector<bool> answered;
  DestinationList accepted, failed;
  BatchReplyParser::Parse(reply, chunk.data(), chunk.size(), answered, accepted, failed);
  ASSERT_EQ(accepted.size(), 2u);
  EXPECT_EQ(accepted[0].Number(), "111");
  EXPECT_EQ(accepted[1].ApiMsgId(), ",ID: " + kId2);
}

TEST(BatchReply, EntriesWithoutANumberNameNobody) {
  std::vector<DestinationRecord> chunk = {Record("111", "111")};
  std::vector<bool> answered;
  DestinationList accepted, failed;
  // An error for the whole request, a "To:" at the very end, an entry
  // after a complete one that lacks its own "To:".
  for (std::string reply : {std::string("ERR: -2,Communication error: timeout"),
                            "ID: " + kId1 + " To:", "ID: " + kId1 + " To: 111 ID: " + kId2}) {
    accepted.clear();
    failed.clear();
    answered.clear();
    BatchReplyParser::Parse(reply, chunk.data(), chunk.size(), answered, accepted, failed);
    EXPECT_LE(accepted.size(), 1u) << reply;
    EXPECT_TRUE(failed.empty()) << reply;
    for (const DestinationRecord &r : accepted)
      EXPECT_EQ(r.ApiMsgId(), ",ID: " + kId1) << reply;
  }
}

TEST(BatchReply, RepeatedNumbersAreAnsweredInTurn) {
  std::vector<DestinationRecord> chunk = {Record("555", "555"), Record("555", "A9")};
  std::string reply = "ID: " + kId1 + " To: 555\nID: " + kId2 + " To: 555";
  std::vector<bool> answered;
  DestinationList accepted, failed;
  BatchReplyParser::Parse(reply, chunk.data(), chunk.size(), answered, accepted, failed);
  ASSERT_EQ(accepted.size(), 2u);
  EXPECT_EQ(accepted[0].ToToken(), "555");
  EXPECT_EQ(accepted[1].ToToken(), "A9");
  EXPECT_EQ(answered, (std::vector<bool>{true, true}));
}

TEST(BatchReply, LongIdsAreCutTo38Characters) {
  std::vector<DestinationRecord> chunk = {Record("1", "1")};
  std::string longId(200, 'f');
  std::vector<bool> answered;
  DestinationList accepted, failed;
  BatchReplyParser::Parse("ID: " + longId + " To: 1", chunk.data(), 1, answered, accepted, failed);
  ASSERT_EQ(accepted.size(), 1u);
  EXPECT_EQ(accepted[0].ApiMsgId().size(), 38u);
  EXPECT_EQ(accepted[0].ApiMsgId().substr(0, 5), ",ID: ");
}

TEST(ApiMsgId, ParsesEntriesWithAndWithoutNumbers) {
  std::vector<ApiIdEntry> entries;
  std::string stored = ",ID: " + kId1 + ",ID: " + kId2 + "|27821234567,garbage,ID: ";
  EXPECT_EQ(ApiMsgIdParser::Parse(stored, entries), 3);
  EXPECT_EQ(entries[0].ApiMsgId(), kId1);
  EXPECT_EQ(entries[0].Number(), "");
  EXPECT_EQ(entries[0].text, ",ID: " + kId1);
  EXPECT_EQ(entries[1].ApiMsgId(), kId2);
  EXPECT_EQ(entries[1].Number(), "27821234567");
  EXPECT_EQ(entries[1].text, ",ID: " + kId2 + "|27821234567");
  EXPECT_EQ(entries[2].ApiMsgId(), "");

  EXPECT_EQ(ApiMsgIdParser::Parse("", entries), 0);
  EXPECT_EQ(ApiMsgIdParser::Parse(",", entries), 0);
  EXPECT_EQ(ApiMsgIdParser::Parse("x", entries), 0);
}

TEST(ApiMsgId, BoundsOverlongFields) {
  std::vector<ApiIdEntry> entries;
  std::string stored = ",ID: " + std::string(100, 'a') + "|" + std::string(100, '9');
  ASSERT_EQ(ApiMsgIdParser::Parse(stored, entries), 1);
  EXPECT_EQ(entries[0].ApiMsgId().size(), 32u);
  EXPECT_EQ(entries[0].Number().size(), 19u);
}

TEST(ApiMsgId, RemovesWholeEntriesOnly) {
  std::string a = ",ID: " + kId1;
  std::string b = ",ID: " + kId1 + "|2782";
  EXPECT_EQ(ApiMsgIdParser::Remove(b + a + ",ID: " + kId2 + a, a), b + ",ID: " + kId2);
  EXPECT_EQ(ApiMsgIdParser::Remove(a, ""), a);
}

TEST(ChargeReplyParsing, StatusAndChargeInAnyCase) {
  ChargeReply r = ChargeReply::Parse("  apiMsgId: " + kId1 + " Status: 004 Charge: 1.5 credits ");
  EXPECT_TRUE(r.hasStatus);
  EXPECT_EQ(r.status, 4);
  EXPECT_EQ(r.charge, "1.5");

  r = ChargeReply::Parse("APIMSGID: x CHARGE:   2   STATUS: 11");
  EXPECT_EQ(r.status, 11);
  EXPECT_EQ(r.charge, "2");

  r = ChargeReply::Parse("apiMsgId: x status: 008");
  EXPECT_TRUE(r.hasStatus);
  EXPECT_EQ(r.status, 8);
  EXPECT_EQ(r.charge, "");

  r = ChargeReply::Parse("apiMsgId: x charge: 3");
  EXPECT_FALSE(r.hasStatus);
  EXPECT_EQ(r.charge, "3");

  r = ChargeReply::Parse("status:");
  EXPECT_TRUE(r.hasStatus);
  EXPECT_EQ(r.status, 0);
  r = ChargeReply::Parse("charge:");
  EXPECT_EQ(r.charge, "");
  r = ChargeReply::Parse("status: 99999999999999999999");
  EXPECT_EQ(r.status, INT_MAX);
}

TEST(Polling, BackOffEndsAfterFiveQueries) {
  EXPECT_EQ(PollingSchedule::NextInterval(60), 300);
  EXPECT_EQ(PollingSchedule::NextInterval(300), 1800);
  EXPECT_EQ(PollingSchedule::NextInterval(1800), 2700);
  EXPECT_EQ(PollingSchedule::NextInterval(2700), 3600);
  EXPECT_EQ(PollingSchedule::NextInterval(3600), 0);
  EXPECT_EQ(PollingSchedule::NextInterval(61), 0);
}

TEST(Polling, GatewayStatusesMapOntoOutboxStatuses) {
  const std::map<int, std::optional<int>> expected = {{1, 11}, {2, 1},  {3, 8},   {4, 9},  {5, 13},
                                                      {6, 14}, {7, 15}, {8, {}},  {9, 16}, {10, 17},
                                                      {11, 7}, {0, {}}, {12, {}}, {-1, {}}};
  for (const auto &[gateway, stored] : expected)
    EXPECT_EQ(PollingSchedule::MapGatewayStatus(gateway), stored) << gateway;
}

TEST(Destinations, PrefixRuleReplacesAllLeadingZeros) {
  EXPECT_EQ(DestinationResolver::ApplyPrefix("0821234567", "27"), "27821234567");
  EXPECT_EQ(DestinationResolver::ApplyPrefix("000441234567", "44"), "44441234567");
  EXPECT_EQ(DestinationResolver::ApplyPrefix("0821234567", ""), "0821234567");
  EXPECT_EQ(DestinationResolver::ApplyPrefix("27821234567", "27"), "27821234567");
  EXPECT_EQ(DestinationResolver::ApplyPrefix("000", "27"), "27");
}

TEST(Destinations, ResolvesNumbersAndContacts) {
  MapContacts contacts;
  contacts.contacts[12] = ContactFields{"Ann", "Lee", "", "", "0831112222"};
  contacts.contacts[13] = ContactFields{"Bob", "", "", "", std::string(30, '7')};
  DestinationList out;
  int n = DestinationResolver::Resolve(",0821234567,A12,,A99,A13,12345678901234567890123", "27",
                                       contacts, out);
  ASSERT_EQ(n, 4);
  ASSERT_EQ(out.size(), 4u);
  EXPECT_EQ(out[0].contactId, -1);
  EXPECT_EQ(out[0].Number(), "27821234567");
  EXPECT_EQ(out[0].ToToken(), "0821234567");
  EXPECT_EQ(out[1].contactId, 12);
  EXPECT_EQ(out[1].Number(), "27831112222");
  EXPECT_EQ(out[1].ToToken(), "A12");
  EXPECT_EQ(out[2].contactId, 13);
  EXPECT_EQ(out[2].Number(), std::string(16, '7'));
  EXPECT_EQ(out[3].Number(), "1234567890123456");
  EXPECT_EQ(out[3].ToToken(), "123456789012345678"); // 18 characters at most
  for (const DestinationRecord &r : out) {
    EXPECT_EQ(r.errorCode, 0);
    EXPECT_EQ(r.ApiMsgId(), "");
  }
}

TEST(Destinations, ALongPrefixIsBoundedByTheNumberField) {
  MapContacts contacts;
  DestinationList out;
  DestinationResolver::Resolve("0123", std::string(100, '9'), contacts, out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].Number().size(), 28u);
  EXPECT_EQ(DestinationResolver::Resolve("", "27", contacts, out), 0);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(DestinationResolver::Resolve("A5", "27", contacts, out), 0);
}

TEST(Merge, ReplacesEveryTagOnceAndNeverRescansValues) {
  MergeTags tags;
  ContactFields ann{"Ann", "<<FIRSTNAME>>", "Dr", "VIP", "1"};
  EXPECT_EQ(tags.Merge("Hi <<TITLE>> <<FIRSTNAME>> <<SURNAME>>, <<CUSTOM>>! <<FIRSTNAME>>", ann),
            "Hi Dr Ann <<FIRSTNAME>>, VIP! Ann");
  EXPECT_EQ(tags.Merge("<<firstname>> <<FIRSTNAME", ann), "<<firstname>> <<FIRSTNAME");
  EXPECT_TRUE(tags.AnyIn("x <<CUSTOM>>"));
  EXPECT_FALSE(tags.AnyIn("x <<custom>>"));
  MergeTags empty;
  empty.firstName.clear();
  empty.surname.clear();
  empty.title.clear();
  empty.custom.clear();
  EXPECT_FALSE(empty.AnyIn("anything"));
  EXPECT_EQ(empty.Merge("anything", ann), "anything");
}
