#include "AdminApi.h"

#include "MessageLifecycle.h"

#include <codepage/Codepage.h>
#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdlib>

namespace gatewaysim {

namespace {
using nlohmann::json;

AdminReply Json(const json &value, int status = 200) {
  return {status, "application/json",
          value.dump(-1, ' ', false, json::error_handler_t::replace) + "\n"};
}

AdminReply Failure(int status, const std::string &message) {
  return Json({{"error", message}}, status);
}

bool ReadInt64(const std::string &text, int64_t &out) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

bool ReadDouble(const std::string &text, double &out) {
  if (text.empty()) return false;
  char *end = nullptr;
  out = std::strtod(text.c_str(), &end);
  return *end == 0;
}

std::string Utf8(const std::string &ansi) {
  return codepage::AnsiToUtf8(ansi);
}

// Message text for people: Unicode hex decoded, everything else as sent.
std::string ReadableText(const SimMessage &m) {
  if (!m.unicode || m.text.size() % 4 != 0) return Utf8(m.text);
  std::u16string wide;
  for (size_t i = 0; i + 4 <= m.text.size(); i += 4) {
    wide.push_back(static_cast<char16_t>(std::strtoul(m.text.substr(i, 4).c_str(), nullptr, 16)));
  }
  return codepage::Utf16ToUtf8(wide);
}
} // namespace

AdminReply AdminApi::Handle(const std::string &method, const std::string &path,
                            const std::string &query, const std::string &body) {
  FormParams params = FormParams::FromText(query);
  bool jsonBody = !body.empty() && (body.front() == '{' || body.front() == '[');
  if (!jsonBody) {
    params.Parse(body);
  } else if (path != "faults") {
    // A JSON object body stands for the same parameters as a form.
    json doc = json::parse(body, nullptr, false);
    if (doc.is_object()) {
      for (const auto &[key, value] : doc.items()) {
        if (value.is_string()) {
          params.Set(key, value.get<std::string>());
        } else if (value.is_number_integer()) {
          params.Set(key, std::to_string(value.get<int64_t>()));
        } else if (value.is_number()) {
          params.Set(key, std::to_string(value.get<double>()));
        }
      }
    }
  }

  if (path == "health") return {200, "text/plain", "OK\n"};
  if (path == "messages" && method == "GET") return Messages(params);
  if (path == "counters" && method == "GET") return Json(state_.counters.ToJson());
  if (path == "counters/reset" && method == "POST") {
    state_.counters.Reset();
    return Json({{"reset", true}});
  }
  if (path == "faults" || path == "faults/clear") {
    return Faults(path == "faults/clear" ? "DELETE" : method, params, jsonBody ? body : "");
  }
  if (path == "stalls/release" && method == "POST") {
    int waiting = stalls_.Waiting();
    stalls_.ReleaseAll();
    return Json({{"released", waiting}});
  }
  if (path == "time") return Time(method, params);
  if (path == "accounts" && method == "GET") return Accounts();
  if (path == "balance") return Balance(method, params);
  if (path == "sessions" || path == "sessions/expire") return Sessions(method, path);
  if (path == "throttle") return Throttle(method, params);
  if (path == "log" && method == "GET") return Log(params);
  if (path == "log/clear" && method == "POST") {
    log_.Clear();
    return Json({{"cleared", true}});
  }
  return Failure(404, "no admin operation " + method + " " + path);
}

AdminReply AdminApi::Messages(const FormParams &params) {
  std::string accountId = params.Value("account");
  std::lock_guard lock(state_.mutex);
  int64_t now = state_.clock.NowMs();
  std::optional<AccountIndex> only;
  if (!accountId.empty()) {
    only = state_.accounts.FindById(accountId);
    if (!only) return Failure(404, "no account " + accountId);
  }
  json list = json::array();
  for (const SimMessage &m : state_.messages.All()) {
    if (only && m.account != *only) continue;
    const Account &account = state_.accounts.At(m.account);
    int status = state_.rules.StatusAt(m, now);
    list.push_back({{"id", m.id},
                    {"account", Utf8(account.apiId.empty() ? account.clientId : account.apiId)},
                    {"to", Utf8(m.to)},
                    {"from", Utf8(m.from)},
                    {"text", Utf8(m.text)},
                    {"readable_text", ReadableText(m)},
                    {"msg_type", m.msgType},
                    {"unicode", m.unicode},
                    {"udh", m.udh},
                    {"cli_msg_id", Utf8(m.cliMsgId)},
                    {"batch_id", m.batchId},
                    {"parts", m.parts},
                    {"charge", CreditAmount::ToCredits(m.withdrawn ? 0 : m.charge)},
                    {"status", status},
                    {"status_text", MessageLifecycle::StatusName(status)},
                    {"accepted_ms", m.acceptedMs},
                    {"due_ms", m.dueMs},
                    {"expires_ms", m.expiresMs}});
  }
  return Json(list);
}

AdminReply AdminApi::Faults(const std::string &method, const FormParams &params,
                            const std::string &body) {
  if (method == "GET") return Json(faults_.ToJson());
  if (method == "DELETE") {
    faults_.Clear();
    stalls_.ReleaseAll();
    return Json({{"cleared", true}});
  }
  if (method != "POST") return Failure(405, "faults: use GET, POST or DELETE");
  std::vector<FaultSpec> specs;
  std::string error;
  if (auto text = params.Get("spec")) {
    auto spec = ParseFaultSpec(*text, error);
    if (!spec) return Failure(400, error);
    specs.push_back(*spec);
  } else {
    json doc = json::parse(body, nullptr, false);
    if (doc.is_discarded()) return Failure(400, "faults: body must be JSON or ?spec= given");
    if (!doc.is_array()) doc = json::array({doc});
    for (const json &item : doc) {
      auto spec = FaultInjector::SpecFromJson(item, error);
      if (!spec) return Failure(400, error);
      specs.push_back(*spec);
    }
  }
  for (const FaultSpec &spec : specs) {
    if (!faults_.Add(spec, error)) return Failure(400, error);
  }
  return Json(faults_.ToJson());
}

AdminReply AdminApi::Time(const std::string &method, const FormParams &params) {
  if (method == "POST") {
    int64_t ms = 0;
    double value = 0;
    if (auto v = params.Get("advance_ms")) {
      if (!ReadInt64(*v, ms) || ms < 0) return Failure(400, "advance_ms: a non-negative integer");
      state_.clock.AdvanceMs(ms);
    }
    if (auto v = params.Get("advance")) {
      if (!ReadDouble(*v, value) || !(value >= 0) || value > 1e10) {
        return Failure(400, "advance: non-negative seconds");
      }
      state_.clock.AdvanceMs(static_cast<int64_t>(value * 1000));
    }
    if (auto v = params.Get("set_ms")) {
      if (!ReadInt64(*v, ms) || ms < 0) return Failure(400, "set_ms: ms since 1970");
      state_.clock.SetNowMs(ms);
    }
    if (auto v = params.Get("speed")) {
      if (!ReadDouble(*v, value) || !(value >= 0) || value > 1e9) {
        return Failure(400, "speed: a factor of 0 or more");
      }
      state_.clock.SetSpeed(value);
    }
  } else if (method != "GET") {
    return Failure(405, "time: use GET or POST");
  }
  return Json({{"now_ms", state_.clock.NowMs()}, {"speed", state_.clock.Speed()}});
}

AdminReply AdminApi::Accounts() {
  std::lock_guard lock(state_.mutex);
  json list = json::array();
  for (size_t i = 0; i < state_.accounts.Size(); ++i) {
    const Account &a = state_.accounts.At(i);
    list.push_back({{"api_id", Utf8(a.apiId)},
                    {"client_id", Utf8(a.clientId)},
                    {"user", Utf8(a.user)},
                    {"email", Utf8(a.email)},
                    {"balance", CreditAmount::ToCredits(a.balance)},
                    {"frozen", a.frozen}});
  }
  return Json(list);
}

AdminReply AdminApi::Balance(const std::string &method, const FormParams &params) {
  std::string id = params.Value("account");
  std::lock_guard lock(state_.mutex);
  auto index = id.empty() && state_.accounts.Size() == 1 ? std::optional<AccountIndex>(0)
                                                         : state_.accounts.FindById(id);
  if (!index) return Failure(404, "no account \"" + id + "\"");
  Account &account = state_.accounts.At(*index);
  if (method == "POST") {
    if (auto v = params.Get("credits")) {
      auto amount = CreditAmount::Parse(*v);
      if (!amount) return Failure(400, "credits: a number");
      account.balance = *amount;
    } else if (auto add = params.Get("add")) {
      auto amount = CreditAmount::Parse(*add);
      if (!amount) return Failure(400, "add: a number");
      account.balance += *amount;
    } else {
      return Failure(400, "balance: give credits= or add=");
    }
  } else if (method != "GET") {
    return Failure(405, "balance: use GET or POST");
  }
  return Json({{"account", Utf8(id)}, {"balance", CreditAmount::ToCredits(account.balance)}});
}

AdminReply AdminApi::Sessions(const std::string &method, const std::string &path) {
  std::lock_guard lock(state_.mutex);
  state_.sessions.Sweep(state_.clock.NowMs());
  if (path == "sessions/expire") {
    if (method != "POST") return Failure(405, "sessions/expire: use POST");
    size_t n = state_.sessions.Size();
    state_.sessions.Clear();
    return Json({{"expired", n}});
  }
  return Json({{"open", state_.sessions.Size()}, {"idle_ms", state_.sessions.IdleMs()}});
}

AdminReply AdminApi::Throttle(const std::string &method, const FormParams &params) {
  std::lock_guard lock(state_.mutex);
  if (method == "POST") {
    ThrottleConfig config = state_.throttle.Config();
    int64_t value = 0;
    if (auto v = params.Get("max")) {
      if (!ReadInt64(*v, value) || value < 0 || value > 1000000000) {
        return Failure(400, "max: a count");
      }
      config.maxMessages = static_cast<int>(value);
    }
    if (auto v = params.Get("window_ms")) {
      if (!ReadInt64(*v, value) || value <= 0) return Failure(400, "window_ms: positive");
      config.windowMs = value;
    }
    state_.throttle.Configure(config);
  }
  return Json({{"max", state_.throttle.Config().maxMessages},
               {"window_ms", state_.throttle.Config().windowMs}});
}

AdminReply AdminApi::Log(const FormParams &params) {
  int64_t since = 0;
  if (auto v = params.Get("since"); v && (!ReadInt64(*v, since) || since < 0)) {
    return Failure(400, "since: a sequence number");
  }
  return {200, "application/x-ndjson", log_.JsonLines(static_cast<uint64_t>(since))};
}

} // namespace gatewaysim
