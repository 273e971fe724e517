#include "EngineTestSupport.h"

#include <codepage/Codepage.h>

#include <sqlite3.h>

#include <cstdio>

namespace enginetest {

// ---- FakeGateway ----------------------------------------------------------

namespace {

std::string Text(const char *s) {
  return s ? std::string(s) : std::string("<null>");
}

} // namespace

void FakeGateway::Record(const std::string &name, std::vector<std::string> args) {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.push_back(Call{name, std::move(args)});
}

HRESULT FakeGateway::Finish(const std::string &name, std::vector<std::string> args,
                            const Answer &answer, std::string *result) {
  Record(name, std::move(args));
  std::lock_guard<std::mutex> lock(mutex_);
  error_ = answer.error;
  if (result) *result = answer.reply;
  return S_OK;
}

void FakeGateway::MaybeHold() {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!holdNext_) return;
  holdNext_ = false;
  held_ = true;
  cv_.notify_all();
  cv_.wait(lock, [this] { return !held_; });
}

void FakeGateway::HoldNextCall() {
  std::lock_guard<std::mutex> lock(mutex_);
  holdNext_ = true;
}

void FakeGateway::WaitUntilHeld() {
  std::unique_lock<std::mutex> lock(mutex_);
  cv_.wait(lock, [this] { return held_; });
}

void FakeGateway::Release() {
  std::lock_guard<std::mutex> lock(mutex_);
  held_ = false;
  holdNext_ = false;
  cv_.notify_all();
}

std::vector<Call> FakeGateway::Calls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}

std::vector<Call> FakeGateway::CallsNamed(const std::string &name) const {
  std::vector<Call> out;
  for (const Call &c : Calls())
    if (c.name == name) out.push_back(c);
  return out;
}

int FakeGateway::CountOf(const std::string &name) const {
  return static_cast<int>(CallsNamed(name).size());
}

void FakeGateway::ClearCalls() {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.clear();
}

static std::string NewId(int n) {
  char buf[40];
  std::snprintf(buf, sizeof(buf), "%032x", n);
  return buf;
}

HRESULT FakeGateway::SendMsg(bool useSessionId, const char *msg, const char *to,
                             std::string *result) {
  if (!msg || !result) return E_FAIL;
  MaybeHold();
  Answer answer;
  if (onSendMsg) {
    answer = onSendMsg(msg, Text(to));
  } else {
    std::lock_guard<std::mutex> lock(mutex_);
    answer = Answer{"ID: " + NewId(nextId_++), 0};
  }
  HRESULT hr = Finish("SendMsg", {useSessionId ? "1" : "0", msg, Text(to)}, answer, result);
  if (FAILED(sendStatus)) {
    result->clear();
    return sendStatus;
  }
  return hr;
}

HRESULT FakeGateway::AuthenticateClient(const char *clientId, const char *user,
                                        const char *password, std::string *result) {
  if (!clientId || !user || !password || !result) return E_FAIL;
  Answer answer = onAuthenticate ? onAuthenticate(user, password) : Answer{"OK: session", 0};
  return Finish("AuthenticateClient", {clientId, user, password}, answer, result);
}

HRESULT FakeGateway::Ping(std::string *result) {
  if (!result) return E_FAIL;
  Answer answer = onPing ? onPing() : Answer{"OK: pong", 0};
  return Finish("Ping", {}, answer, result);
}

HRESULT FakeGateway::QueryBalance(std::string *result) {
  return Finish("QueryBalance", {}, onQueryBalance ? onQueryBalance() : Answer{"100", 0}, result);
}

HRESULT FakeGateway::RecoverPassword(const char *username, const char *email, std::string *result) {
  return Finish("RecoverPassword", {Text(username), Text(email)}, Answer{"OK:", 0}, result);
}

