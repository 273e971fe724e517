#include <registry/Registry.h>
#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
using registry::Hive;
using registry::Registry;

class RegistryFixture : public ::testing::Test {
protected:
  fs::path root = testsupport::MakeTempDir("registry");
  Registry reg{root};
};

using RegistryKeys = RegistryFixture;
using RegistryValues = RegistryFixture;
using RegistryStorage = RegistryFixture;

TEST(RegistryPaths, ParsesHivesInShortAndLongForm) {
  Hive hive;
  std::string key;
  ASSERT_TRUE(registry::ParseKeyPath("HKLM\\SOFTWARE\\Quorvane\\Dvtx3", hive, key));
  EXPECT_EQ(hive, Hive::LocalMachine);
  EXPECT_EQ(key, "SOFTWARE\\Quorvane\\Dvtx3");
  ASSERT_TRUE(registry::ParseKeyPath("hkey_classes_root\\Parlink.SMS", hive, key));
  EXPECT_EQ(hive, Hive::ClassesRoot);
  EXPECT_EQ(key, "Parlink.SMS");
  ASSERT_TRUE(registry::ParseKeyPath("HKCU", hive, key));
  EXPECT_EQ(hive, Hive::CurrentUser);
  EXPECT_EQ(key, "");
  ASSERT_TRUE(registry::ParseKeyPath("HKEY_CURRENT_USER\\A\\", hive, key));
  EXPECT_EQ(key, "A");
  EXPECT_FALSE(registry::ParseKeyPath("HKXX\\A", hive, key));
  EXPECT_FALSE(registry::ParseKeyPath("", hive, key));
  EXPECT_FALSE(registry::ParseKeyPath("SOFTWARE\\HKLM", hive, key));
  EXPECT_EQ(registry::HiveName(Hive::ClassesRoot), "HKCR");
}

TEST(RegistryPaths, RootComesFromTheEnvironment) {
  setenv("DOVETEXT_REGISTRY", "/some/where", 1);
  EXPECT_EQ(registry::DefaultRoot(), fs::path("/some/where"));
  unsetenv("DOVETEXT_REGISTRY");
  setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(registry::DefaultRoot(), fs::path("/cfg/dovetext/registry"));
  setenv("XDG_CONFIG_HOME", "relative/cfg", 1); // not a valid XDG folder
  setenv("HOME", "/home/someone", 1);
  EXPECT_EQ(registry::DefaultRoot(), fs::path("/home/someone/.config/dovetext/registry"));
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(registry::DefaultRoot(), fs::path("/home/someone/.config/dovetext/registry"));
}

TEST_F(RegistryKeys, NamesAreCaseInsensitiveAndCasePreserving) {
  ASSERT_TRUE(reg.SetValue(Hive::LocalMachine, "SOFTWARE\\Quorvane\\Dvtx3", "DataPath", "/d"));
  EXPECT_EQ(reg.GetValue(Hive::LocalMachine, "software\\QUORVANE\\dvtx3", "datapath"), "/d");
  EXPECT_TRUE(reg.KeyExists(Hive::LocalMachine, "Software\\quorvane"));
  // A later spelling neither renames the key nor the value.
  ASSERT_TRUE(reg.SetValue(Hive::LocalMachine, "software\\quorvane\\DVTX3", "DATAPATH", "/e"));
  EXPECT_EQ(reg.ListSubkeys(Hive::LocalMachine, "SOFTWARE\\Quorvane"),
            std::vector<std::string>{"Dvtx3"});
  auto values = reg.ListValues(Hive::LocalMachine, "SOFTWARE\\Quorvane\\Dvtx3");
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].first, "DataPath");
  EXPECT_EQ(values[0].second, "/e");
  // Windows-1252 letters fold too: "Ä" (C4) and "ä" (E4), "Š" (8A) and "š" (9A).
  ASSERT_TRUE(reg.SetValue(Hive::CurrentUser, "\xC4pfel\x8A", "n", "1"));
  EXPECT_EQ(reg.GetValue(Hive::CurrentUser, "\xE4PFEL\x9A", "N"), "1");
}

