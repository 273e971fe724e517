#include "shell/Logger.h"

#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sstream>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using shell::Logger;
namespace fs = std::filesystem;

std::time_t At(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return ::timegm(&t);
}

bool IsDigits(const std::string &text, std::size_t from, std::size_t count) {
  if (text.size() < from + count) return false;
  for (std::size_t i = from; i < from + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

// "MM/DD/YYYY hh:mm:ss (<hex>)   T<n>-<n> " followed by 200 'p' and a CR.
bool IsWholeEntry(const std::string &line) {
  if (!IsDigits(line, 0, 2) || line[2] != '/' || !IsDigits(line, 3, 2) || line[5] != '/' ||
      !IsDigits(line, 6, 4) || line[10] != ' ' || !IsDigits(line, 11, 2) || line[13] != ':' ||
      !IsDigits(line, 14, 2) || line[16] != ':' || !IsDigits(line, 17, 2) ||
      line.compare(19, 2, " (") != 0) {
    return false;
  }
  std::size_t close = line.find(')', 21);
  if (close == std::string::npos || close == 21) return false;
  for (std::size_t i = 21; i < close; ++i) {
    if (!std::isxdigit(static_cast<unsigned char>(line[i])) || std::isupper(line[i])) return false;
  }
  if (line.compare(close, 5, ")   T") != 0) return false;
  std::size_t space = line.find(' ', close + 5);
  if (space == std::string::npos) return false;
  return line.substr(space + 1) == std::string(200, 'p') + "\r";
}

std::string Hex(long value) {
  std::ostringstream out;
  out << std::hex << value;
  return out.str();
}

class ShellLoggerTest : public ::testing::Test {
protected:
  void SetUp() override {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
  }
  fs::path dir = testsupport::MakeTempDir("log");
  std::string path = (dir / "SMS.log").string();
  std::time_t now = At(2006, 12, 5, 14, 3, 9);
  Logger::Clock clock = [this] { return now; };
};

TEST_F(ShellLoggerTest, StartMarkerAndEntryFormat) {
  {
    Logger log(path, clock);
    log.Log("Updated SMS: SMS_ID (%d) Mobile:%s Msg:%s", 7, ",0821", "hello");
    log.Log("Added SMS: SMS_ID (%d) Mobile:%s Msg:%s\n", 8, ",0822", "bye");
  }
  const std::string prefix = "12/05/2006 14:03:09 (" + Hex(::gettid()) + ")   ";
  EXPECT_EQ(testsupport::ReadFile(path),
            "Started @ Tue Dec  5 14:03:09 2006\r\n------\r\n" + prefix +
                "Updated SMS: SMS_ID (7) Mobile:,0821 Msg:hello\r\n" + prefix +
                "Added SMS: SMS_ID (8) Mobile:,0822 Msg:bye\n\r\n");
}

TEST_F(ShellLoggerTest, EveryStartAppendsAMarker) {
  { Logger log(path, clock); }
  now = At(2007, 1, 15, 9, 5, 0);
  { Logger log(path, clock); }
  EXPECT_EQ(testsupport::ReadFile(path), "Started @ Tue Dec  5 14:03:09 2006\r\n------\r\n"
                                         "Started @ Mon Jan 15 09:05:00 2007\r\n------\r\n");
}

TEST_F(ShellLoggerTest, EntryTextIsCutTo1024) {
  Logger log(path, clock);
  const std::string marker = testsupport::ReadFile(path);
  log.Log("%s", std::string(3000, 'x'));
  log.WriteEntry(std::string(1500, 'y'));
  const std::string prefix = Logger::EntryPrefix(now, ::gettid());
  EXPECT_EQ(testsupport::ReadFile(path), marker + prefix + std::string(1024, 'x') + "\r\n" +
                                             prefix + std::string(1024, 'y') + "\r\n");
}

TEST_F(ShellLoggerTest, RotationHappensOnlyPastTheLimitAndANewFileFollows) {
  Logger log(path, clock);
  const std::size_t overhead = Logger::EntryPrefix(now, ::gettid()).size() + 2;
  std::size_t remaining = Logger::kSizeLimit - fs::file_size(path);
  while (remaining > 2048 + 2 * overhead) {
    log.WriteEntry(std::string(1024, 'a'));
    remaining -= 1024 + overhead;
  }
  const std::size_t first = (remaining - 2 * overhead) / 2;
  log.WriteEntry(std::string(first, 'b'));
  log.WriteEntry(std::string(remaining - 2 * overhead - first, 'c'));
  // Exactly at the limit: no rotation.
  ASSERT_EQ(fs::file_size(path), Logger::kSizeLimit);
  const fs::path rotated = dir / "SMS.log.20061205.1403.log";
  EXPECT_EQ(Logger::RotatedName(path, now), rotated.string());
  EXPECT_FALSE(fs::exists(rotated));

  // The entry that takes it past the limit is written, then the file moves.
  log.WriteEntry("over");
  ASSERT_TRUE(fs::exists(rotated));
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(fs::file_size(rotated), Logger::kSizeLimit + overhead + 4);

  // The next entry starts a new log.
  log.WriteEntry("after rotation");
  EXPECT_EQ(testsupport::ReadFile(path),
            Logger::EntryPrefix(now, ::gettid()) + "after rotation\r\n");
}

TEST_F(ShellLoggerTest, ARotationNeverOverwritesAnEarlierOne) {
  Logger log(path, clock);
  const std::string big(1024, 'z');
  while (fs::exists(path))
    log.WriteEntry(big);
  const fs::path rotated = Logger::RotatedName(path, now);
  const auto firstSize = fs::file_size(rotated);
  // Within the same minute the dated name is taken: the log keeps growing.
  for (int i = 0; i < 1100; ++i)
    log.WriteEntry(big);
  EXPECT_GT(fs::file_size(path), Logger::kSizeLimit);
  EXPECT_EQ(fs::file_size(rotated), firstSize);
  // A minute later the pending rotation goes through.
  now += 60;
  log.WriteEntry("next minute");
  EXPECT_FALSE(fs::exists(path));
  EXPECT_TRUE(fs::exists(Logger::RotatedName(path, now)));
  EXPECT_EQ(fs::file_size(rotated), firstSize);
}

TEST_F(ShellLoggerTest, DeletedLogIsStartedAgain) {
  Logger log(path, clock);
  fs::remove(path);
  log.WriteEntry("still logging");
  EXPECT_EQ(testsupport::ReadFile(path),
            Logger::EntryPrefix(now, ::gettid()) + "still logging\r\n");
}

TEST_F(ShellLoggerTest, HoldsTheNamedLockOpenWithoutWaiting) {
  const fs::path lock = fs::path(std::getenv("XDG_RUNTIME_DIR")) / "DovetextLoggerMutex.lock";
  Logger first(path, clock);
  Logger second(path, clock); // never waits on the other holder
  EXPECT_TRUE(fs::exists(lock));
  second.WriteEntry("two loggers");
  EXPECT_NE(testsupport::ReadFile(path).find("two loggers"), std::string::npos);
}

TEST_F(ShellLoggerTest, UnwritableLogIsSilent) {
  Logger log((dir / "missing" / "SMS.log").string(), clock);
  log.WriteEntry("dropped");
  EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST_F(ShellLoggerTest, DebugSinkGetsTheTextWhenAsked) {
  const fs::path captured = dir / "stderr.txt";
  int file = ::open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(file, 0);
  int saved = ::dup(STDERR_FILENO);
  ::dup2(file, STDERR_FILENO);
  {
    ::unsetenv("DOVETEXT_DEBUG");
    Logger quiet(path, clock);
    quiet.WriteEntry("not on stderr");
    ::setenv("DOVETEXT_DEBUG", "1", 1);
    Logger loud(path, clock);
    loud.WriteEntry("on stderr");
    ::unsetenv("DOVETEXT_DEBUG");
  }
  ::dup2(saved, STDERR_FILENO);
  ::close(saved);
  ::close(file);
  EXPECT_EQ(testsupport::ReadFile(captured), "on stderr\r\n");
}

TEST_F(ShellLoggerTest, EntriesFromManyThreadsStayWhole) {
  Logger log(path, {});
  constexpr int kThreads = 4;
  constexpr int kEntries = 150;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&log, t] {
      for (int i = 0; i < kEntries; ++i)
        log.Log("T%d-%d %s", t, i, std::string(200, 'p'));
    });
  }
  for (auto &thread : threads)
    thread.join();
  std::istringstream lines(testsupport::ReadFile(path));
  std::string line;
  int entries = 0;
  std::getline(lines, line); // start marker
  std::getline(lines, line);
  while (std::getline(lines, line)) {
    ASSERT_TRUE(IsWholeEntry(line)) << line;
    ++entries;
  }
  EXPECT_EQ(entries, kThreads * kEntries);
}

} // namespace
