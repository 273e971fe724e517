// Passwords in the desktop keyring: a private session bus with a real
// keyring daemon, unlocked by the test. Each test needs a process of its own
// (ctest runs them so): the session-bus connection lives as long as the
// process.
#include "shell/SecretServiceVault.h"
#include "shell/Settings.h"
#include "shell/SettingsFile.h"

#include <testsupport/SessionBus.h>
#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

using shell::Settings;
using shell::SettingsFile;

class KeyringTest : public ::testing::Test {
protected:
  testsupport::SessionBus bus;
  std::unique_ptr<shell::SecretServiceVault> vault;
  std::string path = (testsupport::MakeTempDir("keyring") / "SMS.dat").string();

  void SetUp() override {
    if (!testsupport::SessionBus::Installed("gnome-keyring-daemon"))
      GTEST_SKIP() << "gnome-keyring-daemon is not installed";
    ASSERT_TRUE(bus.Start()) << bus.Problem();
  }
  void TearDown() override { shell::SetPasswordVault(nullptr); }

  // The keyring daemon, its login keyring created and unlocked.
  void StartKeyring() {
    ASSERT_GT(bus.Run({"gnome-keyring-daemon", "--foreground", "--unlock", "--components=secrets"},
                      "test-keyring-password"),
              0);
    for (int i = 0; i < 250; ++i) {
      auto probe = std::make_unique<shell::SecretServiceVault>(2000);
      if (probe->Available()) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    UseVault();
    ASSERT_TRUE(vault->Available());
  }
  void UseVault() {
    vault = std::make_unique<shell::SecretServiceVault>(5000);
    shell::SetPasswordVault(vault.get());
  }

  // What SMS.dat holds, read with the program's own reader.
  std::string InFile(const char *name) {
    SettingsFile file(path, false);
    std::string value;
    file.GetString(name, value);
    return value;
  }
  Settings Load() {
    SettingsFile file(path, false);
    Settings s;
    shell::LoadSettings(file, s);
    return s;
  }
};

TEST_F(KeyringTest, LoginPasswordGoesToTheKeyringAndComesBack) {
  StartKeyring();
  Settings s;
  s.Login = "demo";
  s.Password = "demo123";
  s.RememberPassword = false; // kept all the same: offline login compares with it
  {
    SettingsFile file(path, false);
    ASSERT_TRUE(shell::SaveLoginSettings(s, file));
  }
  EXPECT_EQ(InFile("Login"), "demo");
  EXPECT_EQ(InFile("Password"), "");
  EXPECT_EQ(vault->Lookup("Password", "demo"), "demo123");

  UseVault(); // a restart
  EXPECT_EQ(Load().Password, "demo123");
}

TEST_F(KeyringTest, OldFileIsReadAndItsPasswordsMoveAtTheNextSave) {
  {
    SettingsFile file(path, false);
    file.SetString("Login", "demo");
    file.SetString("Password", "demo123");
    file.SetString("ProxyUsername", "squid");
    file.SetString("ProxyPassword", "pr\xE9xy"); // Windows-1252 text
    file.SetString("Outlook_Name", "Work");
    file.SetString("Outlook_Password", "profile");
    ASSERT_TRUE(file.Save());
  }
  StartKeyring();
  Settings s = Load();
  EXPECT_EQ(s.Password, "demo123");
  EXPECT_EQ(s.ProxyPassword, "pr\xE9xy");
  {
    SettingsFile file(path, false);
    ASSERT_TRUE(shell::SaveSettings(s, file));
  }
  for (const char *name : {"Password", "ProxyPassword", "Outlook_Password"})
    EXPECT_EQ(InFile(name), "") << name;
  EXPECT_EQ(vault->Lookup("Password", "demo"), "demo123");
  EXPECT_EQ(vault->Lookup("ProxyPassword", "squid"), "pr\xE9xy");
  EXPECT_EQ(vault->Lookup("Outlook_Password", "Work"), "profile");
  EXPECT_EQ(Load().ProxyPassword, "pr\xE9xy");

  // A password the user empties leaves the keyring too.
  s.ProxyPassword.clear();
  {
    SettingsFile file(path, false);
    ASSERT_TRUE(shell::SaveSettings(s, file));
  }
  EXPECT_EQ(vault->Lookup("ProxyPassword", "squid"), std::nullopt);
}

TEST_F(KeyringTest, SecretOfAnotherUserIsIgnored) {
  StartKeyring();
  ASSERT_TRUE(vault->Store("Password", "someone-else", "theirs"));
  {
    SettingsFile file(path, false);
    file.SetString("Login", "demo");
    ASSERT_TRUE(file.Save());
  }
  EXPECT_EQ(Load().Password, "");
}

TEST_F(KeyringTest, WithoutKeyringTheFileKeepsThePasswords) {
  UseVault(); // a bus, but no keyring service on it
  EXPECT_FALSE(vault->Available());
  EXPECT_NE(vault->Describe().find("SMS.dat"), std::string::npos);
  Settings s;
  s.Login = "demo";
  s.Password = "demo123";
  s.ProxyPassword = "proxy";
  {
    SettingsFile file(path, false);
    ASSERT_TRUE(shell::SaveLoginSettings(s, file));
    ASSERT_TRUE(shell::SaveSettings(s, file));
  }
  EXPECT_EQ(InFile("Password"), "demo123");
  EXPECT_EQ(InFile("ProxyPassword"), "proxy");
  EXPECT_EQ(Load().Password, "demo123");
}

TEST_F(KeyringTest, LockedKeyringIsGivenUpAndTheFileKeepsThePasswords) {
  // A keyring service with no unlocked collection, and nobody to answer
  // its unlock prompt.
  ASSERT_GT(bus.Run({"gnome-keyring-daemon", "--foreground", "--components=secrets"}), 0);
  for (int i = 0; i < 250; ++i) {
    if (shell::SecretServiceVault(2000).Available()) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  vault = std::make_unique<shell::SecretServiceVault>(1500);
  shell::SetPasswordVault(vault.get());
  ASSERT_TRUE(vault->Available());
  std::vector<std::string> notes;
  vault->OnGiveUp([&](const std::string &where) { notes.push_back(where); });

  Settings s;
  s.Login = "demo";
  s.Password = "demo123";
  s.ProxyUsername = "squid";
  s.ProxyPassword = "proxy";
  {
    SettingsFile file(path, false);
    ASSERT_TRUE(shell::SaveLoginSettings(s, file));
    ASSERT_TRUE(shell::SaveSettings(s, file));
  }
  EXPECT_EQ(InFile("Password"), "demo123");
  EXPECT_EQ(InFile("ProxyPassword"), "proxy");
  EXPECT_FALSE(vault->Available());
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find("SMS.dat"), std::string::npos);
  EXPECT_EQ(Load().Password, "demo123");
}

} // namespace
