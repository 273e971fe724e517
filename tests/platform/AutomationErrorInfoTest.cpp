#include <automation/automation.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

std::u16string Take(BSTR b) {
  std::u16string s = b ? std::u16string(b, SysStringLen(b)) : u"<null>";
  SysFreeString(b);
  return s;
}

IErrorInfo *MakeError(const char16_t *description) {
  ICreateErrorInfo *create = nullptr;
  EXPECT_EQ(CreateErrorInfo(&create), S_OK);
  std::u16string text(description);
  create->SetDescription(text.data());
  IErrorInfo *info = nullptr;
  EXPECT_EQ(create->QueryInterface(&IID_IErrorInfo, reinterpret_cast<void **>(&info)), S_OK);
  create->Release();
  return info;
}

void PublishAndRelease(IErrorInfo *info) {
  ASSERT_EQ(SetErrorInfo(0, info), S_OK);
  info->Release();
}

TEST(AutomationErrorInfo, OneObjectAnswersBothInterfaces) {
  ICreateErrorInfo *create = nullptr;
  ASSERT_EQ(CreateErrorInfo(&create), S_OK);
  const GUID clsid = {0x6F1C2A90, 0x3B7E, 0x4D25, {0x9A, 0x41, 0x0E, 0x58, 0xC7, 0xD3, 0xB2, 0x16}};
  std::u16string source = u"Parlink", description = u"Ungültige Nummer", help = u"C:\\";
  EXPECT_EQ(create->SetGUID(&clsid), S_OK);
  EXPECT_EQ(create->SetSource(source.data()), S_OK);
  EXPECT_EQ(create->SetDescription(description.data()), S_OK);
  EXPECT_EQ(create->SetHelpFile(help.data()), S_OK);
  EXPECT_EQ(create->SetHelpContext(7), S_OK);

  IErrorInfo *info = nullptr;
  ASSERT_EQ(create->QueryInterface(&IID_IErrorInfo, reinterpret_cast<void **>(&info)), S_OK);
  // Both views share one identity.
  IUnknown *a = nullptr, *b = nullptr;
  ASSERT_EQ(create->QueryInterface(&IID_IUnknown, reinterpret_cast<void **>(&a)), S_OK);
  ASSERT_EQ(info->QueryInterface(&IID_IUnknown, reinterpret_cast<void **>(&b)), S_OK);
  EXPECT_EQ(a, b);
  a->Release();
  b->Release();
  ICreateErrorInfo *again = nullptr;
  ASSERT_EQ(info->QueryInterface(&IID_ICreateErrorInfo, reinterpret_cast<void **>(&again)), S_OK);
  EXPECT_EQ(again, create);
  again->Release();
  void *none = nullptr;
  EXPECT_EQ(info->QueryInterface(&IID_IDispatch, &none), E_NOINTERFACE);
  create->Release();

  GUID guid{};
  ASSERT_EQ(info->GetGUID(&guid), S_OK);
  EXPECT_TRUE(IsEqualGUID(&guid, &clsid));
  BSTR text = nullptr;
  ASSERT_EQ(info->GetSource(&text), S_OK);
  EXPECT_EQ(Take(text), u"Parlink");
  ASSERT_EQ(info->GetDescription(&text), S_OK);
  EXPECT_EQ(Take(text), u"Ungültige Nummer");
  ASSERT_EQ(info->GetHelpFile(&text), S_OK);
  EXPECT_EQ(Take(text), u"C:\\");
  DWORD context = 0;
  ASSERT_EQ(info->GetHelpContext(&context), S_OK);
  EXPECT_EQ(context, 7u);
  info->Release();
}

TEST(AutomationErrorInfo, UnsetTextsReadAsNull) {
  IErrorInfo *info = MakeError(u"d");
  BSTR text = reinterpret_cast<BSTR>(0x1);
  ASSERT_EQ(info->GetSource(&text), S_OK);
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(info->GetSource(nullptr), E_INVALIDARG);
  info->Release();
}

TEST(AutomationErrorInfo, GetHandsTheObjectOverAndClears) {
  IErrorInfo *none = reinterpret_cast<IErrorInfo *>(0x1);
  EXPECT_EQ(GetErrorInfo(0, &none), S_FALSE);
  EXPECT_EQ(none, nullptr);

  IErrorInfo *info = MakeError(u"first");
  ASSERT_EQ(SetErrorInfo(0, info), S_OK);
  info->Release(); // the thread keeps its own reference

  IErrorInfo *got = nullptr;
  ASSERT_EQ(GetErrorInfo(0, &got), S_OK);
  ASSERT_EQ(got, info);
  BSTR text = nullptr;
  got->GetDescription(&text);
  EXPECT_EQ(Take(text), u"first");
  got->Release();
  EXPECT_EQ(GetErrorInfo(0, &got), S_FALSE);

  // Setting replaces; setting null clears.
  PublishAndRelease(MakeError(u"a"));
  PublishAndRelease(MakeError(u"b"));
  ASSERT_EQ(GetErrorInfo(0, &got), S_OK);
  got->GetDescription(&text);
  EXPECT_EQ(Take(text), u"b");
  // Handing the thread the object it already holds keeps it alive.
  ASSERT_EQ(SetErrorInfo(0, got), S_OK);
  ASSERT_EQ(SetErrorInfo(0, got), S_OK);
  got->Release();
  EXPECT_EQ(SetErrorInfo(0, nullptr), S_OK);
  EXPECT_EQ(GetErrorInfo(0, &got), S_FALSE);
  EXPECT_EQ(GetErrorInfo(1, &got), E_INVALIDARG);
  EXPECT_EQ(GetErrorInfo(0, nullptr), E_INVALIDARG);
}

// Counts its references, to see what the runtime holds.
struct CountedError : IErrorInfo {
  std::atomic<int> refs{1};
  HRESULT QueryInterface(REFIID, void **ppv) override {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }
  HRESULT GetGUID(GUID *) override { return E_NOTIMPL; }
  HRESULT GetSource(BSTR *) override { return E_NOTIMPL; }
  HRESULT GetDescription(BSTR *) override { return E_NOTIMPL; }
  HRESULT GetHelpFile(BSTR *) override { return E_NOTIMPL; }
  HRESULT GetHelpContext(DWORD *) override { return E_NOTIMPL; }
};

TEST(AutomationErrorInfo, EachThreadHasItsOwnObject) {
  IErrorInfo *mine = MakeError(u"main");
  SetErrorInfo(0, mine);
  mine->Release();

  CountedError left;
  HRESULT seenByWorker = S_OK;
  std::thread worker([&] {
    IErrorInfo *got = nullptr;
    seenByWorker = GetErrorInfo(0, &got);
    if (got) got->Release();
    SetErrorInfo(0, &left); // still held when the thread ends
  });
  worker.join();
  EXPECT_EQ(seenByWorker, S_FALSE);
  // The worker's object was released when the worker ended.
  EXPECT_EQ(left.refs.load(), 1);

  IErrorInfo *got = nullptr;
  ASSERT_EQ(GetErrorInfo(0, &got), S_OK);
  BSTR text = nullptr;
  got->GetDescription(&text);
  EXPECT_EQ(Take(text), u"main");
  got->Release();
}

} // namespace
