#include "shell/Settings.h"
#include "shell/SettingsFile.h"

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

namespace {

using shell::LoadSettings;
using shell::RecentRecord;
using shell::SaveLoginSettings;
using shell::SaveSettings;
using shell::Settings;
using shell::SettingsFile;

class ShellSettingsTest : public ::testing::Test {
protected:
  std::string path = (testsupport::MakeTempDir("settings") / "SMS.dat").string();

  Settings Reload() {
    SettingsFile file(path, false);
    Settings settings;
    LoadSettings(file, settings);
    return settings;
  }
};

RecentRecord RecentWith(std::uint8_t seed) {
  RecentRecord record = shell::EmptyRecentRecord();
  record[1] = 0;
  for (std::size_t i = 4; i < record.size(); ++i) {
    record[i] = static_cast<std::uint8_t>(seed + i * 13); // covers bytes of 128 and more
  }
  return record;
}

TEST_F(ShellSettingsTest, NewInstallationHasTheDefaults) {
  const Settings s = Reload();
  EXPECT_EQ(s.prefix, "");
  EXPECT_EQ(s.Sig, "");
  EXPECT_FALSE(s.WriteLog);
  EXPECT_TRUE(s.set_sender);
  EXPECT_TRUE(s.WorkingOnLine);
  EXPECT_TRUE(s.i18n);
  EXPECT_TRUE(s.CanUseForceSenderIDFeature);
  EXPECT_TRUE(s.AppendSessionIDOnPurchase);
  EXPECT_EQ(s.UploadToServerXDaysBefore, 1);
  EXPECT_EQ(s.ProxyType, 1);
  EXPECT_EQ(s.NumRecent, 0);
  EXPECT_EQ(s.client_id, "DVTX");
  EXPECT_EQ(s.voucher_url, shell::kDefaultVoucherUrl);
  EXPECT_EQ(s.LastBalance, 0);
  for (const RecentRecord &r : s.Recent)
    EXPECT_EQ(r, shell::EmptyRecentRecord());
}

TEST_F(ShellSettingsTest, EverySavedSettingRoundTrips) {
  Settings s;
  s.prefix = "27";
  s.Sig = "Regards \xE9\xFF";
  s.WriteLog = true;
  s.SpanSMS = true;
  s.DeliveryAcks = true;
  s.StartMinimized = true;
  s.sender_id = "Shop";
  s.set_sender = false;
  s.Outlook_Name = "Profile";
  s.Outlook_Password = "pw\x80";
  s.MAPI_AddressBook = true;
  s.bg_image_path = "http://banner.example/b.gif";
  s.LastBalance = 1234;
  s.BalanceWithFraction = true;
  s.Login = "user";
  s.Password = "s\xE9"
               "cret";
  s.RememberPassword = true;
  s.WorkingOnLine = false;
  s.NumRecent = 3;
  s.Recent[0] = RecentWith(1);
  s.Recent[1] = RecentWith(200);
  s.Recent[2] = RecentWith(77);
  s.voucher_url = "http://vouchers.example/";
  s.ScheduleToServer = true;
  s.UploadToServerXDaysBefore = 5;
  s.ProxyType = 4;
  s.ProxyHost = "proxy.local";
  s.ProxyPort = "3128";
  s.ProxyUsername = "pu";
  s.ProxyPassword = "pp";
  s.DontShowSenderIDOptionMsg = true;
  s.DontShowUnicodeWarningAgain = true;
  s.DontShowForceSenderIDMsgAgain = true;
  s.ForceSenderID = true;
  {
    SettingsFile file(path, false);
    ASSERT_TRUE(SaveSettings(s, file));
    ASSERT_TRUE(SaveLoginSettings(s, file));
  }
  const Settings r = Reload();
  EXPECT_EQ(r.prefix, s.prefix);
  EXPECT_EQ(r.Sig, s.Sig);
  EXPECT_TRUE(r.WriteLog);
  EXPECT_TRUE(r.SpanSMS);
  EXPECT_TRUE(r.DeliveryAcks);
  EXPECT_TRUE(r.StartMinimized);
  EXPECT_EQ(r.sender_id, s.sender_id);
  EXPECT_FALSE(r.set_sender);
  EXPECT_EQ(r.Outlook_Name, s.Outlook_Name);
  EXPECT_EQ(r.Outlook_Password, s.Outlook_Password);
  EXPECT_TRUE(r.MAPI_AddressBook);
  EXPECT_EQ(r.bg_image_path, s.bg_image_path);
  EXPECT_EQ(r.LastBalance, 1234);
  EXPECT_TRUE(r.BalanceWithFraction);
  EXPECT_EQ(r.Login, "user");
  EXPECT_EQ(r.Password, s.Password);
  EXPECT_TRUE(r.RememberPassword);
  EXPECT_FALSE(r.WorkingOnLine);
  EXPECT_EQ(r.NumRecent, 3);
  EXPECT_EQ(r.Recent[0], s.Recent[0]);
  EXPECT_EQ(r.Recent[1], s.Recent[1]);
  EXPECT_EQ(r.Recent[2], s.Recent[2]);
  EXPECT_EQ(r.Recent[3], shell::EmptyRecentRecord());
  EXPECT_EQ(r.voucher_url, s.voucher_url);
  EXPECT_TRUE(r.ScheduleToServer);
  EXPECT_EQ(r.UploadToServerXDaysBefore, 5);
  EXPECT_EQ(r.ProxyType, 4);
  EXPECT_EQ(r.ProxyHost, s.ProxyHost);
  EXPECT_EQ(r.ProxyPort, s.ProxyPort);
  EXPECT_EQ(r.ProxyUsername, s.ProxyUsername);
  EXPECT_EQ(r.ProxyPassword, s.ProxyPassword);
  EXPECT_TRUE(r.DontShowSenderIDOptionMsg);
  EXPECT_TRUE(r.DontShowUnicodeWarningAgain);
  EXPECT_TRUE(r.DontShowForceSenderIDMsgAgain);
  EXPECT_TRUE(r.ForceSenderID);
}

TEST_F(ShellSettingsTest, ReadOnlySettingsAreReadButNeverWritten) {
  {
    SettingsFile file(path, false);
    file.SetString("client_id", "PARTNER");
    file.SetString("help_url", "http://help.example/");
    file.SetString("UpdateVersionURL", "http://u.example/update.ver");
    file.SetString("UpdateFileURL", "http://u.example/setup");
    file.SetString("UpdateURL", "http://u.example/");
    file.SetInt("i18n", 0);
    file.SetInt("CanUseForceSenderIDFeature", 0);
    file.SetInt("AppendSessionIDOnPurchase", 0);
    ASSERT_TRUE(file.Save());
  }
  Settings s = Reload();
  EXPECT_EQ(s.client_id, "PARTNER");
  EXPECT_EQ(s.help_url, "http://help.example/");
  EXPECT_EQ(s.UpdateVersionURL, "http://u.example/update.ver");
  EXPECT_EQ(s.UpdateFileURL, "http://u.example/setup");
  EXPECT_EQ(s.UpdateURL, "http://u.example/");
  EXPECT_FALSE(s.i18n);
  EXPECT_FALSE(s.CanUseForceSenderIDFeature);
  EXPECT_FALSE(s.AppendSessionIDOnPurchase);

  // Changing them in the record and saving leaves the file's values alone.
  s.client_id = "CHANGED";
  s.i18n = true;
  {
    SettingsFile file(path, false);
    ASSERT_TRUE(SaveSettings(s, file));
  }
  s = Reload();
  EXPECT_EQ(s.client_id, "PARTNER");
  EXPECT_FALSE(s.i18n);
}

TEST_F(ShellSettingsTest, LoginSettingsAreSavedOnlyAtLogin) {
  Settings s;
  s.Login = "user";
  s.Password = "pw";
  s.RememberPassword = true;
  s.Sig = "not at login";
  {
    SettingsFile file(path, false);
    ASSERT_TRUE(SaveSettings(s, file));
  }
  Settings r = Reload();
  EXPECT_EQ(r.Login, "");
  EXPECT_EQ(r.Sig, "not at login");
  s.Sig = "changed";
  s.WorkingOnLine = false;
  {
    SettingsFile file(path, false);
    ASSERT_TRUE(SaveLoginSettings(s, file));
  }
  r = Reload();
  EXPECT_EQ(r.Login, "user");
  EXPECT_EQ(r.Password, "pw");
  EXPECT_TRUE(r.RememberPassword);
  EXPECT_FALSE(r.WorkingOnLine);
  EXPECT_EQ(r.Sig, "not at login");
}

TEST_F(ShellSettingsTest, CountsAndModesAreClamped) {
  auto loadWith = [&](int numRecent, int proxyType) {
    SettingsFile file(path, false);
    file.SetInt("NumRecent", numRecent);
    file.SetInt("ProxyType", proxyType);
    for (int i = 0; i < 12; ++i) {
      file.SetString("Recent" + std::to_string(i),
                     shell::EncodeRecentRecord(RecentWith(static_cast<std::uint8_t>(i))));
    }
    Settings s;
    LoadSettings(file, s);
    return s;
  };
  Settings s = loadWith(25, 0);
  EXPECT_EQ(s.NumRecent, 10);
  EXPECT_EQ(s.ProxyType, 1);
  EXPECT_EQ(s.Recent[9], RecentWith(9));
  s = loadWith(-4, 9);
  EXPECT_EQ(s.NumRecent, 0);
  EXPECT_EQ(s.ProxyType, 4);
  EXPECT_EQ(s.Recent[0], shell::EmptyRecentRecord());
  s = loadWith(2, 3);
  EXPECT_EQ(s.ProxyType, 3);
  EXPECT_EQ(s.Recent[1], RecentWith(1));
  EXPECT_EQ(s.Recent[2], shell::EmptyRecentRecord()); // beyond NumRecent
}

TEST_F(ShellSettingsTest, InvalidRecentEntriesStayEmpty) {
  SettingsFile file(path, false);
  file.SetInt("NumRecent", 3);
  const std::string good = shell::EncodeRecentRecord(RecentWith(5));
  file.SetString("Recent0", good.substr(0, 100));
  std::string foreign = good;
  foreign[7] = 'z';
  file.SetString("Recent1", foreign);
  file.SetString("Recent2", good);
  Settings s;
  LoadSettings(file, s);
  EXPECT_EQ(s.NumRecent, 3);
  EXPECT_EQ(s.Recent[0], shell::EmptyRecentRecord());
  EXPECT_EQ(s.Recent[1], shell::EmptyRecentRecord());
  EXPECT_EQ(s.Recent[2], RecentWith(5));
}

TEST_F(ShellSettingsTest, DamagedFileKeepsDefaultsForWhatWasNotRead) {
  {
    SettingsFile file(path, false);
    file.SetString("Login", "first"); // "LOGIN" sorts before "WORKINGONLINE"
    file.SetInt("WorkingOnLine", 0);
    ASSERT_TRUE(file.Save());
  }
  std::string bytes = testsupport::ReadFile(path);
  bytes.resize(bytes.size() - 1); // the last value is cut short
  testsupport::WriteFile(path, bytes);
  const Settings s = Reload();
  EXPECT_EQ(s.Login, "first");
  EXPECT_TRUE(s.WorkingOnLine);
}

} // namespace