TEST_F(RegistryKeys, HivesAreSeparate) {
  ASSERT_TRUE(reg.SetValue(Hive::LocalMachine, "K", "v", "machine"));
  ASSERT_TRUE(reg.SetValue(Hive::CurrentUser, "K", "v", "user"));
  EXPECT_EQ(reg.GetValue(Hive::LocalMachine, "K", "v"), "machine");
  EXPECT_EQ(reg.GetValue(Hive::CurrentUser, "K", "v"), "user");
  EXPECT_FALSE(reg.KeyExists(Hive::ClassesRoot, "K"));
}

TEST_F(RegistryKeys, CreateMakesParentsAndListsInCaseInsensitiveOrder) {
  ASSERT_TRUE(reg.CreateKey(Hive::ClassesRoot, "CLSID\\{B}\\InprocServer32"));
  ASSERT_TRUE(reg.CreateKey(Hive::ClassesRoot, "CLSID\\{a}"));
  ASSERT_TRUE(reg.CreateKey(Hive::ClassesRoot, "clsid\\{C}"));
  ASSERT_TRUE(reg.CreateKey(Hive::ClassesRoot, "CLSID\\{a}")); // already there
  EXPECT_TRUE(reg.KeyExists(Hive::ClassesRoot, "CLSID\\{B}"));
  EXPECT_EQ(reg.ListSubkeys(Hive::ClassesRoot, "CLSID"),
            (std::vector<std::string>{"{a}", "{B}", "{C}"}));
  EXPECT_EQ(reg.ListSubkeys(Hive::ClassesRoot, ""), std::vector<std::string>{"CLSID"});
  EXPECT_TRUE(reg.ListValues(Hive::ClassesRoot, "CLSID\\{a}").empty());
  EXPECT_TRUE(reg.ListSubkeys(Hive::ClassesRoot, "Nothing").empty());
}

TEST_F(RegistryKeys, DeleteTreeRemovesEverythingBelow) {
  ASSERT_TRUE(reg.SetValue(Hive::ClassesRoot, "CLSID\\{X}", "", "SMS Class"));
  ASSERT_TRUE(reg.SetValue(Hive::ClassesRoot, "CLSID\\{X}\\InprocServer32", "", "/lib.so"));
  ASSERT_TRUE(
      reg.SetValue(Hive::ClassesRoot, "CLSID\\{X}\\InprocServer32", "ThreadingModel", "Apartment"));
  ASSERT_TRUE(reg.CreateKey(Hive::ClassesRoot, "CLSID\\{X}\\Programmable"));
  ASSERT_TRUE(reg.CreateKey(Hive::ClassesRoot, "CLSID\\{Y}"));
  ASSERT_TRUE(reg.DeleteKeyTree(Hive::ClassesRoot, "clsid\\{x}"));
  EXPECT_FALSE(reg.KeyExists(Hive::ClassesRoot, "CLSID\\{X}"));
  EXPECT_FALSE(reg.GetValue(Hive::ClassesRoot, "CLSID\\{X}\\InprocServer32", ""));
  EXPECT_TRUE(reg.KeyExists(Hive::ClassesRoot, "CLSID"));
  EXPECT_TRUE(reg.KeyExists(Hive::ClassesRoot, "CLSID\\{Y}"));
  EXPECT_FALSE(reg.DeleteKeyTree(Hive::ClassesRoot, "CLSID\\{X}"));
  EXPECT_FALSE(reg.DeleteKeyTree(Hive::ClassesRoot, ""));
  // A key deleted and made again starts empty.
  ASSERT_TRUE(reg.CreateKey(Hive::ClassesRoot, "CLSID\\{X}"));
  EXPECT_TRUE(reg.ListSubkeys(Hive::ClassesRoot, "CLSID\\{X}").empty());
  EXPECT_TRUE(reg.ListValues(Hive::ClassesRoot, "CLSID\\{X}").empty());
}

