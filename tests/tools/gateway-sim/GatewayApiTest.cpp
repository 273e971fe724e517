// The simulated gateway over real HTTP, driven with the requests the Parlink
// library sends: logins, single messages through their lifecycle, charges,
// balance, vouchers, passwords, utilities and over-the-air settings.

#include "SimFixture.h"

#include <nlohmann/json.hpp>

#include <atomic>
#include <thread>
#include <vector>

using namespace gatewaysimtest;
using gatewaysim::SimOptions;

namespace {
const char *const kSessionReply = "OK: <id>";
const char *const kIdReply = "ID: <id>";

std::string Query(const std::string &session, const std::string &id) {
  return "session_id=" + session + "&apiMsgId=" + id;
}
} // namespace

using SimLoginTest = SimFixture;

TEST_F(SimLoginTest, PlainAndScrambledLoginsOpenSessions) {
  std::string plain = SimClient::AccountCredentials(kApiId, kUser, kPassword);
  HttpResult r = client->Call("http/auth", plain);
  EXPECT_EQ(r.method, "GET");
  EXPECT_TRUE(MatchesReply(r.body, kSessionReply)) << r.body;

  std::string scrambled = Reply("http/auth", SimClient::Scrambled(plain));
  EXPECT_TRUE(MatchesReply(scrambled, kSessionReply)) << scrambled;
  EXPECT_NE(scrambled, r.body);

  std::string client =
      Reply("http/cli_auth",
            SimClient::Scrambled(SimClient::ClientCredentials(kClientId, kUser, kPassword)));
  EXPECT_TRUE(MatchesReply(client, kSessionReply)) << client;
  EXPECT_EQ(Reply("http/ping", "session_id=" + client.substr(4)), "OK: Session active");
  EXPECT_EQ(Reply("http/cli_auth", SimClient::ClientCredentials(kClientId, kUser, "nope")),
            "ERR: 001, Authentication failed");
}

TEST_F(SimLoginTest, LongScrambledLoginTravelsAsPost) {
  SimOptions options = DefaultOptions();
  gatewaysim::AccountSpec account;
  account.apiId = "4242";
  account.user = "a-rather-long-user-name-for-posting";
  account.password = "p&ss w\xf6rd with, all sorts: of %characters%";
  account.balance = 5;
  options.accounts = {account};
  Start(options);
  std::string body =
      SimClient::Scrambled(SimClient::AccountCredentials("4242", account.user, account.password));
  ASSERT_GT(body.size(), 200u);
  HttpResult r = client->Call("http/auth", body);
  EXPECT_EQ(r.method, "POST");
  EXPECT_TRUE(MatchesReply(r.body, kSessionReply)) << r.body;
}

TEST_F(SimLoginTest, WrongCredentialsAreRefused) {
  EXPECT_EQ(Reply("http/auth", SimClient::AccountCredentials(kApiId, kUser, "demo124")),
            "ERR: 001, Authentication failed");
  EXPECT_EQ(Reply("http/auth", SimClient::AccountCredentials("999", kUser, kPassword)),
            "ERR: 001, Authentication failed");
  EXPECT_EQ(Reply("http/auth", SimClient::AccountCredentials("", kUser, kPassword)),
            "ERR: 108, Invalid or missing api_id");
  EXPECT_EQ(Reply("http/auth", "string=zz"), "ERR: 001, Authentication failed");
  // The scrambled form is not a second spelling of the plain one.
  EXPECT_EQ(Reply("http/auth", "string=" + SimClient::AccountCredentials(kApiId, kUser, kPassword)),
            "ERR: 001, Authentication failed");
}

TEST_F(SimLoginTest, FrozenAccountCannotLogIn) {
  SimOptions options = DefaultOptions();
  gatewaysim::AccountSpec frozen = SimOptions::DemoAccount();
  frozen.frozen = true;
  options.accounts = {frozen};
  Start(options);
  EXPECT_EQ(Reply("http/auth", SimClient::AccountCredentials(kApiId, kUser, kPassword)),
            "ERR: 004, Account frozen");
}

TEST_F(SimLoginTest, SessionsExpireAfterFifteenIdleMinutes) {
  std::string session = Login();
  Advance(15 * 60000);
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 100"); // renews
  Advance(15 * 60000 + 1);
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "ERR: 003, Session ID expired");
  EXPECT_EQ(Send(session, kNumber, "late"), "ERR: 003, Session ID expired");
  EXPECT_EQ(Reply("http/getbalance", "session_id="), "ERR: 005, Missing session ID");
  EXPECT_EQ(Reply("http/ping", "session_id=0123456789abcdef0123456789abcdef"),
            "ERR: 003, Session ID expired");
  // A new login works as before.
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + Login()), "Credit: 100");
}

