// Fault decisions, the account file, the account book and the request log.

#include "AccountBook.h"
#include "AccountFile.h"
#include "FaultInjector.h"
#include "RequestLog.h"

#include "testsupport/TestEnv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace gatewaysim;

namespace {
FaultSpec Rule(const std::string &pattern, FaultKind kind, double p = 1.0, uint64_t seed = 1) {
  FaultSpec spec;
  spec.pattern = pattern;
  spec.kind = kind;
  spec.probability = p;
  spec.seed = seed;
  return spec;
}

std::vector<bool> Firings(FaultInjector &faults, int n) {
  std::vector<bool> out;
  for (int i = 0; i < n; ++i)
    out.push_back(faults.Decide("http/sendmsg").action.has_value());
  return out;
}
} // namespace

TEST(SimFaultInjectorTest, SameSeedSameFailures) {
  FaultInjector a, b, c;
  std::string error;
  ASSERT_TRUE(a.Add(Rule("http/*", FaultKind::Http500, 0.3, 42), error));
  ASSERT_TRUE(b.Add(Rule("http/*", FaultKind::Http500, 0.3, 42), error));
  ASSERT_TRUE(c.Add(Rule("http/*", FaultKind::Http500, 0.3, 43), error));
  auto first = Firings(a, 200);
  EXPECT_EQ(first, Firings(b, 200));
  EXPECT_NE(first, Firings(c, 200));
  int fired = 0;
  for (bool f : first)
    fired += f;
  EXPECT_GT(fired, 30); // about 60 of 200
  EXPECT_LT(fired, 100);
}

TEST(SimFaultInjectorTest, ProbabilityBoundsAndPatterns) {
  FaultInjector faults;
  std::string error;
  ASSERT_TRUE(faults.Add(Rule("http/sendmsg", FaultKind::Drop, 0.0), error));
  ASSERT_TRUE(faults.Add(Rule("utils/*", FaultKind::Garbage, 1.0), error));
  for (int i = 0; i < 50; ++i)
    EXPECT_FALSE(faults.Decide("http/sendmsg").action.has_value());
  auto decision = faults.Decide("utils/nettest");
  ASSERT_TRUE(decision.action.has_value());
  EXPECT_EQ(decision.action->kind, FaultKind::Garbage);
  EXPECT_FALSE(faults.Decide("http_batch/quicksend").action.has_value());
}

TEST(SimFaultInjectorTest, TimesLimitsFiringsAndLatencyAddsUp) {
  FaultInjector faults;
  std::string error;
  FaultSpec once = Rule("*", FaultKind::Error);
  once.times = 2;
  once.reply = "ERR: 114, Cannot route message";
  FaultSpec slow = Rule("*", FaultKind::Latency);
  slow.latencyMs = 40;
  FaultSpec slower = slow;
  slower.latencyMs = 60;
  ASSERT_TRUE(faults.Add(once, error));
  ASSERT_TRUE(faults.Add(slow, error));
  ASSERT_TRUE(faults.Add(slower, error));
  for (int i = 0; i < 2; ++i) {
    auto d = faults.Decide("http/ping");
    ASSERT_TRUE(d.action.has_value());
    EXPECT_EQ(d.action->reply, "ERR: 114, Cannot route message");
    EXPECT_EQ(d.latencyMs, 100);
  }
  auto after = faults.Decide("http/ping");
  EXPECT_FALSE(after.action.has_value());
  EXPECT_EQ(after.latencyMs, 100);
  EXPECT_EQ(faults.ToJson()[0]["remaining"], 0);

  // skip lets the first matching requests through.
  FaultInjector later;
  FaultSpec third = Rule("http_batch/*", FaultKind::Drop);
  third.skip = 2;
  third.times = 1;
  ASSERT_TRUE(later.Add(third, error));
  EXPECT_FALSE(later.Decide("http/ping").action.has_value());
  EXPECT_FALSE(later.Decide("http_batch/quicksend").action.has_value());
  EXPECT_FALSE(later.Decide("http_batch/quicksend").action.has_value());
  EXPECT_TRUE(later.Decide("http_batch/quicksend").action.has_value());
  EXPECT_FALSE(later.Decide("http_batch/quicksend").action.has_value());
}

