#include "shell/SettingsFile.h"
#include "shell/SettingsScrambler.h"

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using shell::SettingsFile;
using shell::SettingsScrambler;
namespace fs = std::filesystem;

std::string Unscramble(std::string bytes) {
  SettingsScrambler scrambler;
  scrambler.Apply(reinterpret_cast<std::uint8_t *>(bytes.data()), bytes.size());
  return bytes;
}

// A file body with one record whose length field says `length` and whose
// value holds `actual` bytes.
std::string RecordFile(const std::string &name, std::uint32_t length, std::size_t actual) {
  std::string plain(52, '\0');
  plain.replace(0, name.size(), name);
  plain[48] = static_cast<char>(length & 0xFF);
  plain[49] = static_cast<char>((length >> 8) & 0xFF);
  plain[50] = static_cast<char>((length >> 16) & 0xFF);
  plain[51] = static_cast<char>((length >> 24) & 0xFF);
  plain += std::string(actual, 'v');
  return std::string("\xF3\x41\x2E\x6D", 4) + Unscramble(plain);
}

class ShellSettingsFileTest : public ::testing::Test {
protected:
  fs::path dir = testsupport::MakeTempDir("settings");
  std::string path = (dir / "SMS.dat").string();
};

TEST_F(ShellSettingsFileTest, ScramblingIsTheRollingStream) {
  std::string zeros(60, '\0');
  const std::string stream = Unscramble(zeros);
  unsigned r = 0;
  for (std::size_t i = 0; i < stream.size(); ++i) {
    const auto expected = static_cast<std::uint8_t>(SettingsScrambler::kKey[i % 8] ^ r);
    ASSERT_EQ(static_cast<std::uint8_t>(stream[i]), expected) << "byte " << i;
    r += 5;
    if (r > 255) r -= 255;
  }
  // r reaches 255 at byte 51 and goes on with 5 at byte 52.
  EXPECT_EQ(static_cast<std::uint8_t>(stream[51]) ^ SettingsScrambler::kKey[51 % 8], 255);
  EXPECT_EQ(static_cast<std::uint8_t>(stream[52]) ^ SettingsScrambler::kKey[52 % 8], 5);
}

TEST_F(ShellSettingsFileTest, FileLayoutAndMapOrder) {
  {
    SettingsFile file(path, false);
    file.SetString("b", "2");
    file.SetString("_x", "3");
    file.SetString("Alpha", "one");
    ASSERT_TRUE(file.Save());
  }
  const std::string bytes = testsupport::ReadFile(path);
  ASSERT_EQ(bytes.substr(0, 4), std::string("\xF3\x41\x2E\x6D", 4));
  const std::string plain = Unscramble(bytes.substr(4));
  ASSERT_EQ(plain.size(), 3 * 52 + 3 + 1 + 1);
  // Records in byte order of the upper-cased names: ALPHA, B, _X.
  EXPECT_EQ(plain.substr(0, 6), std::string("ALPHA\0", 6));
  EXPECT_EQ(plain.substr(5, 43), std::string(43, '\0'));
  EXPECT_EQ(plain.substr(48, 4), std::string("\x03\0\0\0", 4));
  EXPECT_EQ(plain.substr(52, 3), "one");
  EXPECT_EQ(plain.substr(55, 2), std::string("B\0", 2));
  EXPECT_EQ(plain.substr(55 + 52, 1), "2");
  EXPECT_EQ(plain.substr(108, 3), std::string("_X\0", 3));
  EXPECT_EQ(plain.substr(108 + 52, 1), "3");
}

TEST_F(ShellSettingsFileTest, RoundTripAndCaseInsensitiveNames) {
  std::string high;
  for (int c = 1; c < 256; ++c)
    high.push_back(static_cast<char>(c));
  {
    SettingsFile file(path, true); // written on close
    file.SetString("Password", high);
    file.SetInt("LastBalance", -125);
    file.SetString("WorkingOnLine", "0");
  }
  SettingsFile file(path, false);
  std::string text;
  EXPECT_TRUE(file.GetString("PASSWORD", text));
  EXPECT_EQ(text, high);
  EXPECT_TRUE(file.GetString("password", text));
  int number = 0;
  EXPECT_TRUE(file.GetInt("lastbalance", number, 7));
  EXPECT_EQ(number, -125);
  bool flag = true;
  EXPECT_TRUE(file.GetBool("workingonline", flag, true));
  EXPECT_FALSE(flag);
  file.SetString("workingONLINE", "1");
  EXPECT_EQ(file.Count(), 3u);
}

TEST_F(ShellSettingsFileTest, EmptyOrMissingValuesGiveTheDefault) {
  SettingsFile file(path, false);
  file.SetString("Sig", "");
  std::string text = "old";
  EXPECT_FALSE(file.GetString("Sig", text, "fallback"));
  EXPECT_EQ(text, "fallback");
  EXPECT_FALSE(file.GetString("Nothing", text));
  EXPECT_EQ(text, "");
  int number = 0;
  EXPECT_FALSE(file.GetInt("Sig", number, 9));
  EXPECT_EQ(number, 9);
  bool flag = false;
  EXPECT_FALSE(file.GetBool("Nothing", flag, true));
  EXPECT_TRUE(flag);
  file.SetString("Number", "12abc");
  EXPECT_TRUE(file.GetInt("Number", number));
  EXPECT_EQ(number, 12);
  file.SetString("Flag", "abc");
  EXPECT_TRUE(file.GetBool("Flag", flag, true));
  EXPECT_FALSE(flag);
}