TEST_F(SimLoginTest, SeededSimulatorsHandOutTheSameIdentifiers) {
  std::string first = Login();
  Start(DefaultOptions());
  EXPECT_EQ(Login(), first);
}

using SimMessageTest = SimFixture;

TEST_F(SimMessageTest, MessageGoesThroughItsLifecycle) {
  std::string session = Login();
  std::string reply = Send(session, kNumber, "Hi there", "&cliMsgId=order-17");
  ASSERT_TRUE(MatchesReply(reply, kIdReply)) << reply;
  std::string id = IdOf(reply);

  EXPECT_EQ(Reply("http/querymsg", Query(session, id)), "ID: " + id + " Status: 002");
  Advance(5000);
  EXPECT_EQ(Reply("http/querymsg", Query(session, id)), "ID: " + id + " Status: 003");
  EXPECT_EQ(Reply("http/querymsg", "session_id=" + session + "&cliMsgId=order-17"),
            "ID: " + id + " Status: 003");
  Advance(20000);
  EXPECT_EQ(Reply("http/querymsg", Query(session, id)), "ID: " + id + " Status: 004");
  EXPECT_EQ(Reply("http/getmsgcharge",
                  "session_id=" + session + "&apimsgid=" + id + "&mo=0&msg_type=SMS_TEXT"),
            "apiMsgId: " + id + " charge: 1 status: 004");
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 99");
}

TEST_F(SimMessageTest, UnknownMessagesAreReported) {
  std::string session = Login();
  std::string unknown(32, 'a');
  EXPECT_EQ(Reply("http/querymsg", Query(session, unknown)),
            "ERR: 103, Unknown apiMsgId (API Message ID)");
  EXPECT_EQ(Reply("http/querymsg", "session_id=" + session + "&cliMsgId=x"),
            "ERR: 104, Unknown cliMsgId (Client Message ID)");
  EXPECT_EQ(Reply("http/delmsg", "session_id=" + session + "&cliMsgId=x"),
            "ERR: 104, Unknown cliMsgId (Client Message ID)");
  EXPECT_EQ(Reply("http/querymsg", "session_id=" + session), "ERR: 109, Missing message ID");
  EXPECT_EQ(Reply("http/getmsgcharge", "session_id=" + session + "&apimsgid=" + unknown),
            "ERR: 103, Unknown apiMsgId (API Message ID)");

  // Another account's message is not visible.
  SimOptions options = DefaultOptions();
  gatewaysim::AccountSpec other;
  other.apiId = "555";
  other.user = "o";
  other.password = "p";
  other.balance = 1;
  options.accounts = {SimOptions::DemoAccount(), other};
  Start(options);
  std::string id = IdOf(Send(Login(), kNumber, "mine"));
  std::string otherSession = Reply("http/auth", SimClient::AccountCredentials("555", "o", "p"));
  EXPECT_EQ(Reply("http/querymsg", Query(otherSession.substr(4), id)),
            "ERR: 103, Unknown apiMsgId (API Message ID)");
}

TEST_F(SimMessageTest, ChargesFollowThePartCount) {
  std::string session = Login();
  // 161 characters: two parts, and a body long enough to be posted.
  std::string two = Send(session, kNumber, std::string(161, 'x'));
  ASSERT_TRUE(MatchesReply(two, kIdReply)) << two;
  // 71 Unicode characters: two parts.
  std::string hex;
  for (int i = 0; i < 71; ++i)
    hex += "20ac";
  std::string unicode = Send(session, kNumber, hex, "&unicode=1");
  ASSERT_TRUE(MatchesReply(unicode, kIdReply)) << unicode;
  // A 140-byte ringtone: one part.
  std::string ring =
      Reply("http/sendmsg", "session_id=" + session + "&text=" + std::string(280, 'a') +
                                "&to=" + kNumber + "&mo=0&msg_type=SMS_NOKIA_RINGTONE");
  ASSERT_TRUE(MatchesReply(ring, kIdReply)) << ring;
  EXPECT_EQ(Reply("http/getmsgcharge", "session_id=" + session + "&apimsgid=" + IdOf(two)),
            "apiMsgId: " + IdOf(two) + " charge: 2 status: 002");
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 95");
}