TEST(SimFaultInjectorTest, FirstFiringActionWins) {
  FaultInjector faults;
  std::string error;
  ASSERT_TRUE(faults.Add(Rule("http/*", FaultKind::Stall), error));
  ASSERT_TRUE(faults.Add(Rule("*", FaultKind::Http500), error));
  EXPECT_EQ(faults.Decide("http/auth").action->kind, FaultKind::Stall);
  EXPECT_EQ(faults.Decide("utils/version").action->kind, FaultKind::Http500);
}

TEST(SimFaultInjectorTest, JsonFormRoundTripsAndIsChecked) {
  std::string error;
  auto spec = FaultInjector::SpecFromJson({{"pattern", "/http/sendmsg"},
                                           {"kind", "stall"},
                                           {"ms", 1500},
                                           {"p", 0.25},
                                           {"seed", 9},
                                           {"after", true},
                                           {"times", 4},
                                           {"skip", 3}},
                                          error);
  ASSERT_TRUE(spec.has_value()) << error;
  EXPECT_EQ(spec->pattern, "http/sendmsg");
  EXPECT_EQ(spec->stallMs, 1500);
  EXPECT_TRUE(spec->afterProcessing);
  auto again = FaultInjector::SpecFromJson(FaultInjector::SpecToJson(*spec), error);
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(again->kind, FaultKind::Stall);
  EXPECT_EQ(again->stallMs, 1500);
  EXPECT_EQ(again->times, 4);
  EXPECT_EQ(again->skip, 3);

  EXPECT_FALSE(FaultInjector::SpecFromJson({{"kind", "melt"}}, error).has_value());
  EXPECT_FALSE(FaultInjector::SpecFromJson({{"p", "often"}}, error).has_value());
  EXPECT_FALSE(FaultInjector::SpecFromJson({{"p", 1.5}}, error).has_value());
  EXPECT_FALSE(FaultInjector::SpecFromJson(nlohmann::json::array(), error).has_value());
  FaultInjector faults;
  FaultSpec badRegex = Rule("(", FaultKind::Drop);
  badRegex.regex = true;
  EXPECT_FALSE(faults.Add(badRegex, error));
  EXPECT_EQ(faults.Size(), 0u);
}

TEST(SimAccountFileTest, ReadsAccountsAndVouchers) {
  std::string error;
  auto specs = AccountFile::Parse(R"({"accounts": [
      {"api_id": 4001, "client_id": "SHOP", "user": "ann", "password": "Gr\u00fc\u00dfe",
       "email": "ann@example.com", "balance": 12.5, "frozen": true,
       "vouchers": [{"token": "1234567812345678", "value": 5}, {"token": "8765432187654321",
                     "value": 1.5, "used": true}]},
      {"client_id": "ONLY"}]})",
                                  error);
  ASSERT_TRUE(specs.has_value()) << error;
  ASSERT_EQ(specs->size(), 2u);
  const AccountSpec &ann = (*specs)[0];
  EXPECT_EQ(ann.apiId, "4001");
  EXPECT_EQ(ann.password, "Gr\xfc\xdf"
                          "e"); // held as 8-bit text
  EXPECT_DOUBLE_EQ(ann.balance, 12.5);
  EXPECT_TRUE(ann.frozen);
  ASSERT_EQ(ann.vouchers.size(), 2u);
  EXPECT_TRUE(ann.vouchers[1].used);

  auto bare = AccountFile::Parse(R"([{"api_id": "1"}])", error);
  ASSERT_TRUE(bare.has_value());
  EXPECT_EQ(bare->size(), 1u);
}

