// Request decoding and reply encoding: form data, the scrambled login,
// request targets, credit amounts, path patterns and fault specifications.

#include "AuthScrambler.h"
#include "CreditAmount.h"
#include "FormParams.h"
#include "PathPattern.h"
#include "ReplyBuilder.h"
#include "RequestTarget.h"

#include <gatewaysim/FaultSpec.h>

#include <gtest/gtest.h>

using namespace gatewaysim;

TEST(SimFormParamsTest, DecodesPlusPercentAndRawBytes) {
  FormParams p = FormParams::FromText("text=Hi+there%2c+caf%e9&to=%2B2782&empty=&flag&&x=%zz%4");
  EXPECT_EQ(p.Value("text"), "Hi there, caf\xe9");
  EXPECT_EQ(p.Value("to"), "+2782");
  ASSERT_TRUE(p.Get("empty").has_value());
  EXPECT_EQ(*p.Get("empty"), "");
  EXPECT_TRUE(p.Has("flag"));
  EXPECT_EQ(p.Value("x"), "%zz%4"); // malformed escapes stay as they are
  EXPECT_FALSE(p.Get("missing").has_value());
  EXPECT_EQ(p.Pairs().size(), 5u);
}

TEST(SimFormParamsTest, NamesAreExactAndFirstValueWins) {
  FormParams p = FormParams::FromText("apiMsgId=a&apimsgid=b&apiMsgId=c");
  EXPECT_EQ(p.Value("apiMsgId"), "a");
  EXPECT_EQ(p.Value("apimsgid"), "b");
  EXPECT_EQ(p.Value("APIMSGID"), "");
}

TEST(SimFormParamsTest, EncodingMatchesTheLibrarysAndRoundTrips) {
  EXPECT_EQ(FormParams::Encode("a b&c"), "a+b%26c");
  EXPECT_EQ(FormParams::Encode("x-y_z.1"), "x-y_z.1");
  EXPECT_EQ(FormParams::Encode(",\xe9"), "%2c%e9");
  std::string all;
  for (int c = 0; c < 256; ++c)
    all.push_back(static_cast<char>(c));
  EXPECT_EQ(FormParams::Decode(FormParams::Encode(all)), all);
}

TEST(SimAuthScramblerTest, KnownBodyScramblesAndUnscrambles) {
  // "api_id" XOR "PelmaT" byte by byte.
  EXPECT_EQ(AuthScrambler::Scramble("api_id"), "311505320830");
  std::string body = "api_id=3010101&user=demo&password=p%26ss+w";
  std::string hex = AuthScrambler::Scramble(body);
  EXPECT_EQ(hex.size(), body.size() * 2);
  EXPECT_EQ(AuthScrambler::Unscramble(hex), body);
  std::string upper = hex;
  for (char &c : upper)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(AuthScrambler::Unscramble(upper), body);
}

TEST(SimAuthScramblerTest, RejectsOddOrNonHexText) {
  EXPECT_FALSE(AuthScrambler::Unscramble("abc").has_value());
  EXPECT_FALSE(AuthScrambler::Unscramble("zz").has_value());
  EXPECT_EQ(AuthScrambler::Unscramble(""), std::string());
}

TEST(SimRequestTargetTest, OriginAndAbsoluteForms) {
  RequestTarget plain = RequestTarget::Parse("/http/auth?api_id=1&x=%2c");
  EXPECT_EQ(plain.path, "http/auth");
  EXPECT_EQ(plain.query, "api_id=1&x=%2c");

  RequestTarget absolute = RequestTarget::Parse("http://gateway.example:8080/http/sendmsg");
  EXPECT_EQ(absolute.path, "http/sendmsg");
  EXPECT_EQ(absolute.query, "");

  RequestTarget secure = RequestTarget::Parse("HTTPS://h/utils/routeCoverage.php?msisdn=1");
  EXPECT_EQ(secure.path, "utils/routeCoverage.php");
  EXPECT_EQ(secure.query, "msisdn=1");

  EXPECT_EQ(RequestTarget::Parse("http://hostonly").path, "");
  EXPECT_EQ(RequestTarget::Parse("//_admin/%6cog").path, "_admin/log");
}

TEST(SimCreditAmountTest, FormatsShortestDecimal) {
  EXPECT_EQ(CreditAmount::Format(100000), "100");
  EXPECT_EQ(CreditAmount::Format(98500), "98.5");
  EXPECT_EQ(CreditAmount::Format(250), "0.25");
  EXPECT_EQ(CreditAmount::Format(0), "0");
  EXPECT_EQ(CreditAmount::Format(-1500), "-1.5");
  EXPECT_EQ(CreditAmount::Format(1), "0.001");
}