TEST_F(SimMessageTest, PartAndCreditCeilingsAreEnforced) {
  std::string session = Login();
  EXPECT_EQ(Send(session, kNumber, std::string(161, 'x'), "&concat=1"),
            "ERR: 113, Max parts exceeded");
  EXPECT_EQ(Send(session, kNumber, std::string(400, 'x'), "&max_cred=2&concat=3"),
            "ERR: 302, Max allowed credit");
  EXPECT_TRUE(MatchesReply(Send(session, kNumber, std::string(400, 'x'), "&concat=3"), kIdReply));
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 97");
}

TEST_F(SimMessageTest, FractionalChargesAndNoCredit) {
  SimOptions options = DefaultOptions();
  options.creditsPerPart = 1.5;
  gatewaysim::AccountSpec poor = SimOptions::DemoAccount();
  poor.balance = 4;
  options.accounts = {poor};
  Start(options);
  std::string session = Login();
  std::string id = IdOf(Send(session, kNumber, "one"));
  ASSERT_FALSE(id.empty());
  EXPECT_EQ(Reply("http/getmsgcharge", "session_id=" + session + "&apimsgid=" + id),
            "apiMsgId: " + id + " charge: 1.5 status: 002");
  EXPECT_FALSE(IdOf(Send(session, kNumber, "two")).empty());
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 1");
  EXPECT_EQ(Send(session, kNumber, "three"), "ERR: 301, No credit left");
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 1");
}

TEST_F(SimMessageTest, MalformedMessagesAreRefusedWithoutCharge) {
  std::string session = Login();
  EXPECT_EQ(Send(session, "12345", "short number"), "ERR: 105, Invalid Destination Address");
  EXPECT_EQ(Send(session, "27 83 123 4567", "blanks"), "ERR: 105, Invalid Destination Address");
  EXPECT_EQ(Send(session, "", "nobody"), "ERR: 105, Invalid Destination Address");
  EXPECT_EQ(Send(session, kNumber, ""), "ERR: 107, Empty message");
  EXPECT_EQ(Send(session, kNumber, "abc", "&unicode=1"), "ERR: 101, Invalid or missing parameter");
  EXPECT_EQ(Reply("http/sendmsg",
                  "session_id=" + session + "&text=x&to=" + kNumber + "&msg_type=SMS_MMS"),
            "ERR: 112, Invalid msg_type");
  EXPECT_EQ(Send(session, kNumber, "x", "&from=NoSuchLongSender"),
            "ERR: 106, Invalid Source Address");
  EXPECT_EQ(Send(session, kNumber, "x", "&val_period=soon"),
            "ERR: 101, Invalid or missing parameter");
  EXPECT_EQ(Send(session, "+" + std::string(kNumber), "plus is fine").substr(0, 4), "ID: ");
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 99");
}

TEST_F(SimMessageTest, AccountCredentialsInsteadOfASession) {
  std::string creds = SimClient::AccountCredentials(kApiId, kUser, kPassword);
  std::string reply =
      Reply("http/sendmsg", creds + "&text=Hi+there&to=12345678&mo=0&msg_type=SMS_TEXT");
  ASSERT_TRUE(MatchesReply(reply, kIdReply)) << reply;
  EXPECT_EQ(
      Reply("http/getmsgcharge", creds + "&apimsgid=" + IdOf(reply) + "&mo=0&msg_type=SMS_TEXT"),
      "apiMsgId: " + IdOf(reply) + " charge: 1 status: 002");
  EXPECT_EQ(Reply("http/sendmsg",
                  SimClient::AccountCredentials(kApiId, kUser, "x") + "&text=a&to=12345678"),
            "ERR: 001, Authentication failed");
  EXPECT_EQ(Reply("http/sendmsg", "text=a&to=12345678"), "ERR: 108, Invalid or missing api_id");
  // Session-only calls do not take credentials.
  EXPECT_EQ(Reply("http/getbalance", creds), "ERR: 005, Missing session ID");
}

TEST_F(SimMessageTest, SeveralRecipientsGetOneLineEach) {
  std::string session = Login();
  std::string reply = Send(session, "27831234567,12,,+27831234568", "to all");
  EXPECT_TRUE(MatchesReply(reply, "ID: <id> To: 27831234567\n"
                                  "ERR: 105, Invalid Destination Address To: 12\n"
                                  "ID: <id> To: +27831234568"))
      << reply;
  EXPECT_EQ(Send(session, ",", "nobody"), "ERR: 105, Invalid Destination Address");
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 98");
}

