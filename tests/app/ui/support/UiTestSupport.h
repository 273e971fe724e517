#pragma once
// Shared pieces of the user-interface tests: the sandboxed test main, a
// recorder that answers message boxes, Parlink registered in the test's own
// registry, a data folder named by the registry, and a scripted gateway.

#include "MessageBoxes.h"

#include "engine/EngineServices.h"
#include "engine/GatewayApi.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace engine {
class GatewayBinding;
}

namespace testsupport {
void InitSandbox();
void CleanupSandbox();
} // namespace testsupport

namespace ui {
class QtMessagePoster;
class QtOutboxRebuilder;
class QtUserPrompt;
} // namespace ui

namespace uitest {

// Runs a Qt Test class in its own sandbox (registry, XDG folders), on the
// offscreen platform unless another is set, under the program's
// application object.
int RunQtTest(int argc, char **argv, const std::function<int(int, char **)> &run);

#define DV_QTEST_MAIN(TestClass)                                                                   \
  int main(int argc, char **argv) {                                                                \
    return uitest::RunQtTest(argc, argv, [](int c, char **v) {                                     \
      TestClass test;                                                                              \
      return QTest::qExec(&test, c, v);                                                            \
    });                                                                                            \
  }

// Answers every message box (and message dialog) and keeps what it showed.
class BoxRecorder {
public:
  explicit BoxRecorder(int answer = 1);
  ~BoxRecorder();
  void SetAnswer(int answer) { answer_ = answer; }
  const QList<ui::BoxRecord> &Boxes() const { return boxes_; }
  int Count() const { return static_cast<int>(boxes_.size()); }
  ui::BoxRecord Last() const { return boxes_.isEmpty() ? ui::BoxRecord{} : boxes_.back(); }
  void Clear() { boxes_.clear(); }

private:
  QList<ui::BoxRecord> boxes_;
  int answer_;
};

// Registers build/lib/libparlink.so in the sandbox registry (its
// DllRegisterServer). False (with the reason in `error`) on failure.
bool RegisterParlink(QString *error = nullptr);

// Parlink registered, created by name and pointed at `baseUrl`; null on
// failure.
std::unique_ptr<engine::GatewayBinding> ParlinkAt(const std::string &baseUrl);

// Writes HKLM\SOFTWARE\Quorvane\Dvtx3 values.
bool SetProgramValue(const std::string &name, const std::string &value);

// A fresh data folder, named in the registry as DataPath.
std::filesystem::path MakeDataFolder();

// The worker's collaborators, wired as the program wires them.
engine::EngineServices ProgramServices(store::SmsStore &store, engine::GatewayApi &gateway,
                                       shell::Settings &settings, const shell::StringTable &strings,
                                       ui::QtMessagePoster &poster, ui::QtUserPrompt &prompt,
                                       ui::QtOutboxRebuilder &rebuilder);

// A gateway whose answers the test scripts: every call returns S_OK, sets
// the error code the test chose for it (default 0) and records its name.
class FakeGateway : public engine::GatewayApi {
public:
  std::map<std::string, int> errors; // by call name
  std::map<std::string, std::string> replies;
  std::vector<std::string> calls;
  std::int32_t lastError = 0;
  struct ProxyCall {
    bool test;
    int type;
    std::string host, port, user, password;
  };
  std::vector<ProxyCall> proxyCalls;

  HRESULT SendMsg(bool, const char *, const char *, std::string *r) override {
    return Answer("SendMsg", r);
  }
  HRESULT AuthenticateClient(const char *, const char *, const char *, std::string *r) override {
    return Answer("AuthenticateClient", r);
  }
  HRESULT Ping(std::string *r) override { return Answer("Ping", r); }
  HRESULT QueryBalance(std::string *r) override { return Answer("QueryBalance", r); }
  HRESULT RecoverPassword(const char *, const char *, std::string *r) override {
    return Answer("RecoverPassword", r);
  }
  HRESULT StopMsgAPIID(const char *, std::string *r) override { return Answer("StopMsgAPIID", r); }
  HRESULT QueryMsgCLIID(const char *, std::string *r) override {
    return Answer("QueryMsgCLIID", r);
  }
  HRESULT TokenPay(const char *, std::string *r) override { return Answer("TokenPay", r); }
  HRESULT EncodeToUnicode(const char *, std::string *r) override {
    return Answer("EncodeToUnicode", r);
  }
  HRESULT StartBatch(const char *, std::string *r) override { return Answer("StartBatch", r); }
  HRESULT QuickBatchSend(const char *, std::string *r) override {
    return Answer("QuickBatchSend", r);
  }
  HRESULT EndBatch(std::string *r) override { return Answer("EndBatch", r); }
  HRESULT ConfigureProxyEx(bool test, std::int32_t type, const char *host, const char *port,
                           const char *user, const char *password, std::string *r) override {
    proxyCalls.push_back({test, type, host ? host : "", port ? port : "", user ? user : "",
                          password ? password : ""});
    return Answer("ConfigureProxyEx", r);
  }
  HRESULT Version(std::string *r) override { return Answer("Version", r); }
  HRESULT GetMsgCharge(bool, const char *, std::string *r) override {
    return Answer("GetMsgCharge", r);
  }
  HRESULT SetBaseURL(bool, const char *, std::int32_t, std::string *r) override {
    return Answer("SetBaseURL", r);
  }
  HRESULT get_smsERROR(std::int32_t *v) override {
    *v = lastError;
    return S_OK;
  }
  HRESULT get_smsSESSION_ID(std::string *v) override {
    *v = "0123456789abcdef0123456789abcdef";
    return S_OK;
  }
  HRESULT put_smsUNICODE(bool) override { return S_OK; }
  HRESULT put_smsDELIVERY_ACK(bool) override { return S_OK; }
  HRESULT put_smsMSG_TYPE(std::int32_t) override { return S_OK; }
  HRESULT put_smsREQUIRED_FEATURES(std::int32_t) override { return S_OK; }
  HRESULT put_smsCONCAT(std::int32_t) override { return S_OK; }
  HRESULT put_smsDELIVERY_TIME(std::int32_t) override { return S_OK; }
  HRESULT put_smsFROM(const char *) override { return S_OK; }
  HRESULT put_smsCLI_MSG_ID(const char *) override { return S_OK; }

  int CallCount(const std::string &name) const;

private:
  HRESULT Answer(const std::string &name, std::string *result);
};

} // namespace uitest
