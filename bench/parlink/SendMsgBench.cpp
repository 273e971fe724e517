// Requests per second of SendMsg over the plain path, short (GET) and long
// (POST) bodies, against a recording server on 127.0.0.1.
#include <benchmark/benchmark.h>

#include <codepage/Codepage.h>

#include <cstdlib>
#include <string>

#include "src/SMS.h"
#include "testsupport/RecordingServer.h"
#include "transport/TransportContext.h"

namespace {

class BenchSms final : public SMS {
public:
  HRESULT QueryInterface(REFIID, void **ppv) override {
    if (ppv) *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  HRESULT GetTypeInfoCount(UINT *) override { return E_NOTIMPL; }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *,
                 UINT *) override {
    return E_NOTIMPL;
  }
};

BSTR Make(const std::string &text) {
  const std::u16string wide = codepage::ToUtf16(text);
  return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

void SendMsg(benchmark::State &state) {
  for (const char *name : {"http_proxy", "HTTP_PROXY", "no_proxy", "NO_PROXY"})
    unsetenv(name);
  testsupport::RecordingServer server;
  server.SetReply("/http/sendmsg",
                  testsupport::ScriptedReply::Text("ID: 0123456789abcdef0123456789abcdef"));
  setenv("PARLINK_BASE_URL", server.BaseUrl().c_str(), 1);
  parlink::TransportContext::ResetForTesting();

  BenchSms sms;
  BSTR text = Make(std::string(static_cast<size_t>(state.range(0)), 'x'));
  BSTR to = Make("447700900123");
  size_t failures = 0;
  for (auto _ : state) {
    BSTR result = nullptr;
    sms.SendMsg(VARIANT_FALSE, text, to, &result);
    LONG error = 0;
    sms.get_smsERROR(&error);
    failures += error != 0;
    SysFreeString(result);
    if (server.RequestCount() > 10000) server.ClearRequests();
  }
  SysFreeString(text);
  SysFreeString(to);
  state.counters["requests_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["failures"] = static_cast<double>(failures);
  server.Stop();
  parlink::TransportContext::ResetForTesting();
}

} // namespace

// 20 text bytes go as GET, 400 as POST.
BENCHMARK(SendMsg)->Arg(20)->Arg(400)->MinTime(2.0)->UseRealTime();

BENCHMARK_MAIN();