TEST_F(ShellSettingsFileTest, OversizedNamesAndValuesAreCut) {
  {
    SettingsFile file(path, false);
    file.SetString(std::string(60, 'n'), "x");
    file.SetString("Long", std::string(5000, 'v'));
    ASSERT_TRUE(file.Save());
  }
  SettingsFile file(path, false);
  std::string text;
  EXPECT_TRUE(file.GetString(std::string(47, 'N'), text));
  EXPECT_EQ(text, "x");
  EXPECT_TRUE(file.GetString(std::string(50, 'N'), text));
  EXPECT_TRUE(file.GetString("Long", text));
  EXPECT_EQ(text.size(), 2047u);
}

TEST_F(ShellSettingsFileTest, AnotherMagicIsIgnoredAsAWhole) {
  std::string bytes = RecordFile("PREFIX", 2, 2);
  bytes[0] = 'X';
  testsupport::WriteFile(path, bytes);
  SettingsFile file(path, false);
  EXPECT_EQ(file.Count(), 0u);
}

TEST_F(ShellSettingsFileTest, DamagedRecordsEndTheLoadKeepingWhatWasRead) {
  const std::string good = SettingsFile::Serialize({{"A", "first"}, {"B", "second"}});
  // Every prefix of a good file loads a prefix of its records.
  for (std::size_t n = 0; n <= good.size(); ++n) {
    auto entries = SettingsFile::Parse(std::string_view(good).substr(0, n));
    if (n < 4 + 52 + 5) {
      EXPECT_TRUE(entries.empty()) << n;
    } else if (n < good.size()) {
      ASSERT_EQ(entries.size(), 1u) << n;
      EXPECT_EQ(entries["A"], "first");
    } else {
      EXPECT_EQ(entries.size(), 2u);
    }
  }
}

TEST_F(ShellSettingsFileTest, LengthFieldsBeyondTheLimitOrTheFileStopTheLoad) {
  // A record that claims 2048 bytes, with them present, is refused.
  testsupport::WriteFile(path, RecordFile("VALUE", 2048, 2048));
  EXPECT_EQ(SettingsFile(path, false).Count(), 0u);
  // A huge length is refused without reading anything.
  testsupport::WriteFile(path, RecordFile("VALUE", 0xFFFFFFF0u, 10));
  EXPECT_EQ(SettingsFile(path, false).Count(), 0u);
  // A length beyond the end of the file.
  testsupport::WriteFile(path, RecordFile("VALUE", 100, 99));
  EXPECT_EQ(SettingsFile(path, false).Count(), 0u);
  // Exactly 2047 is the longest value.
  testsupport::WriteFile(path, RecordFile("VALUE", 2047, 2047));
  SettingsFile file(path, false);
  std::string text;
  EXPECT_TRUE(file.GetString("value", text));
  EXPECT_EQ(text.size(), 2047u);
}

TEST_F(ShellSettingsFileTest, NameWithoutTerminatorIsCutTo47) {
  std::string plain(52, 'N');
  plain[48] = 1;
  plain[49] = plain[50] = plain[51] = 0;
  plain += "v";
  testsupport::WriteFile(path, std::string("\xF3\x41\x2E\x6D", 4) + Unscramble(plain));
  SettingsFile file(path, false);
  ASSERT_EQ(file.Count(), 1u);
  EXPECT_EQ(file.Entries().begin()->first, std::string(47, 'N'));
}

TEST_F(ShellSettingsFileTest, MissingFileLoadsNothingAndCloseWritesOnlyWhenAsked) {
  {
    SettingsFile file(path, false);
    EXPECT_EQ(file.Count(), 0u);
    file.SetString("Login", "me");
  }
  EXPECT_FALSE(fs::exists(path));
  { SettingsFile file(path, true); }
  EXPECT_TRUE(fs::exists(path));
  EXPECT_EQ(testsupport::ReadFile(path), std::string("\xF3\x41\x2E\x6D", 4));
}

TEST_F(ShellSettingsFileTest, SaveReplacesTheFileWholeAndPrivately) {
  {
    SettingsFile file(path, false);
    file.SetString("Password", "old");
    ASSERT_TRUE(file.Save());
  }
  const std::string before = testsupport::ReadFile(path);
  // A second name for the old file: an in-place rewrite would change it too.
  const fs::path keep = dir / "old-copy";
  fs::create_hard_link(path, keep);
  ::chmod(path.c_str(), 0644);
  {
    SettingsFile file(path, false);
    file.SetString("Password", "new secret");
    ASSERT_TRUE(file.Save());
  }
  EXPECT_EQ(testsupport::ReadFile(keep), before);
  SettingsFile reread(path, false);
  std::string text;
  reread.GetString("Password", text);
  EXPECT_EQ(text, "new secret");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  // No temporary file is left behind.
  int files = 0;
  for (const auto &entry : fs::directory_iterator(dir)) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 2);
}

TEST_F(ShellSettingsFileTest, SaveIntoAMissingFolderReportsFailure) {
  const std::string missing = (dir / "no-such-folder" / "SMS.dat").string();
  SettingsFile elsewhere(missing, false);
  elsewhere.SetString("Login", "x");
  EXPECT_FALSE(elsewhere.Save());
  EXPECT_FALSE(fs::exists(dir / "no-such-folder"));
}

} // namespace