TEST_F(RegistryKeys, InvalidPathsAreRefused) {
  EXPECT_FALSE(reg.SetValue(Hive::LocalMachine, "A\\\\B", "n", "v"));
  EXPECT_FALSE(reg.CreateKey(Hive::LocalMachine, "\\A"));
  EXPECT_FALSE(reg.CreateKey(Hive::LocalMachine, std::string(256, 'k')));
  EXPECT_TRUE(reg.CreateKey(Hive::LocalMachine, std::string(255, 'k')));
  EXPECT_FALSE(reg.KeyExists(Hive::LocalMachine, "A\\\\B"));
  EXPECT_TRUE(reg.KeyExists(Hive::LocalMachine, ""));
}

TEST_F(RegistryKeys, AnyNameIsStoredSafely) {
  // Names that are awkward as file names stay inside their key.
  const std::vector<std::string> names = {"..", ".", "a/b", "%%key", "%41", "\x01\xFF", "x y"};
  for (const std::string &name : names)
    ASSERT_TRUE(reg.SetValue(Hive::CurrentUser, "Top\\" + name, "", name)) << name;
  for (const std::string &name : names)
    EXPECT_EQ(reg.GetValue(Hive::CurrentUser, "Top\\" + name, ""), name) << name;
  EXPECT_EQ(reg.ListSubkeys(Hive::CurrentUser, "Top").size(), names.size());
  // Nothing escaped the registry's folder.
  for (const auto &entry : fs::directory_iterator(root))
    EXPECT_TRUE(entry.path().filename() == "%%lock" || entry.path().filename() == "HKCU")
        << entry.path();
  EXPECT_FALSE(reg.KeyExists(Hive::CurrentUser, "Top\\A"));
}

TEST_F(RegistryValues, DefaultValueHasTheEmptyName) {
  ASSERT_TRUE(reg.SetValue(Hive::ClassesRoot, "Parlink.SMS", "", "SMS Class"));
  EXPECT_EQ(reg.GetValue(Hive::ClassesRoot, "Parlink.SMS", ""), "SMS Class");
  EXPECT_FALSE(reg.GetValue(Hive::ClassesRoot, "Parlink.SMS", "x"));
  ASSERT_TRUE(reg.DeleteValue(Hive::ClassesRoot, "Parlink.SMS", ""));
  EXPECT_FALSE(reg.GetValue(Hive::ClassesRoot, "Parlink.SMS", ""));
  EXPECT_TRUE(reg.KeyExists(Hive::ClassesRoot, "Parlink.SMS"));
  // Values may sit on the hive itself.
  ASSERT_TRUE(reg.SetValue(Hive::CurrentUser, "", "top", "1"));
  EXPECT_EQ(reg.GetValue(Hive::CurrentUser, "", "TOP"), "1");
}

TEST_F(RegistryValues, ListKeepsTheOrderValuesWereFirstSet) {
  ASSERT_TRUE(reg.SetValue(Hive::LocalMachine, "K", "zeta", "1"));
  ASSERT_TRUE(reg.SetValue(Hive::LocalMachine, "K", "", "d"));
  ASSERT_TRUE(reg.SetValue(Hive::LocalMachine, "K", "alpha", "2"));
  ASSERT_TRUE(reg.SetValue(Hive::LocalMachine, "K", "ZETA", "3"));
  auto values = reg.ListValues(Hive::LocalMachine, "K");
  ASSERT_EQ(values.size(), 3u);
  EXPECT_EQ(values[0], (std::pair<std::string, std::string>{"zeta", "3"}));
  EXPECT_EQ(values[1], (std::pair<std::string, std::string>{"", "d"}));
  EXPECT_EQ(values[2], (std::pair<std::string, std::string>{"alpha", "2"}));
  ASSERT_TRUE(reg.DeleteValue(Hive::LocalMachine, "K", "Zeta"));
  EXPECT_FALSE(reg.DeleteValue(Hive::LocalMachine, "K", "zeta"));
  EXPECT_FALSE(reg.DeleteValue(Hive::LocalMachine, "Missing", "zeta"));
  EXPECT_EQ(reg.ListValues(Hive::LocalMachine, "K").size(), 2u);
}