HRESULT FakeGateway::StopMsgAPIID(const char *apiMsgId, std::string *result) {
  if (!apiMsgId || !result) return E_FAIL;
  Answer answer = onStopMsg ? onStopMsg(apiMsgId) : Answer{std::string("ID: ") + apiMsgId, 0};
  return Finish("StopMsgAPIID", {apiMsgId}, answer, result);
}

HRESULT FakeGateway::QueryMsgCLIID(const char *cliMsgId, std::string *result) {
  if (!cliMsgId || !result) return E_FAIL;
  Answer answer = onQueryMsgCliId ? onQueryMsgCliId(cliMsgId)
                                  : Answer{"ERR: 104, Unknown cliMsgId (Client Message ID)", 104};
  return Finish("QueryMsgCLIID", {cliMsgId}, answer, result);
}

HRESULT FakeGateway::TokenPay(const char *token, std::string *result) {
  return Finish("TokenPay", {Text(token)}, Answer{"OK: 605", 0}, result);
}

HRESULT FakeGateway::EncodeToUnicode(const char *text, std::string *result) {
  if (!text || !result) return E_FAIL;
  if (FAILED(encodeStatus)) {
    Record("EncodeToUnicode", {text});
    return encodeStatus;
  }
  std::u16string wide = codepage::ToUtf16(text);
  std::string hex;
  char buf[8];
  for (char16_t c : wide) {
    std::snprintf(buf, sizeof(buf), "%04x", static_cast<unsigned>(c));
    hex += buf;
  }
  Record("EncodeToUnicode", {text});
  *result = hex;
  return S_OK;
}

HRESULT FakeGateway::StartBatch(const char *templateText, std::string *result) {
  if (!templateText || !result) return E_FAIL;
  Answer answer = onStartBatch ? onStartBatch(templateText) : Answer{"ID: batch1", 0};
  return Finish("StartBatch", {templateText}, answer, result);
}

