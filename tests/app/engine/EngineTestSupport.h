#pragma once
// Fakes and recorders for the engine's tests: a scripted gateway, a
// recorder for posted window messages, prompts, rebuilds and log entries,
// and a harness that owns a real store in a temporary folder, the settings,
// the string table and a hand-driven clock.

#include "engine/EngineServices.h"
#include "engine/GatewayApi.h"
#include "engine/ManualClock.h"
#include "engine/MessagePoster.h"
#include "engine/OutboxRebuilder.h"
#include "engine/UserPrompt.h"

#include "shell/LogWriter.h"
#include "shell/Settings.h"
#include "shell/StringTable.h"
#include "store/SmsStore.h"

#include <testsupport/TestEnv.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace enginetest {

// What a scripted gateway call answers: the result text and the error code
// that smsERROR reads afterwards.
struct Answer {
  std::string reply;
  std::int32_t error = 0;
};

// One recorded call: its name and its arguments as text.
struct Call {
  std::string name;
  std::vector<std::string> args;
};

class FakeGateway final : public engine::GatewayApi {
public:
  // Scripts; the defaults accept everything.
  std::function<Answer(const std::string &text, const std::string &to)> onSendMsg;
  std::function<Answer(const std::string &templ)> onStartBatch;
  std::function<Answer(const std::string &numbers)> onQuickBatchSend;
  std::function<Answer()> onEndBatch;
  std::function<Answer(const std::string &apiId)> onGetMsgCharge;
  std::function<Answer(const std::string &apiId)> onStopMsg;
  std::function<Answer(const std::string &cliMsgId)> onQueryMsgCliId;
  std::function<Answer()> onQueryBalance;
  std::function<Answer()> onPing;
  std::function<Answer(const std::string &user, const std::string &password)> onAuthenticate;
  // The status SendMsg returns (an invocation failure when not S_OK).
  HRESULT sendStatus = S_OK;
  // The status EncodeToUnicode returns (no text when not S_OK).
  HRESULT encodeStatus = S_OK;

  std::vector<Call> Calls() const;
  std::vector<Call> CallsNamed(const std::string &name) const;
  int CountOf(const std::string &name) const;
  void ClearCalls();
  // Blocks the next SendMsg/GetMsgCharge until Release() (to hold the
  // worker inside a job).
  void HoldNextCall();
  void WaitUntilHeld();
  void Release();

  HRESULT SendMsg(bool useSessionId, const char *msg, const char *to, std::string *result) override;
  HRESULT AuthenticateClient(const char *clientId, const char *user, const char *password,
                             std::string *result) override;
  HRESULT Ping(std::string *result) override;
  HRESULT QueryBalance(std::string *result) override;
  HRESULT RecoverPassword(const char *username, const char *email, std::string *result) override;
  HRESULT StopMsgAPIID(const char *apiMsgId, std::string *result) override;
  HRESULT QueryMsgCLIID(const char *cliMsgId, std::string *result) override;
  HRESULT TokenPay(const char *token, std::string *result) override;
  HRESULT EncodeToUnicode(const char *text, std::string *result) override;
  HRESULT StartBatch(const char *templateText, std::string *result) override;
  HRESULT QuickBatchSend(const char *to, std::string *result) override;
  HRESULT EndBatch(std::string *result) override;
  HRESULT ConfigureProxyEx(bool testForOnline, std::int32_t inetType, const char *proxy,
                           const char *port, const char *username, const char *password,
                           std::string *result) override;
  HRESULT Version(std::string *result) override;
  HRESULT GetMsgCharge(bool useSessionId, const char *apiMsgId, std::string *result) override;
  HRESULT SetBaseURL(bool resetOnly, const char *newUrl, std::int32_t hashKey,
                     std::string *result) override;
  HRESULT get_smsERROR(std::int32_t *value) override;
  HRESULT get_smsSESSION_ID(std::string *value) override;
  HRESULT put_smsUNICODE(bool value) override;
  HRESULT put_smsDELIVERY_ACK(bool value) override;
  HRESULT put_smsMSG_TYPE(std::int32_t value) override;
  HRESULT put_smsREQUIRED_FEATURES(std::int32_t value) override;
  HRESULT put_smsCONCAT(std::int32_t value) override;
  HRESULT put_smsDELIVERY_TIME(std::int32_t value) override;
  HRESULT put_smsFROM(const char *value) override;
  HRESULT put_smsCLI_MSG_ID(const char *value) override;

private:
  HRESULT Finish(const std::string &name, std::vector<std::string> args, const Answer &answer,
                 std::string *result);
  void Record(const std::string &name, std::vector<std::string> args);
  void MaybeHold();

