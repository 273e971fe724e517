// parlink-regsvr and the install script, run as processes in this test's
// registry.

#include "ToolProcess.h"

#include "testsupport/TestEnv.h"

#include <registry/Registry.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

using registry::Hive;
using tooltest::RunTool;
using tooltest::ToolResult;

const std::string kClassKey = "CLSID\\{6F1C2A90-3B7E-4D25-9A41-0E58C7D3B216}";

std::filesystem::path Regsvr() {
  return testsupport::BinDir() / "parlink-regsvr";
}
std::filesystem::path Library() {
  return testsupport::LibDir() / "libparlink.so";
}

// Every case starts from an empty registry of its own.
class RegsvrTool : public ::testing::Test {
protected:
  void SetUp() override {
    setenv("DOVETEXT_REGISTRY", testsupport::MakeTempDir("registry").c_str(), 1);
  }
};

TEST_F(RegsvrTool, RegistersAndUnregisters) {
  ToolResult reg = RunTool(Regsvr(), {Library().string()});
  ASSERT_EQ(0, reg.exitCode) << reg.err;
  EXPECT_NE(std::string::npos, reg.out.find("DllRegisterServer")) << reg.out;
  EXPECT_NE(std::string::npos, reg.out.find("registered")) << reg.out;

  registry::Registry r;
  EXPECT_TRUE(r.KeyExists(Hive::ClassesRoot, "Parlink.SMS"));
  auto path = r.GetValue(Hive::ClassesRoot, kClassKey + "\\InprocServer32", "");
  ASSERT_TRUE(path.has_value());
  EXPECT_TRUE(std::filesystem::equivalent(*path, Library()));

  ToolResult unreg = RunTool(Regsvr(), {"-u", Library().string()});
  ASSERT_EQ(0, unreg.exitCode) << unreg.err;
  EXPECT_NE(std::string::npos, unreg.out.find("DllUnregisterServer")) << unreg.out;
  EXPECT_FALSE(r.KeyExists(Hive::ClassesRoot, "Parlink.SMS"));
  EXPECT_FALSE(r.KeyExists(Hive::ClassesRoot, kClassKey));
  EXPECT_TRUE(r.KeyExists(Hive::ClassesRoot, "CLSID"));
}

TEST_F(RegsvrTool, RelativePathIsRegisteredAbsolute) {
  ToolResult reg = RunTool(Regsvr(), {"libparlink.so"}, {}, testsupport::LibDir());
  ASSERT_EQ(0, reg.exitCode) << reg.err;
  auto path = registry::Registry().GetValue(Hive::ClassesRoot, kClassKey + "\\InprocServer32", "");
  ASSERT_TRUE(path.has_value());
  EXPECT_TRUE(std::filesystem::path(*path).is_absolute()) << *path;
  EXPECT_TRUE(std::filesystem::equivalent(*path, Library()));
}

TEST_F(RegsvrTool, FailuresExplainThemselves) {
  ToolResult missing = RunTool(Regsvr(), {"/nonexistent/libnothing.so"});
  EXPECT_EQ(1, missing.exitCode);
  EXPECT_NE(std::string::npos, missing.err.find("cannot load")) << missing.err;

  // A shared library that is no automation server.
  ToolResult noEntry = RunTool(Regsvr(), {(testsupport::LibDir() / "libautomation.so").string()});
  EXPECT_EQ(1, noEntry.exitCode);
  EXPECT_NE(std::string::npos, noEntry.err.find("DllRegisterServer")) << noEntry.err;

  // A file that is not a library at all.
  const auto junk = testsupport::MakeTempDir("junk") / "libjunk.so";
  testsupport::WriteFile(junk, "not an ELF file");
  ToolResult notElf = RunTool(Regsvr(), {junk.string()});
  EXPECT_EQ(1, notElf.exitCode);
  EXPECT_FALSE(notElf.err.empty());

  EXPECT_EQ(2, RunTool(Regsvr(), {}).exitCode);
  EXPECT_EQ(2, RunTool(Regsvr(), {"--frobnicate", Library().string()}).exitCode);
  EXPECT_EQ(2, RunTool(Regsvr(), {Library().string(), Library().string()}).exitCode);
  EXPECT_FALSE(registry::Registry().KeyExists(Hive::ClassesRoot, "Parlink.SMS"));

  ToolResult help = RunTool(Regsvr(), {"--help"});
  EXPECT_EQ(0, help.exitCode);
  EXPECT_NE(std::string::npos, help.out.find("-u")) << help.out;
}

TEST_F(RegsvrTool, InstallScriptRegistersTheBuiltLibrary) {
  ToolResult run = RunTool(
      "/bin/sh", {DV_SOURCE_DIR "/scripts/register-parlink.sh", testsupport::BuildDir().string()});
  ASSERT_EQ(0, run.exitCode) << run.out << run.err;
  auto path = registry::Registry().GetValue(Hive::ClassesRoot, kClassKey + "\\InprocServer32", "");
  ASSERT_TRUE(path.has_value());
  EXPECT_TRUE(std::filesystem::equivalent(*path, Library()));

  ToolResult noBuild =
      RunTool("/bin/sh", {DV_SOURCE_DIR "/scripts/register-parlink.sh", "/nonexistent/build"});
  EXPECT_NE(0, noBuild.exitCode);
  EXPECT_FALSE(noBuild.err.empty());
}

} // namespace
