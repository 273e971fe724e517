// Loading a server's type library and recording it in the registry.
#include "AutomationTestServer.h"

#include <automation/automation.h>
#include <registry/Registry.h>
#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using registry::Hive;

const std::string kLib = "TypeLib\\{0C9D3E71-2B5A-4F80-A16E-3D5C729B10E4}";
const std::string kEchoIface = "Interface\\{8E2A41D0-6C3B-4A97-B518-0F7D2E96C453}";
const std::string kEventsIface = "Interface\\{47F0B6C9-1E2D-4B38-8CA5-6B09D37E51F2}";

std::string ModulePath() {
  return (testsupport::LibDir() / testserver::kModuleName).string();
}

std::filesystem::path FreshRegistry() {
  std::filesystem::path root = testsupport::MakeTempDir("registry");
  setenv("DOVETEXT_REGISTRY", root.c_str(), 1);
  return root;
}

class TypeLibs : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(LoadTypeLib(ModulePath().c_str(), &lib), S_OK);
    ASSERT_NE(lib, nullptr);
  }
  void TearDown() override {
    if (lib) lib->Release();
  }
  std::string Value(const std::string &key, const std::string &name = "") {
    return reg.GetValue(Hive::ClassesRoot, key, name).value_or("<missing>");
  }

  ITypeLib *lib = nullptr;
  std::filesystem::path root = FreshRegistry();
  registry::Registry reg{root};
};

TEST_F(TypeLibs, LoadsFromTheModule) {
  EXPECT_EQ(lib->GetTypeInfoCount(), 4u);
  TLIBATTR *attr = nullptr;
  ASSERT_EQ(lib->GetLibAttr(&attr), S_OK);
  EXPECT_TRUE(IsEqualGUID(&attr->guid, &testserver::kLibId));
  lib->ReleaseTLibAttr(attr);

  ITypeLib *none = reinterpret_cast<ITypeLib *>(0x1);
  EXPECT_EQ(LoadTypeLib("/nonexistent/module.so", &none), TYPE_E_CANTLOADLIBRARY);
  EXPECT_EQ(none, nullptr);
  // A module without DllGetTypeLib.
  EXPECT_EQ(LoadTypeLib((testsupport::LibDir() / "libautomation.so").c_str(), &none),
            TYPE_E_CANTLOADLIBRARY);
  EXPECT_EQ(LoadTypeLib(nullptr, &none), E_INVALIDARG);
  EXPECT_EQ(LoadTypeLib(ModulePath().c_str(), nullptr), E_POINTER);
}

TEST_F(TypeLibs, RegistrationWritesTheLibraryAndItsInterfaces) {
  ASSERT_EQ(RegisterTypeLib(lib, ModulePath().c_str(), nullptr), S_OK);
  EXPECT_EQ(Value(kLib + "\\1.0"), "Echo 1.0 Type Library");
  EXPECT_EQ(Value(kLib + "\\1.0\\0\\linux64"), ModulePath());
  EXPECT_EQ(Value(kLib + "\\1.0\\FLAGS"), "0");
  EXPECT_EQ(Value(kLib + "\\1.0\\HELPDIR"), testsupport::LibDir().string());

  for (const auto &[key, name] : {std::pair{kEchoIface, "IEcho"}, {kEventsIface, "_IEchoEvents"}}) {
    EXPECT_EQ(Value(key), name);
    EXPECT_EQ(Value(key + "\\ProxyStubClsid32"), "{00020424-0000-0000-C000-000000000046}");
    EXPECT_EQ(Value(key + "\\TypeLib"), "{0C9D3E71-2B5A-4F80-A16E-3D5C729B10E4}");
    EXPECT_EQ(Value(key + "\\TypeLib", "Version"), "1.0");
  }
  // Only interfaces are registered: not the enumeration, not the class.
  auto interfaces = reg.ListSubkeys(Hive::ClassesRoot, "Interface");
  EXPECT_EQ(interfaces.size(), 2u);
  EXPECT_FALSE(
      reg.KeyExists(Hive::ClassesRoot, "Interface\\{91A4C7E2-3F58-4D06-B27C-8E146A3D90B5}"));

  // A help folder given is written as given.
  ASSERT_EQ(RegisterTypeLib(lib, ModulePath().c_str(), "/usr/share/doc/echo"), S_OK);
  EXPECT_EQ(Value(kLib + "\\1.0\\HELPDIR"), "/usr/share/doc/echo");
  EXPECT_EQ(RegisterTypeLib(nullptr, ModulePath().c_str(), nullptr), E_INVALIDARG);
}

TEST_F(TypeLibs, UnregistrationRemovesExactlyWhatRegistrationWrote) {
  // Neighbours that must survive: another library's interface, an interface
  // of another version of this library, and another version's key.
  const std::string foreign = "Interface\\{00000000-1111-2222-3333-444444444444}";
  ASSERT_TRUE(reg.SetValue(Hive::ClassesRoot, foreign, "", "IForeign"));
  ASSERT_TRUE(reg.SetValue(Hive::ClassesRoot, foreign + "\\TypeLib", "",
                           "{00000000-AAAA-BBBB-CCCC-DDDDDDDDDDDD}"));
  const std::string older = "Interface\\{00000000-5555-6666-7777-888888888888}";
  ASSERT_TRUE(reg.SetValue(Hive::ClassesRoot, older + "\\TypeLib", "",
                           "{0C9D3E71-2B5A-4F80-A16E-3D5C729B10E4}"));
  ASSERT_TRUE(reg.SetValue(Hive::ClassesRoot, older + "\\TypeLib", "Version", "0.9"));
  ASSERT_TRUE(reg.SetValue(Hive::ClassesRoot, kLib + "\\0.9", "", "Echo 0.9 Type Library"));

  ASSERT_EQ(RegisterTypeLib(lib, ModulePath().c_str(), nullptr), S_OK);
  ASSERT_EQ(UnRegisterTypeLib(&testserver::kLibId, 1, 0, 0x409, SYS_WIN64), S_OK);

  EXPECT_FALSE(reg.KeyExists(Hive::ClassesRoot, kLib + "\\1.0"));
  EXPECT_FALSE(reg.KeyExists(Hive::ClassesRoot, kEchoIface));
  EXPECT_FALSE(reg.KeyExists(Hive::ClassesRoot, kEventsIface));
  EXPECT_TRUE(reg.KeyExists(Hive::ClassesRoot, foreign));
  EXPECT_TRUE(reg.KeyExists(Hive::ClassesRoot, older));
  EXPECT_TRUE(reg.KeyExists(Hive::ClassesRoot, kLib + "\\0.9"));

  // Once the last version is gone, the library's key goes too.
  ASSERT_TRUE(reg.DeleteKeyTree(Hive::ClassesRoot, kLib + "\\0.9"));
  ASSERT_EQ(RegisterTypeLib(lib, ModulePath().c_str(), nullptr), S_OK);
  ASSERT_EQ(UnRegisterTypeLib(&testserver::kLibId, 1, 0, 0, SYS_WIN64), S_OK);
  EXPECT_FALSE(reg.KeyExists(Hive::ClassesRoot, kLib));
  EXPECT_TRUE(reg.KeyExists(Hive::ClassesRoot, "Interface"));

  // Nothing left to remove.
  EXPECT_EQ(UnRegisterTypeLib(&testserver::kLibId, 1, 0, 0, SYS_WIN64), TYPE_E_REGISTRYACCESS);
}

} // namespace