TEST(SimAccountFileTest, RejectsMalformedFiles) {
  std::string error;
  EXPECT_FALSE(AccountFile::Parse("{", error).has_value());
  EXPECT_FALSE(AccountFile::Parse(R"({"users": []})", error).has_value());
  EXPECT_FALSE(AccountFile::Parse(R"([{"balance": "lots"}])", error).has_value());
  EXPECT_FALSE(AccountFile::Parse(R"([{"vouchers": {}}])", error).has_value());
  EXPECT_FALSE(AccountFile::Parse(R"([42])", error).has_value());
  EXPECT_NE(error.find("account 1"), std::string::npos);
  auto path = testsupport::MakeTempDir("accounts") / "missing.json";
  EXPECT_FALSE(AccountFile::Load(path.string(), error).has_value());
  EXPECT_NE(error.find("missing.json"), std::string::npos);
}

TEST(SimAccountBookTest, ChecksIdentifiersAndVouchers) {
  AccountBook book;
  std::string error;
  AccountSpec a;
  a.apiId = "1";
  a.clientId = "C";
  a.balance = 10;
  a.vouchers = {{"1111111111111111", 5, false}, {"2222222222222222", 7, true}};
  AccountSpec b;
  b.apiId = "2";
  ASSERT_TRUE(book.Load({a, b}, error)) << error;
  EXPECT_EQ(book.FindById("C"), 0u);
  EXPECT_EQ(book.FindById("2"), 1u);
  EXPECT_FALSE(book.FindById("").has_value());

  Millicredits value = 0;
  EXPECT_EQ(book.RedeemVoucher("1111111111111111", 1, value), AccountBook::Redeem::Accepted);
  EXPECT_EQ(value, 5000);
  EXPECT_EQ(book.At(1).balance, 5000); // bearer token: any account may redeem it
  EXPECT_EQ(book.RedeemVoucher("1111111111111111", 0, value), AccountBook::Redeem::Used);
  EXPECT_EQ(book.RedeemVoucher("2222222222222222", 0, value), AccountBook::Redeem::Used);
  EXPECT_EQ(book.RedeemVoucher("3333333333333333", 0, value), AccountBook::Redeem::Unknown);
  EXPECT_EQ(book.At(0).balance, 10000);

  AccountSpec twin = b;
  EXPECT_FALSE(book.Load({a, b, twin}, error));
  EXPECT_NE(error.find("twice"), std::string::npos);
  AccountSpec nameless;
  EXPECT_FALSE(book.Load({nameless}, error));
  AccountSpec shortToken = b;
  shortToken.vouchers = {{"12345", 1, false}};
  EXPECT_FALSE(book.Load({shortToken}, error));
  // A failed load leaves the book as it was.
  EXPECT_EQ(book.Size(), 2u);
}

TEST(SimRequestLogTest, KeepsTheNewestEntriesWithinItsLimits) {
  RequestLog byCount(3);
  for (int i = 0; i < 5; ++i) {
    LogEntry e;
    e.path = "p" + std::to_string(i);
    byCount.Add(e);
  }
  std::string lines = byCount.JsonLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 3);
  EXPECT_EQ(lines.find("\"p1\""), std::string::npos);
  EXPECT_NE(lines.find("\"p4\""), std::string::npos);
  EXPECT_EQ(byCount.LastSeq(), 5u);
  std::string since = byCount.JsonLines(4);
  EXPECT_EQ(std::count(since.begin(), since.end(), '\n'), 1);

  RequestLog byBytes(1000, 10000);
  for (int i = 0; i < 10; ++i) {
    LogEntry e;
    e.body = std::string(3000, 'b');
    byBytes.Add(e);
  }
  std::string kept = byBytes.JsonLines();
  EXPECT_LE(std::count(kept.begin(), kept.end(), '\n'), 3);
  EXPECT_GE(std::count(kept.begin(), kept.end(), '\n'), 1);
}

TEST(SimRequestLogTest, LinesAreJsonWithDecodedParameters) {
  RequestLog log(10);
  LogEntry e;
  e.method = "POST";
  e.path = "http/auth";
  e.body = "string=311505320830"; // "api_id" scrambled
  e.reply = "caf\xe9";
  log.Add(e);
  auto line = nlohmann::json::parse(log.JsonLines());
  EXPECT_EQ(line["params"]["string_decoded"], "api_id");
  EXPECT_EQ(line["reply"], "caf\xc3\xa9");
  EXPECT_EQ(line["seq"], 1);
}
