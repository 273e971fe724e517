// The dvreg tool, run as a separate program against the test's registry.
#include <registry/Registry.h>
#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char **environ;

namespace {

namespace fs = std::filesystem;
using registry::Hive;

struct Result {
  int code = -1;
  std::string out, err;
};

// Starts dvreg with its output going to files; returns the pid.
pid_t Start(const std::vector<std::string> &args, const fs::path &out, const fs::path &err) {
  std::string program = (testsupport::BinDir() / "dvreg").string();
  std::vector<char *> argv{program.data()};
  std::vector<std::string> copies(args);
  for (std::string &a : copies)
    argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = -1;
  int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

int Finish(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Every test case works in a registry of its own.
class Dvreg : public ::testing::Test {
protected:
  void SetUp() override {
    setenv("DOVETEXT_REGISTRY", testsupport::MakeTempDir("registry").c_str(), 1);
  }
};

Result RunDvreg(const std::vector<std::string> &args) {
  fs::path dir = testsupport::MakeTempDir("dvreg");
  Result r;
  pid_t pid = Start(args, dir / "out", dir / "err");
  EXPECT_GT(pid, 0);
  if (pid <= 0) return r;
  r.code = Finish(pid);
  r.out = testsupport::ReadFile(dir / "out");
  r.err = testsupport::ReadFile(dir / "err");
  return r;
}

const std::string kKey = "HKLM\\SOFTWARE\\Quorvane\\Dvtx3";

TEST_F(Dvreg, SetGetListAndDelete) {
  Result r = RunDvreg({"set", kKey, "DataPath", "/home/u/.local/share/Dovetext"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "");
  ASSERT_EQ(RunDvreg({"set", kKey, "@", "default text"}).code, 0);
  ASSERT_EQ(RunDvreg({"set", kKey + "\\Sub", "", "x"}).code, 0);

  r = RunDvreg({"get", "hklm\\software\\quorvane\\dvtx3", "DATAPATH"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "/home/u/.local/share/Dovetext\n");
  EXPECT_EQ(RunDvreg({"get", kKey, ""}).out, "default text\n");
  EXPECT_EQ(RunDvreg({"get", kKey, "@"}).out, "default text\n");

  r = RunDvreg({"list", kKey});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "Sub\\\nDataPath = /home/u/.local/share/Dovetext\n@ = default text\n");

  // What the tool wrote, the library reads, and the other way round.
  registry::Registry reg;
  EXPECT_EQ(reg.GetValue(Hive::LocalMachine, "SOFTWARE\\Quorvane\\Dvtx3", "DataPath"),
            "/home/u/.local/share/Dovetext");
  ASSERT_TRUE(reg.SetValue(Hive::ClassesRoot, "Parlink.SMS\\CLSID", "",
                           "{6F1C2A90-3B7E-4D25-9A41-0E58C7D3B216}"));
  EXPECT_EQ(RunDvreg({"get", "HKEY_CLASSES_ROOT\\Parlink.SMS\\CLSID", ""}).out,
            "{6F1C2A90-3B7E-4D25-9A41-0E58C7D3B216}\n");

  EXPECT_EQ(RunDvreg({"delete", kKey, "DataPath"}).code, 0);
  EXPECT_FALSE(reg.GetValue(Hive::LocalMachine, "SOFTWARE\\Quorvane\\Dvtx3", "DataPath"));
  EXPECT_EQ(RunDvreg({"delete", "HKLM\\SOFTWARE"}).code, 0);
  EXPECT_FALSE(reg.KeyExists(Hive::LocalMachine, "SOFTWARE"));
}

TEST_F(Dvreg, MissingKeysAndValuesFailWithAMessage) {
  Result r = RunDvreg({"get", kKey, "DataPath"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "dvreg: key not found: " + kKey + "\n");

  ASSERT_EQ(RunDvreg({"set", kKey, "Other", "1"}).code, 0);
  r = RunDvreg({"get", kKey, "DataPath"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "dvreg: value not found: DataPath in " + kKey + "\n");
  r = RunDvreg({"get", kKey, ""});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "dvreg: value not found: @ in " + kKey + "\n");

  r = RunDvreg({"delete", kKey, "DataPath"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("value not found"), std::string::npos);
  r = RunDvreg({"delete", "HKCU\\Nothing"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "dvreg: key not found: HKCU\\Nothing\n");
  r = RunDvreg({"list", "HKCU\\Nothing"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "dvreg: key not found: HKCU\\Nothing\n");
}

TEST_F(Dvreg, BadUsageIsExplained) {
  for (const auto &args : std::vector<std::vector<std::string>>{{},
                                                                {"frobnicate"},
                                                                {"set", kKey, "only-name"},
                                                                {"get", kKey},
                                                                {"list"},
                                                                {"delete"},
                                                                {"get", "HKXX\\A", "n"},
                                                                {"delete", "HKLM"},
                                                                {"--root"}}) {
    Result r = RunDvreg(args);
    EXPECT_EQ(r.code, 2) << (args.empty() ? "" : args[0]);
    EXPECT_TRUE(r.err.starts_with("dvreg: ")) << r.err;
    EXPECT_EQ(r.out, "");
  }
  Result help = RunDvreg({"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: dvreg")) << help.out;
  EXPECT_NE(help.out.find("delete KEY [NAME]"), std::string::npos);
}

TEST_F(Dvreg, RootOptionChoosesTheRegistry) {
  fs::path other = testsupport::MakeTempDir("other-registry");
  ASSERT_EQ(RunDvreg({"--root", other.string(), "set", "HKCU\\A", "n", "v"}).code, 0);
  EXPECT_EQ(registry::Registry(other).GetValue(Hive::CurrentUser, "A", "n"), "v");
  EXPECT_FALSE(registry::Registry().KeyExists(Hive::CurrentUser, "A"));
}

TEST_F(Dvreg, ParallelWritersToOneKeyAllLand) {
  constexpr int kRounds = 3, kWriters = 12;
  fs::path dir = testsupport::MakeTempDir("parallel");
  for (int round = 0; round < kRounds; ++round) {
    std::vector<pid_t> pids;
    for (int w = 0; w < kWriters; ++w) {
      std::string name = "v" + std::to_string(round) + "_" + std::to_string(w);
      pids.push_back(Start({"set", kKey, name, name + "-value"}, dir / (name + ".out"),
                           dir / (name + ".err")));
    }
    for (pid_t pid : pids)
      ASSERT_EQ(Finish(pid), 0);
  }
  registry::Registry reg;
  auto values = reg.ListValues(Hive::LocalMachine, "SOFTWARE\\Quorvane\\Dvtx3");
  EXPECT_EQ(values.size(), static_cast<size_t>(kRounds * kWriters));
  for (int round = 0; round < kRounds; ++round)
    for (int w = 0; w < kWriters; ++w) {
      std::string name = "v" + std::to_string(round) + "_" + std::to_string(w);
      EXPECT_EQ(reg.GetValue(Hive::LocalMachine, "SOFTWARE\\Quorvane\\Dvtx3", name),
                name + "-value");
    }
}

} // namespace
