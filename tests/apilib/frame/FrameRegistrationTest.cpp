// Registration of the SMS class and its type library in the test's own
// registry, and their removal.

#include "FrameTestSupport.h"

#include <parlink/Parlink.h>
#include <registry/Registry.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using frametest::Module;
using registry::Hive;

constexpr const char *kClsid = "{6F1C2A90-3B7E-4D25-9A41-0E58C7D3B216}";
constexpr const char *kLibid = "{A2D94E17-58C3-4B0F-8E6A-91F2B0C4D735}";
constexpr const char *kIsmsIid = "{3C8E7B52-D1A4-4F96-B207-6A5E19F0C8D4}";
const std::string kClassKey = std::string("CLSID\\") + kClsid;

std::optional<std::string> Value(const std::string &key, const std::string &name = "") {
  return registry::Registry().GetValue(Hive::ClassesRoot, key, name);
}

bool Exists(const std::string &key) {
  return registry::Registry().KeyExists(Hive::ClassesRoot, key);
}

TEST(FrameRegistration, WritesEveryKeyOfTheScript) {
  ASSERT_EQ(S_OK, Module().registerServer());

  EXPECT_EQ("SMS Class", Value("Parlink.SMS.1"));
  EXPECT_EQ(kClsid, Value("Parlink.SMS.1\\CLSID"));
  EXPECT_EQ("SMS Class", Value("Parlink.SMS"));
  EXPECT_EQ(kClsid, Value("Parlink.SMS\\CLSID"));
  EXPECT_EQ("Parlink.SMS.1", Value("Parlink.SMS\\CurVer"));

  EXPECT_EQ("SMS Class", Value(kClassKey));
  EXPECT_EQ("Parlink.SMS.1", Value(kClassKey + "\\ProgID"));
  EXPECT_EQ("Parlink.SMS", Value(kClassKey + "\\VersionIndependentProgID"));
  EXPECT_TRUE(Exists(kClassKey + "\\Programmable"));
  EXPECT_EQ("Apartment", Value(kClassKey + "\\InprocServer32", "ThreadingModel"));
  EXPECT_EQ(kLibid, Value(kClassKey + "\\TypeLib"));

  auto server = Value(kClassKey + "\\InprocServer32");
  ASSERT_TRUE(server.has_value());
  EXPECT_TRUE(std::filesystem::path(*server).is_absolute()) << *server;
  EXPECT_TRUE(std::filesystem::equivalent(*server, Module().path)) << *server;

  // The type library and its interface, through the runtime.
  EXPECT_EQ("Parlink 1.0 Type Library", Value(std::string("TypeLib\\") + kLibid + "\\1.0"));
  EXPECT_TRUE(Exists(std::string("Interface\\") + kIsmsIid));
}

TEST(FrameRegistration, ProgIdResolvesToTheClass) {
  ASSERT_EQ(S_OK, Module().registerServer());
  CLSID clsid{};
  ASSERT_EQ(S_OK, CLSIDFromProgID(u"Parlink.SMS", &clsid));
  EXPECT_TRUE(IsEqualGUID(&clsid, &parlink::CLSID_SMS));
  CLSID versioned{};
  ASSERT_EQ(S_OK, CLSIDFromProgID(u"Parlink.SMS.1", &versioned));
  EXPECT_TRUE(IsEqualGUID(&versioned, &parlink::CLSID_SMS));
}

TEST(FrameRegistration, UnregistrationRemovesClassProgIdsAndTypeLibButNotClsidRoot) {
  ASSERT_EQ(S_OK, Module().registerServer());
  // Another class registered beside ours must survive.
  registry::Registry().SetValue(Hive::ClassesRoot, "CLSID\\{00000000-1111-2222-3333-444444444444}",
                                "", "Other Class");

  ASSERT_EQ(S_OK, Module().unregisterServer());
  EXPECT_FALSE(Exists(kClassKey));
  EXPECT_FALSE(Exists("Parlink.SMS"));
  EXPECT_FALSE(Exists("Parlink.SMS.1"));
  EXPECT_FALSE(Exists(std::string("TypeLib\\") + kLibid + "\\1.0"));
  EXPECT_FALSE(Exists(std::string("Interface\\") + kIsmsIid));
  EXPECT_TRUE(Exists("CLSID"));
  EXPECT_EQ("Other Class", Value("CLSID\\{00000000-1111-2222-3333-444444444444}"));

  CLSID clsid{};
  EXPECT_TRUE(FAILED(CLSIDFromProgID(u"Parlink.SMS", &clsid)));
}

TEST(FrameRegistration, UnregisteringTwiceStillSucceeds) {
  ASSERT_EQ(S_OK, Module().registerServer());
  EXPECT_EQ(S_OK, Module().unregisterServer());
  EXPECT_EQ(S_OK, Module().unregisterServer());
  EXPECT_FALSE(Exists(kClassKey));
}

TEST(FrameRegistration, ReRegistrationReplacesAStaleClassKey) {
  registry::Registry reg;
  reg.SetValue(Hive::ClassesRoot, kClassKey + "\\InprocServer32", "", "/old/place/libparlink.so");
  reg.SetValue(Hive::ClassesRoot, kClassKey + "\\LocalServer32", "", "/old/place/server");

  ASSERT_EQ(S_OK, Module().registerServer());
  EXPECT_FALSE(Exists(kClassKey + "\\LocalServer32"));
  auto server = Value(kClassKey + "\\InprocServer32");
  ASSERT_TRUE(server.has_value());
  EXPECT_TRUE(std::filesystem::equivalent(*server, Module().path));
}

TEST(FrameRegistration, RegisteredLibraryLoadsThroughTheRuntime) {
  ASSERT_EQ(S_OK, Module().registerServer());
  ITypeLib *lib = nullptr;
  ASSERT_EQ(S_OK, LoadTypeLib(Module().path.c_str(), &lib));
  ASSERT_NE(nullptr, lib);
  TLIBATTR *attr = nullptr;
  ASSERT_EQ(S_OK, lib->GetLibAttr(&attr));
  EXPECT_TRUE(IsEqualGUID(&attr->guid, &parlink::LIBID_ParlinkLib));
  lib->ReleaseTLibAttr(attr);
  lib->Release();
}

} // namespace