HRESULT FakeGateway::QuickBatchSend(const char *to, std::string *result) {
  if (!to || !result) return E_FAIL;
  MaybeHold();
  Answer answer;
  if (onQuickBatchSend) {
    answer = onQuickBatchSend(to);
  } else {
    std::string numbers = to;
    std::size_t start = 0;
    std::lock_guard<std::mutex> lock(mutex_);
    while (start <= numbers.size()) {
      std::size_t comma = numbers.find(',', start);
      std::string n =
          numbers.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
      answer.reply += "ID: " + NewId(nextId_++) + " To: " + n + "\n";
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
  }
  return Finish("QuickBatchSend", {to}, answer, result);
}

HRESULT FakeGateway::EndBatch(std::string *result) {
  if (!result) return E_FAIL;
  Answer answer = onEndBatch ? onEndBatch() : Answer{"OK: batch closed", 0};
  return Finish("EndBatch", {}, answer, result);
}

HRESULT FakeGateway::ConfigureProxyEx(bool, std::int32_t, const char *proxy, const char *port,
                                      const char *, const char *, std::string *result) {
  return Finish("ConfigureProxyEx", {Text(proxy), Text(port)}, Answer{"OK", 0}, result);
}

HRESULT FakeGateway::Version(std::string *result) {
  return Finish("Version", {}, Answer{"OK: 2.0.0.44", 0}, result);
}

HRESULT FakeGateway::GetMsgCharge(bool useSessionId, const char *apiMsgId, std::string *result) {
  if (!apiMsgId || !result) return E_FAIL;
  MaybeHold();
  Answer answer = onGetMsgCharge
                      ? onGetMsgCharge(apiMsgId)
                      : Answer{std::string("apiMsgId: ") + apiMsgId + " charge: 1 status: 001", 0};
  return Finish("GetMsgCharge", {useSessionId ? "1" : "0", apiMsgId}, answer, result);
}

HRESULT FakeGateway::SetBaseURL(bool, const char *newUrl, std::int32_t, std::string *result) {
  return Finish("SetBaseURL", {Text(newUrl)}, Answer{"OK:", 0}, result);
}

HRESULT FakeGateway::get_smsERROR(std::int32_t *value) {
  if (!value) return E_FAIL;
  std::lock_guard<std::mutex> lock(mutex_);
  *value = error_;
  return S_OK;
}

HRESULT FakeGateway::get_smsSESSION_ID(std::string *value) {
  if (!value) return E_FAIL;
  *value = "session";
  return S_OK;
}

HRESULT FakeGateway::put_smsUNICODE(bool value) {
  Record("put_smsUNICODE", {value ? "-1" : "0"});
  return S_OK;
}
HRESULT FakeGateway::put_smsDELIVERY_ACK(bool value) {
  Record("put_smsDELIVERY_ACK", {value ? "-1" : "0"});
  return S_OK;
}
HRESULT FakeGateway::put_smsMSG_TYPE(std::int32_t value) {
  Record("put_smsMSG_TYPE", {std::to_string(value)});
  return S_OK;
}
HRESULT FakeGateway::put_smsREQUIRED_FEATURES(std::int32_t value) {
  Record("put_smsREQUIRED_FEATURES", {std::to_string(value)});
  return S_OK;
}
HRESULT FakeGateway::put_smsCONCAT(std::int32_t value) {
  Record("put_smsCONCAT", {std::to_string(value)});
  return S_OK;
}
HRESULT FakeGateway::put_smsDELIVERY_TIME(std::int32_t value) {
  Record("put_smsDELIVERY_TIME", {std::to_string(value)});
  return S_OK;
}
HRESULT FakeGateway::put_smsFROM(const char *value) {
  Record("put_smsFROM", {Text(value)});
  return S_OK;
}
HRESULT FakeGateway::put_smsCLI_MSG_ID(const char *value) {
  Record("put_smsCLI_MSG_ID", {Text(value)});
  return S_OK;
}

// ---- Recorders --------------------------------------------------------------

void PostRecorder::Post(engine::WindowTarget target, unsigned message, std::uintptr_t wParam,
                        std::intptr_t lParam) {
  std::lock_guard<std::mutex> lock(mutex_);
  posted_.push_back(Posted{target, message, wParam, lParam});
}

std::vector<Posted> PostRecorder::All() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return posted_;
}

std::vector<unsigned> PostRecorder::Messages() const {
  std::vector<unsigned> out;
  for (const Posted &p : All())
    out.push_back(p.message);
  return out;
}

int PostRecorder::Count(unsigned message) const {
  int n = 0;
  for (const Posted &p : All())
    n += p.message == message;
  return n;
}

void PostRecorder::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  posted_.clear();
}

int PromptRecorder::Ask(const std::string &text, const std::string &caption, unsigned style) {
  std::lock_guard<std::mutex> lock(mutex_);
  asked_.push_back(Prompted{text, caption, style});
  return answer.load();
}

std::vector<Prompted> PromptRecorder::All() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return asked_;
}

void RebuildRecorder::Rebuild(bool resortOnly) {
  std::lock_guard<std::mutex> lock(mutex_);
  (resortOnly ? resort_ : full_)++;
}

int RebuildRecorder::Full() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return full_;
}

int RebuildRecorder::ResortOnly() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return resort_;
}

void LogRecorder::WriteEntry(std::string_view text) {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.emplace_back(text);
}

std::vector<std::string> LogRecorder::Entries() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return entries_;
}

bool LogRecorder::Contains(const std::string &fragment) const {
  for (const std::string &e : Entries())
    if (e.find(fragment) != std::string::npos) return true;
  return false;
}

// ---- Harness ----------------------------------------------------------------

Harness::Harness(engine::GatewayApi *gw) : gateway(gw) {
  folder = testsupport::MakeTempDir("engine");
  store::StoreServices services;
  services.log = &log;
  services.settings = &settings;
  services.strings = &strings;
  services.now = [this] { return clock.Now(); };
  store = std::make_unique<store::SmsStore>(folder.string(), services);
}