TEST(SimCreditAmountTest, ParsesAndBoundsInput) {
  EXPECT_EQ(CreditAmount::Parse("12.5"), 12500);
  EXPECT_EQ(CreditAmount::Parse("-3"), -3000);
  EXPECT_FALSE(CreditAmount::Parse("").has_value());
  EXPECT_FALSE(CreditAmount::Parse("1e3").has_value());
  EXPECT_FALSE(CreditAmount::Parse("nan").has_value());
  EXPECT_FALSE(CreditAmount::Parse("12abc").has_value());
  EXPECT_FALSE(CreditAmount::FromCredits(1e300).has_value());
  EXPECT_EQ(CreditAmount::FromCredits(0.1 + 0.2), 300);
}

TEST(SimReplyBuilderTest, ErrorLinesCarryThreeDigitCodes) {
  EXPECT_EQ(ReplyBuilder::Error(1), "ERR: 001, Authentication failed");
  EXPECT_EQ(ReplyBuilder::Error(301), "ERR: 301, No credit left");
  EXPECT_EQ(ReplyBuilder::Status(4), "004");
  EXPECT_EQ(ReplyBuilder::Credit(98500), "Credit: 98.5");
}

TEST(SimPathPatternTest, GlobsAndRegularExpressions) {
  EXPECT_TRUE(PathPattern::GlobMatch("http/*", "http/sendmsg"));
  EXPECT_FALSE(PathPattern::GlobMatch("http/*", "http_batch/quicksend"));
  EXPECT_TRUE(PathPattern::GlobMatch("*batch*", "http_batch/quicksend"));
  EXPECT_TRUE(PathPattern::GlobMatch("http/???msg", "http/delmsg"));
  EXPECT_FALSE(PathPattern::GlobMatch("http/???msg", "http/sendmsg"));
  EXPECT_TRUE(PathPattern::GlobMatch("*", ""));
  EXPECT_TRUE(PathPattern::GlobMatch("a*b*c", "axxbyyc"));
  EXPECT_FALSE(PathPattern::GlobMatch("a*b*c", "axxbyy"));

  std::string error;
  auto regex = PathPattern::Make("http/(send|query)msg", true, error);
  ASSERT_TRUE(regex.has_value());
  EXPECT_TRUE(regex->Matches("http/querymsg"));
  EXPECT_FALSE(regex->Matches("http/querymsgs"));
  EXPECT_FALSE(PathPattern::Make("(", true, error).has_value());
  EXPECT_FALSE(error.empty());
  auto glob = PathPattern::Make("/utils/*", false, error);
  ASSERT_TRUE(glob.has_value());
  EXPECT_TRUE(glob->Matches("utils/nettest"));
}

TEST(SimFaultSpecTest, ParsesTheCommandLineForm) {
  std::string error;
  auto spec = ParseFaultSpec("http/*=latency,ms=250,p=0.5,seed=7,times=3,skip=4", error);
  ASSERT_TRUE(spec.has_value()) << error;
  EXPECT_EQ(spec->pattern, "http/*");
  EXPECT_EQ(spec->kind, FaultKind::Latency);
  EXPECT_EQ(spec->latencyMs, 250);
  EXPECT_DOUBLE_EQ(spec->probability, 0.5);
  EXPECT_EQ(spec->seed, 7u);
  EXPECT_EQ(spec->times, 3);
  EXPECT_EQ(spec->skip, 4);

  auto error500 = ParseFaultSpec("/http/sendmsg=http500,after=1", error);
  ASSERT_TRUE(error500.has_value());
  EXPECT_EQ(error500->pattern, "http/sendmsg");
  EXPECT_TRUE(error500->afterProcessing);

  auto reply = ParseFaultSpec("http/auth=error,reply=ERR: 004, Account frozen", error);
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->reply, "ERR: 004, Account frozen");

  EXPECT_FALSE(ParseFaultSpec("http/auth", error).has_value());
  EXPECT_FALSE(ParseFaultSpec("http/auth=explode", error).has_value());
  EXPECT_FALSE(ParseFaultSpec("http/auth=drop,p=2", error).has_value());
  EXPECT_FALSE(ParseFaultSpec("http/auth=drop,bogus=1", error).has_value());
  EXPECT_FALSE(ParseFaultSpec("http/auth=drop,skip=-1", error).has_value());
}