TEST_F(RegistryValues, BytesAreStoredUnchanged) {
  const std::string bytes("line1\nline2\0\xE9\xFF\r\n:12:", 19);
  ASSERT_TRUE(reg.SetValue(Hive::LocalMachine, "K", "bin\nname", bytes));
  EXPECT_EQ(reg.GetValue(Hive::LocalMachine, "K", "BIN\nNAME"), bytes);
  ASSERT_TRUE(reg.SetValue(Hive::LocalMachine, "K", "empty", ""));
  EXPECT_EQ(reg.GetValue(Hive::LocalMachine, "K", "empty"), "");
  // A second registry object over the same folder sees the same data.
  Registry other(root);
  EXPECT_EQ(other.GetValue(Hive::LocalMachine, "K", "bin\nname"), bytes);
  EXPECT_FALSE(reg.SetValue(Hive::LocalMachine, "K", "huge",
                            std::string(Registry::kMaxValueBytes + 1, 'x')));
}

TEST_F(RegistryStorage, ReadingNeverCreatesTheRegistry) {
  Registry absent(root / "not-yet");
  EXPECT_FALSE(absent.GetValue(Hive::LocalMachine, "SOFTWARE", "x"));
  EXPECT_TRUE(absent.ListSubkeys(Hive::LocalMachine, "").empty());
  EXPECT_FALSE(absent.KeyExists(Hive::LocalMachine, "SOFTWARE"));
  EXPECT_FALSE(fs::exists(root / "not-yet"));
  ASSERT_TRUE(absent.SetValue(Hive::LocalMachine, "SOFTWARE", "x", "1"));
  EXPECT_EQ((fs::status(root / "not-yet").permissions() & fs::perms::all), fs::perms::owner_all);
}

TEST_F(RegistryStorage, DamagedKeyFileIsSetAsideNotLost) {
  ASSERT_TRUE(reg.SetValue(Hive::LocalMachine, "K", "first", "1"));
  ASSERT_TRUE(reg.SetValue(Hive::LocalMachine, "K", "second", "2"));
  fs::path file = reg.KeyFolder(Hive::LocalMachine, "K") / "%%key";
  std::string bytes = testsupport::ReadFile(file);
  ASSERT_FALSE(bytes.empty());
  // Cut into the second value.
  testsupport::WriteFile(file, bytes.substr(0, bytes.size() - 3));
  EXPECT_EQ(reg.GetValue(Hive::LocalMachine, "K", "first"), "1");
  EXPECT_FALSE(reg.GetValue(Hive::LocalMachine, "K", "second"));
  ASSERT_TRUE(reg.SetValue(Hive::LocalMachine, "K", "third", "3"));
  EXPECT_EQ(reg.GetValue(Hive::LocalMachine, "K", "first"), "1");
  EXPECT_EQ(reg.GetValue(Hive::LocalMachine, "K", "third"), "3");
  int setAside = 0;
  for (const auto &entry : fs::directory_iterator(file.parent_path()))
    if (entry.path().filename().string().starts_with("%%key.corrupt.")) {
      ++setAside;
      EXPECT_EQ(testsupport::ReadFile(entry.path()), bytes.substr(0, bytes.size() - 3));
    }
  EXPECT_EQ(setAside, 1);
}

TEST_F(RegistryStorage, KeyFolderWithoutItsFileStillCounts) {
  // A folder made by hand (or by an older tool) is a key with its folder's name.
  fs::create_directories(root / "HKLM" / "HANDMADE");
  EXPECT_TRUE(reg.KeyExists(Hive::LocalMachine, "HandMade"));
  EXPECT_EQ(reg.ListSubkeys(Hive::LocalMachine, ""), std::vector<std::string>{"HANDMADE"});
  ASSERT_TRUE(reg.SetValue(Hive::LocalMachine, "handmade", "v", "1"));
  EXPECT_EQ(reg.GetValue(Hive::LocalMachine, "HANDMADE", "V"), "1");
}

} // namespace