Harness::~Harness() = default;

engine::EngineServices Harness::Services() {
  engine::EngineServices s;
  s.store = store.get();
  s.gateway = gateway;
  s.settings = &settings;
  s.strings = &strings;
  s.log = &log;
  s.poster = &posts;
  s.prompt = &prompts;
  s.outbox = &rebuilds;
  s.clock = &clock;
  return s;
}

int Harness::AddPending(const std::string &to, const std::string &text, int type, int flags,
                        const std::string &senderId, int delay, int time) {
  return store->AddSms(0, time, type, 0, to, text, senderId.c_str(), delay, "?", flags);
}

int Harness::AddContact(const std::string &name, const std::string &surname,
                        const std::string &mobile) {
  store::ContactRecord record;
  record.SetName(name);
  record.SetSurname(surname);
  record.SetMobile(mobile);
  int groups[1] = {1};
  record.groupIds = groups;
  record.groupCount = 1;
  int cid = store->PeekNextContactId();
  store->AddContact(record);
  return cid;
}

store::MessageRow Harness::Row(int id) const {
  std::optional<store::MessageRow> row = store->FindMessage(id);
  return row ? *row : store::MessageRow{};
}

std::vector<store::MessageRow> Harness::Children(int id) const {
  store::MessageRow parent = Row(id);
  std::vector<store::MessageRow> out;
  for (int other : store->AllMessageIds()) {
    if (other == id) continue;
    store::MessageRow row = Row(other);
    if (row.RefID == parent.RefID) out.push_back(row);
  }
  return out;
}

std::vector<store::MessageRow> CommittedRows(const std::string &dbPath) {
  std::vector<store::MessageRow> rows;
  sqlite3 *db = nullptr;
  if (sqlite3_open_v2(dbPath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return rows;
  }
  sqlite3_stmt *stmt = nullptr;
  const char *sql = "SELECT ID, Stat, ApiMsgID, QueryTime, StatQryTm, Charge, \"To\" FROM SMS "
                    "ORDER BY ID";
  if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK) {
    auto text = [&](int col) {
      const void *p = sqlite3_column_blob(stmt, col);
      int n = sqlite3_column_bytes(stmt, col);
      return p ? std::string(static_cast<const char *>(p), static_cast<std::size_t>(n))
               : std::string();
    };
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      store::MessageRow row;
      row.ID = sqlite3_column_int(stmt, 0);
      row.Stat = sqlite3_column_int(stmt, 1);
      row.ApiMsgID = text(2);
      row.QueryTime = sqlite3_column_int(stmt, 3);
      row.StatQryTm = sqlite3_column_int(stmt, 4);
      row.Charge = text(5);
      row.To = text(6);
      rows.push_back(row);
    }
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return rows;
}

} // namespace enginetest

namespace enginetest {

void SetMessageCounter(const std::filesystem::path &dbPath, int next) {
  sqlite3 *db = nullptr;
  if (sqlite3_open_v2(dbPath.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
    const std::string sql = "UPDATE NextSMSID SET ID = " + std::to_string(next);
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  }
  sqlite3_close(db);
}

std::optional<store::SendRecord> CommittedSendRecord(const std::string &dbPath, int id) {
  std::optional<store::SendRecord> record;
  sqlite3 *db = nullptr;
  if (sqlite3_open_v2(dbPath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt *stmt = nullptr;
    const char *sql = "SELECT CliMsgID, OutcomeUnknown, Note FROM SMS_SEND WHERE ID = ?";
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK) {
      sqlite3_bind_int(stmt, 1, id);
      if (sqlite3_step(stmt) == SQLITE_ROW) {
        record.emplace();
        record->ID = id;
        record->CliMsgID = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0));
        record->OutcomeUnknown = sqlite3_column_int(stmt, 1) != 0;
        record->Note = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 2));
      }
    }
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
  return record;
}

} // namespace enginetest
