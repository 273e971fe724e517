// Object creation through the registry, against a real server module.
#include "AutomationTestServer.h"

#include <automation/automation.h>
#include <registry/Registry.h>
#include <testsupport/TestEnv.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace {

using registry::Hive;

const char *kEchoKey = "CLSID\\{5B1E0C2A-7D43-4C1F-9E8A-2B6D4F0A1C37}";

std::string ModulePath() {
  return (testsupport::LibDir() / testserver::kModuleName).string();
}

// Points the runtime at a registry of the test's own.
std::filesystem::path FreshRegistry() {
  std::filesystem::path root = testsupport::MakeTempDir("registry");
  setenv("DOVETEXT_REGISTRY", root.c_str(), 1);
  return root;
}

class Activation : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(CoInitialize(nullptr), S_OK); }
  void TearDown() override { CoUninitialize(); }

  void RegisterEcho(const std::string &module) {
    ASSERT_TRUE(
        reg.SetValue(Hive::ClassesRoot, std::string(kEchoKey) + "\\InprocServer32", "", module));
  }
  void RegisterProgId(const std::string &progId, const std::string &clsid) {
    ASSERT_TRUE(reg.SetValue(Hive::ClassesRoot, progId, "", "Echo Class"));
    ASSERT_TRUE(reg.SetValue(Hive::ClassesRoot, progId + "\\CLSID", "", clsid));
  }

  LONG Call(IDispatch *object, const char16_t *member, VARIANT *args, UINT count) {
    std::u16string name(member);
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(object->GetIDsOfNames(&IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    DISPPARAMS params{args, nullptr, count, 0};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(object->Invoke(id, &IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result,
                             nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    return result.lVal;
  }

  std::filesystem::path root = FreshRegistry();
  registry::Registry reg{root};
};

TEST_F(Activation, CreatesTheRegisteredClassAndKeepsItsModuleLoaded) {
  RegisterEcho(ModulePath());
  IDispatch *first = nullptr;
  ASSERT_EQ(CoCreateInstance(&testserver::kClsidEcho, nullptr, CLSCTX_INPROC_SERVER, &IID_IDispatch,
                             reinterpret_cast<void **>(&first)),
            S_OK);
  ASSERT_NE(first, nullptr);
  VARIANT args[2];
  VariantInit(&args[0]);
  VariantInit(&args[1]);
  args[0].vt = VT_I4;
  args[0].lVal = 40;
  args[1].vt = VT_BSTR;
  args[1].bstrVal = SysAllocString(u"2");
  EXPECT_EQ(Call(first, u"Add", args, 2), 42);
  VariantClear(&args[1]);
  EXPECT_EQ(Call(first, u"Serial", nullptr, 0), 1);
  first->Release();

  // The module was not unloaded when its last object went: its count goes on.
  IUnknown *second = nullptr;
  ASSERT_EQ(CoCreateInstance(&testserver::kClsidEcho, nullptr, CLSCTX_ALL, &IID_IUnknown,
                             reinterpret_cast<void **>(&second)),
            S_OK);
  IDispatch *dispatch = nullptr;
  ASSERT_EQ(second->QueryInterface(&IID_IDispatch, reinterpret_cast<void **>(&dispatch)), S_OK);
  EXPECT_EQ(Call(dispatch, u"Serial", nullptr, 0), 2);
  dispatch->Release();
  second->Release();
}

TEST_F(Activation, ClassObjectComesFromTheModule) {
  RegisterEcho(ModulePath());
  IClassFactory *factory = nullptr;
  ASSERT_EQ(CoGetClassObject(&testserver::kClsidEcho, CLSCTX_INPROC_SERVER, nullptr,
                             &IID_IClassFactory, reinterpret_cast<void **>(&factory)),
            S_OK);
  ASSERT_NE(factory, nullptr);
  IUnknown *outer = reinterpret_cast<IUnknown *>(factory);
  void *object = reinterpret_cast<void *>(0x1);
  EXPECT_EQ(factory->CreateInstance(outer, &IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(object, nullptr);
  factory->Release();
}

TEST_F(Activation, ReportsEachWayCreationFails) {
  void *object = reinterpret_cast<void *>(0x1);
  // Nothing registered.
  EXPECT_EQ(CoCreateInstance(&testserver::kClsidEcho, nullptr, CLSCTX_ALL, &IID_IUnknown, &object),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);
  // Registered with an empty path.
  RegisterEcho("");
  EXPECT_EQ(CoCreateInstance(&testserver::kClsidEcho, nullptr, CLSCTX_ALL, &IID_IUnknown, &object),
            REGDB_E_CLASSNOTREG);
  // A module that is not there.
  RegisterEcho((testsupport::MakeTempDir() / "missing.so").string());
  EXPECT_EQ(CoCreateInstance(&testserver::kClsidEcho, nullptr, CLSCTX_ALL, &IID_IUnknown, &object),
            CO_E_DLLNOTFOUND);
  // A file that is not a module at all.
  auto junk = testsupport::MakeTempDir() / "junk.so";
  testsupport::WriteFile(junk, "not an ELF file");
  RegisterEcho(junk.string());
  EXPECT_EQ(CoCreateInstance(&testserver::kClsidEcho, nullptr, CLSCTX_ALL, &IID_IUnknown, &object),
            CO_E_DLLNOTFOUND);
  // A module without DllGetClassObject.
  RegisterEcho((testsupport::LibDir() / "libautomation.so").string());
  EXPECT_EQ(CoCreateInstance(&testserver::kClsidEcho, nullptr, CLSCTX_ALL, &IID_IUnknown, &object),
            CO_E_ERRORINDLL);
  EXPECT_EQ(object, nullptr);
  // The module does not serve the class it is registered for.
  const CLSID other = {0x11111111, 0x2222, 0x3333, {4, 4, 4, 4, 4, 4, 4, 4}};
  ASSERT_TRUE(reg.SetValue(Hive::ClassesRoot,
                           "CLSID\\{11111111-2222-3333-0404-040404040404}\\InprocServer32", "",
                           ModulePath()));
  EXPECT_EQ(CoCreateInstance(&other, nullptr, CLSCTX_ALL, &IID_IUnknown, &object),
            CLASS_E_CLASSNOTAVAILABLE);
  // Only in-process servers exist.
  RegisterEcho(ModulePath());
  EXPECT_EQ(CoCreateInstance(&testserver::kClsidEcho, nullptr, 0x4 /* local server */,
                             &IID_IUnknown, &object),
            REGDB_E_CLASSNOTREG);
  // An interface the object does not have.
  EXPECT_EQ(CoCreateInstance(&testserver::kClsidEcho, nullptr, CLSCTX_ALL, &IID_ITypeLib, &object),
            E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(CoCreateInstance(&testserver::kClsidEcho, nullptr, CLSCTX_ALL, &IID_IUnknown, nullptr),
            E_POINTER);
}

TEST_F(Activation, NeedsInitialisationOnTheCallingThread) {
  RegisterEcho(ModulePath());
  HRESULT created = S_OK, gotClass = S_OK, afterInit = E_FAIL;
  std::thread worker([&] {
    void *object = nullptr;
    created =
        CoCreateInstance(&testserver::kClsidEcho, nullptr, CLSCTX_ALL, &IID_IUnknown, &object);
    gotClass =
        CoGetClassObject(&testserver::kClsidEcho, CLSCTX_ALL, nullptr, &IID_IClassFactory, &object);
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    afterInit =
        CoCreateInstance(&testserver::kClsidEcho, nullptr, CLSCTX_ALL, &IID_IUnknown, &object);
    if (object) static_cast<IUnknown *>(object)->Release();
    CoUninitialize();
  });
  worker.join();
  EXPECT_EQ(created, CO_E_NOTINITIALIZED);
  EXPECT_EQ(gotClass, CO_E_NOTINITIALIZED);
  EXPECT_EQ(afterInit, S_OK);
}

TEST(ActivationApartment, CountsInitialisationsPerThread) {
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
  CoUninitialize();
  CoUninitialize();
  void *object = nullptr;
  EXPECT_EQ(CoCreateInstance(&testserver::kClsidEcho, nullptr, CLSCTX_ALL, &IID_IUnknown, &object),
            CO_E_NOTINITIALIZED);
  // An extra CoUninitialize is harmless, and the next call starts afresh.
  CoUninitialize();
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  CoUninitialize();
  int reserved = 0;
  EXPECT_EQ(CoInitialize(&reserved), E_INVALIDARG);
}

TEST_F(Activation, ResolvesProgIdsThroughTheirCurrentVersion) {
  const std::string v1 = "{5B1E0C2A-7D43-4C1F-9E8A-2B6D4F0A1C37}";
  const std::string v2 = "{A0000000-0000-0000-0000-000000000002}";
  RegisterProgId("Dvtest.Echo.1", v1);
  RegisterProgId("Dvtest.Echo.2", v2);
  RegisterProgId("Dvtest.Echo", v1);
  CLSID clsid;
  ASSERT_EQ(CLSIDFromProgID(u"Dvtest.Echo", &clsid), S_OK);
  EXPECT_TRUE(IsEqualGUID(&clsid, &testserver::kClsidEcho));
  // Names are case-insensitive, like the registry.
  ASSERT_EQ(CLSIDFromProgID(u"DVTEST.ECHO.1", &clsid), S_OK);
  EXPECT_TRUE(IsEqualGUID(&clsid, &testserver::kClsidEcho));

  // CurVer decides over the identifier's own CLSID.
  ASSERT_TRUE(reg.SetValue(Hive::ClassesRoot, "Dvtest.Echo\\CurVer", "", "Dvtest.Echo.2"));
  ASSERT_EQ(CLSIDFromProgID(u"Dvtest.Echo", &clsid), S_OK);
  OLECHAR text[CHARS_IN_GUID];
  ASSERT_EQ(StringFromGUID2(&clsid, text, CHARS_IN_GUID), CHARS_IN_GUID);
  EXPECT_EQ(std::u16string(text), u"{A0000000-0000-0000-0000-000000000002}");
  // A CurVer naming nothing falls back to the identifier's own CLSID.
  ASSERT_TRUE(reg.SetValue(Hive::ClassesRoot, "Dvtest.Echo\\CurVer", "", "Dvtest.Gone"));
  ASSERT_EQ(CLSIDFromProgID(u"Dvtest.Echo", &clsid), S_OK);
  EXPECT_TRUE(IsEqualGUID(&clsid, &testserver::kClsidEcho));

  // CLSIDFromString takes identifiers too, and creation by name works end to end.
  RegisterEcho(ModulePath());
  ASSERT_EQ(CLSIDFromString(u"Dvtest.Echo.1", &clsid), S_OK);
  IDispatch *object = nullptr;
  ASSERT_EQ(CoCreateInstance(&clsid, nullptr, CLSCTX_ALL, &IID_IDispatch,
                             reinterpret_cast<void **>(&object)),
            S_OK);
  EXPECT_GE(Call(object, u"Serial", nullptr, 0), 1);
  object->Release();
}

TEST_F(Activation, ProgIdFailuresAreReported) {
  CLSID clsid = testserver::kClsidEcho;
  EXPECT_EQ(CLSIDFromProgID(u"Dvtest.Nothing", &clsid), CO_E_CLASSSTRING);
  EXPECT_TRUE(IsEqualGUID(&clsid, &IID_NULL));
  ASSERT_TRUE(reg.SetValue(Hive::ClassesRoot, "Dvtest.NoClass", "", "x"));
  EXPECT_EQ(CLSIDFromProgID(u"Dvtest.NoClass", &clsid), REGDB_E_CLASSNOTREG);
  RegisterProgId("Dvtest.Bad", "{not a guid}");
  EXPECT_EQ(CLSIDFromProgID(u"Dvtest.Bad", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(CLSIDFromProgID(u"", &clsid), CO_E_CLASSSTRING);
  // A backslash would reach into other keys.
  RegisterProgId("Dvtest.Inner\\Deep", "{5B1E0C2A-7D43-4C1F-9E8A-2B6D4F0A1C37}");
  EXPECT_EQ(CLSIDFromProgID(u"Dvtest.Inner\\Deep", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(CLSIDFromProgID(u"Dvtest.\u4E2D", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(CLSIDFromProgID(nullptr, &clsid), E_INVALIDARG);
  EXPECT_EQ(CLSIDFromString(u"Dvtest.Nothing", &clsid), CO_E_CLASSSTRING);

  // A CurVer loop ends instead of recursing for ever.
  RegisterProgId("Dvtest.A", "{A0000000-0000-0000-0000-00000000000A}");
  RegisterProgId("Dvtest.B", "{A0000000-0000-0000-0000-00000000000B}");
  ASSERT_TRUE(reg.SetValue(Hive::ClassesRoot, "Dvtest.A\\CurVer", "", "Dvtest.B"));
  ASSERT_TRUE(reg.SetValue(Hive::ClassesRoot, "Dvtest.B\\CurVer", "", "Dvtest.A"));
  EXPECT_EQ(CLSIDFromProgID(u"Dvtest.A", &clsid), S_OK);
}

} // namespace