TEST_F(SimMessageTest, FailingNumbersEndInErrorStatuses) {
  std::string session = Login();
  std::string failing = IdOf(Send(session, "27831234666", "fails"));
  std::string unroutable = IdOf(Send(session, "9991234567", "no route"));
  std::string offline = IdOf(Send(session, "27830000000", "phone off", "&val_period=30"));
  Advance(25000);
  EXPECT_EQ(Reply("http/querymsg", Query(session, failing)), "ID: " + failing + " Status: 007");
  EXPECT_EQ(Reply("http/querymsg", Query(session, unroutable)),
            "ID: " + unroutable + " Status: 009");
  EXPECT_EQ(Reply("http/querymsg", Query(session, offline)), "ID: " + offline + " Status: 003");
  Advance(30 * 60000);
  session = Login(); // the old session idled out meanwhile
  EXPECT_EQ(Reply("http/querymsg", Query(session, offline)), "ID: " + offline + " Status: 010");
}

TEST_F(SimMessageTest, ThrottleLimitsMessagesPerSimulatedSecond) {
  SimOptions options = DefaultOptions();
  options.throttle = {2, 1000};
  Start(options);
  std::string session = Login();
  EXPECT_FALSE(IdOf(Send(session, kNumber, "1")).empty());
  EXPECT_FALSE(IdOf(Send(session, kNumber, "2")).empty());
  EXPECT_EQ(Send(session, kNumber, "3"), "ERR: 117, Throttle limit exceeded");
  Advance(1000);
  EXPECT_FALSE(IdOf(Send(session, kNumber, "4")).empty());
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 97");
}

TEST_F(SimMessageTest, DeferredMessageCanBeWithdrawnUntilTenMinutesBefore) {
  std::string session = Login();
  std::string early = IdOf(Send(session, kNumber, "later", "&deliv_time=90"));
  std::string late = IdOf(Send(session, kNumber, "later too", "&deliv_time=90"));
  std::string now = IdOf(Send(session, kNumber, "at once"));
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 97");
  EXPECT_EQ(Reply("http/querymsg", Query(session, early)), "ID: " + early + " Status: 011");

  Advance(80 * 60000 - 1); // 10 minutes and 1 ms before delivery
  session = Login();
  EXPECT_EQ(Reply("http/delmsg", Query(session, early)), "ID: " + early + " Status: 006");
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 98");
  Advance(1); // exactly 10 minutes before
  EXPECT_EQ(Reply("http/delmsg", Query(session, late)), "ERR: 116, Message cannot be stopped");
  EXPECT_EQ(Reply("http/delmsg", Query(session, now)), "ERR: 116, Message cannot be stopped");
  EXPECT_EQ(Reply("http/delmsg", Query(session, early)), "ERR: 116, Message cannot be stopped");
  EXPECT_EQ(Reply("http/delmsg", Query(session, std::string(32, '0'))),
            "ERR: 103, Unknown apiMsgId (API Message ID)");

  Advance(10 * 60000 + 25000);
  session = Login();
  EXPECT_EQ(Reply("http/querymsg", Query(session, late)), "ID: " + late + " Status: 004");
  EXPECT_EQ(Reply("http/querymsg", Query(session, early)), "ID: " + early + " Status: 006");
  EXPECT_EQ(Reply("http/getmsgcharge", "session_id=" + session + "&apimsgid=" + early),
            "apiMsgId: " + early + " charge: 0 status: 006");
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 98");
}

TEST_F(SimMessageTest, ConcurrentSendersNeverOverdrawTheAccount) {
  SimOptions options = DefaultOptions();
  options.threads = 16;
  Start(options);
  std::string session = Login();
  std::atomic<int> accepted{0}, refused{0}, other{0};
  std::vector<std::thread> senders;
  for (int t = 0; t < 8; ++t) {
    senders.emplace_back([&] {
      SimClient mine(server->BaseUrl());
      for (int i = 0; i < 20; ++i) {
        std::string reply =
            mine.Call("http/sendmsg", "session_id=" + session + "&text=x&to=" + kNumber).body;
        if (reply.rfind("ID: ", 0) == 0) {
          ++accepted;
        } else if (reply == "ERR: 301, No credit left") {
          ++refused;
        } else {
          ++other;
        }
      }
    });
  }
  for (auto &t : senders)
    t.join();
  EXPECT_EQ(accepted, 100);
  EXPECT_EQ(refused, 60);
  EXPECT_EQ(other, 0);
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 0");
  EXPECT_EQ(server->Balance(kApiId), 0.0);
}

using SimAccountTest = SimFixture;