  mutable std::mutex mutex_;
  std::condition_variable cv_;
  std::vector<Call> calls_;
  std::int32_t error_ = 0;
  bool holdNext_ = false;
  bool held_ = false;
  int nextId_ = 1;
};

struct Posted {
  engine::WindowTarget target;
  unsigned message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
};

class PostRecorder final : public engine::MessagePoster {
public:
  void Post(engine::WindowTarget target, unsigned message, std::uintptr_t wParam,
            std::intptr_t lParam) override;
  std::vector<Posted> All() const;
  std::vector<unsigned> Messages() const;
  int Count(unsigned message) const;
  void Clear();

private:
  mutable std::mutex mutex_;
  std::vector<Posted> posted_;
};

struct Prompted {
  std::string text;
  std::string caption;
  unsigned style;
};

class PromptRecorder final : public engine::UserPrompt {
public:
  int Ask(const std::string &text, const std::string &caption, unsigned style) override;
  std::vector<Prompted> All() const;
  // What every question is answered with.
  std::atomic<int> answer{engine::kAnswerOk};

private:
  mutable std::mutex mutex_;
  std::vector<Prompted> asked_;
};

class RebuildRecorder final : public engine::OutboxRebuilder {
public:
  void Rebuild(bool resortOnly) override;
  int Full() const;
  int ResortOnly() const;

private:
  mutable std::mutex mutex_;
  int full_ = 0;
  int resort_ = 0;
};

class LogRecorder final : public shell::LogWriter {
public:
  void WriteEntry(std::string_view text) override;
  std::vector<std::string> Entries() const;
  bool Contains(const std::string &fragment) const;

private:
  mutable std::mutex mutex_;
  std::vector<std::string> entries_;
};

// 2024-03-01 12:00:00 UTC.
inline constexpr std::int64_t kStartSeconds = 1709294400;

// A real store in a temporary folder, the settings and string table, the
// recorders, and a ManualClock; `services` wires them together with the
// given gateway.
class Harness {
public:
  explicit Harness(engine::GatewayApi *gateway = nullptr);
  ~Harness();

  engine::EngineServices Services();
  std::int64_t Now() const { return clock.Now(); }

  // Adds a Pending message (the way QueueMessage would) and returns its ID.
  int AddPending(const std::string &to, const std::string &text, int type = 0, int flags = 0,
                 const std::string &senderId = "", int delay = 0, int time = 0);
  int AddContact(const std::string &name, const std::string &surname, const std::string &mobile);
  store::MessageRow Row(int id) const;
  // Children of a message (rows whose RefID is the message's and whose ID
  // differs), ascending.
  std::vector<store::MessageRow> Children(int id) const;

  std::filesystem::path folder;
  engine::ManualClock clock{kStartSeconds * 1000};
  shell::Settings settings;
  shell::StringTable strings;
  LogRecorder log;
  PostRecorder posts;
  PromptRecorder prompts;
  RebuildRecorder rebuilds;
  engine::GatewayApi *gateway;
  std::unique_ptr<store::SmsStore> store;
};

// The committed content of a store file, read through a separate read-only
// connection (what a crash right now would leave).
std::vector<store::MessageRow> CommittedRows(const std::string &dbPath);
// The committed send record of one message, the same way.
std::optional<store::SendRecord> CommittedSendRecord(const std::string &dbPath, int id);
// Sets the message identifier counter of a closed store file.
void SetMessageCounter(const std::filesystem::path &dbPath, int next);

} // namespace enginetest