TEST_F(SimAccountTest, VouchersAddCreditOnce) {
  std::string session = Login();
  EXPECT_EQ(Reply("http/token_pay", "session_id=" + session + "&token=1111222233334444"),
            "OK: 605, Token accepted");
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 150");
  EXPECT_EQ(Reply("http/token_pay", "session_id=" + session + "&token=1111222233334444"),
            "ERR: 607, Expired Token");
  EXPECT_EQ(Reply("http/token_pay", "session_id=" + session + "&token=9999888877776666"),
            "ERR: 606, Invalid Token");
  EXPECT_EQ(Reply("http/token_pay", "session_id=" + session + "&token="),
            "ERR: 606, Invalid Token");
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 150");
}

TEST_F(SimAccountTest, PasswordChangeAndRecovery) {
  std::string session = Login();
  EXPECT_EQ(Reply("utils/change_passwd",
                  "session_id=" + session + "&password=" + SimClient::Encode("new pass&1")),
            "OK: Password changed");
  EXPECT_EQ(Reply("http/ping", "session_id=" + session), "OK: Session active"); // stays open
  EXPECT_EQ(Reply("http/auth", SimClient::AccountCredentials(kApiId, kUser, kPassword)),
            "ERR: 001, Authentication failed");
  std::string fresh =
      Reply("http/auth",
            SimClient::Scrambled(SimClient::AccountCredentials(kApiId, kUser, "new pass&1")));
  EXPECT_TRUE(MatchesReply(fresh, kSessionReply)) << fresh;
  EXPECT_EQ(Reply("utils/change_passwd", "session_id=" + session + "&password="),
            "ERR: 101, Invalid or missing parameter");

  EXPECT_EQ(Reply("utils/recover_passwd", "user=demo&email=DEMO%40dovetext.example"),
            "OK: Password sent to demo@dovetext.example");
  EXPECT_EQ(Reply("utils/recover_passwd", "user=demo&email=other%40example.com"),
            "ERR: 002, Unknown username or password");
  EXPECT_EQ(Reply("utils/recover_passwd", "user=&email="),
            "ERR: 002, Unknown username or password");
}

TEST_F(SimAccountTest, UtilitiesAnswerInTheirGrammar) {
  std::string session = Login();
  EXPECT_EQ(Reply("utils/nettest", ""), "OK");
  EXPECT_EQ(Reply("utils/version", "session_id=" + session), "OK: 1.0.0.0");
  EXPECT_EQ(Reply("utils/version", "session_id=x"), "ERR: 003, Session ID expired");
  std::string coverage =
      Reply("utils/routeCoverage.php", "session_id=" + session + "&msisdn=" + kNumber);
  EXPECT_EQ(coverage.rfind("OK: ", 0), 0u) << coverage;
  EXPECT_EQ(Reply("utils/routeCoverage.php",
                  SimClient::AccountCredentials(kApiId, kUser, kPassword) + "&msisdn=9991234567"),
            "ERR: 114, Cannot route message");
  EXPECT_EQ(Reply("utils/routeCoverage.php", "session_id=" + session + "&msisdn="),
            "ERR: 105, Invalid Destination Address");
  HttpResult missing = client->Call("http/nosuchthing", "");
  EXPECT_EQ(missing.status, 404);
}

TEST_F(SimAccountTest, OverTheAirSettings) {
  std::string session = Login();
  std::string csd = Reply("http/sendota", "session_id=" + session +
                                              "&ota_type=1&name=Office&bearer=GSM_CSD"
                                              "&ppp_authtype=PAP&csd_callspeed=AUTO&to=" +
                                              kNumber + "&mo=0&msg_type=SMS_TEXT");
  EXPECT_TRUE(MatchesReply(csd, kIdReply)) << csd;
  std::string bookmark =
      Reply("http/sendota", SimClient::AccountCredentials(kApiId, kUser, kPassword) +
                                "&name=News&url=http%3a%2f%2fexample.com%2f&to=" + kNumber +
                                "&mo=0&msg_type=SMS_TEXT&ota_type=2");
  EXPECT_TRUE(MatchesReply(bookmark, kIdReply)) << bookmark;
  std::string xml = Reply("http/sendota", "session_id=" + session + "&xml=" +
                                              SimClient::Encode("<wap-provisioningdoc/>") +
                                              "&to=" + kNumber + "&mo=0&msg_type=SMS_TEXT");
  EXPECT_TRUE(MatchesReply(xml, kIdReply)) << xml;
  EXPECT_EQ(Reply("http/sendota", "session_id=" + session + "&ota_type=2&name=x&to=" + kNumber),
            "ERR: 101, Invalid or missing parameter");
  EXPECT_EQ(Reply("http/sendota", "session_id=" + session + "&ota_type=1&bearer=GPRS&to=1"),
            "ERR: 105, Invalid Destination Address");
  EXPECT_EQ(Reply("http/getbalance", "session_id=" + session), "Credit: 97");
}
