#include "CommandLine.h"

#include "AccountFile.h"

#include <codepage/Codepage.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <map>

namespace gatewaysim {

namespace {
bool ReadInt(const std::string &text, long long low, long long high, long long &out) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size() && out >= low &&
         out <= high;
}

bool ReadDouble(const std::string &text, double low, double high, double &out) {
  if (text.empty()) return false;
  char *end = nullptr;
  out = std::strtod(text.c_str(), &end);
  return *end == 0 && std::isfinite(out) && out >= low && out <= high;
}

bool DigitsOnly(const std::string &text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// "1700000000000" (ms since 1970) or "2024-05-01T12:00:00Z".
bool ReadTime(const std::string &text, int64_t &ms) {
  long long value = 0;
  if (ReadInt(text, 0, 253402300799999LL, value)) {
    ms = value;
    return true;
  }
  std::tm tm{};
  int year, month, day, hour, minute, second;
  char z = 0;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c", &year, &month, &day, &hour, &minute,
                  &second, &z) < 6 ||
      (z != 0 && z != 'Z')) {
    return false;
  }
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  time_t seconds = timegm(&tm);
  if (seconds < 0) return false;
  ms = static_cast<int64_t>(seconds) * 1000;
  return true;
}

// "N/s", "N/second", "N/min", "N/minute" (also "N/sec", "N/m").
bool ReadThrottle(const std::string &text, ThrottleConfig &out) {
  size_t slash = text.find('/');
  long long count = 0;
  if (slash == std::string::npos || !ReadInt(text.substr(0, slash), 0, 1000000000, count)) {
    return false;
  }
  std::string unit = text.substr(slash + 1);
  if (unit == "s" || unit == "sec" || unit == "second") {
    out.windowMs = 1000;
  } else if (unit == "m" || unit == "min" || unit == "minute") {
    out.windowMs = 60000;
  } else {
    return false;
  }
  out.maxMessages = static_cast<int>(count);
  return true;
}
} // namespace

CommandLine CommandLine::Parse(const std::vector<std::string> &args) {
  CommandLine cl;
  SimOptions &o = cl.options;
  AccountSpec flagged = SimOptions::DemoAccount();
  bool accountFlags = false;
  bool voucherFlags = false;
  std::vector<AccountSpec> fileAccounts;

  auto seconds = [](double s) { return static_cast<int64_t>(std::llround(s * 1000)); };
  using Setter = std::function<bool(const std::string &)>;
  auto accountText = [&](std::string AccountSpec::*field) -> Setter {
    return [&, field](const std::string &v) {
      flagged.*field = codepage::Utf8ToAnsi(v);
      accountFlags = true;
      return true;
    };
  };
  std::map<std::string, Setter> valued = {
      {"--port",
       [&](const std::string &v) {
         long long n;
         if (!ReadInt(v, 0, 65535, n)) return false;
         o.port = static_cast<int>(n);
         return true;
       }},
      {"--bind",
       [&](const std::string &v) {
         o.bindAddress = v;
         return !v.empty();
       }},
      {"--https-port",
       [&](const std::string &v) {
         long long n;
         if (!ReadInt(v, 0, 65535, n)) return false;
         o.httpsPort = static_cast<int>(n);
         return true;
       }},
      {"--cert",
       [&](const std::string &v) {
         o.certFile = v;
         return true;
       }},
      {"--key",
       [&](const std::string &v) {
         o.keyFile = v;
         return true;
       }},
      {"--accounts",
       [&](const std::string &v) {
         auto specs = AccountFile::Load(v, cl.error);
         if (!specs) return false;
         fileAccounts = std::move(*specs);
         return true;
       }},
      {"--api-id", accountText(&AccountSpec::apiId)},
      {"--client-id", accountText(&AccountSpec::clientId)},
      {"--user", accountText(&AccountSpec::user)},
      {"--password", accountText(&AccountSpec::password)},
      {"--email", accountText(&AccountSpec::email)},
      {"--balance",
       [&](const std::string &v) {
         accountFlags = true;
         return ReadDouble(v, -1e12, 1e12, flagged.balance);
       }},
      {"--voucher",
       [&](const std::string &v) {
         size_t eq = v.find('=');
         VoucherSpec voucher;
         voucher.token = v.substr(0, eq);
         if (eq == std::string::npos || voucher.token.size() != 16 || !DigitsOnly(voucher.token) ||
             !ReadDouble(v.substr(eq + 1), 0, 1e12, voucher.value)) {
           return false;
         }
         if (!voucherFlags) flagged.vouchers.clear();
         voucherFlags = accountFlags = true;
         flagged.vouchers.push_back(voucher);
         return true;
       }},
      {"--speed", [&](const std::string &v) { return ReadDouble(v, 0, 1e9, o.speed); }},
      {"--start-time", [&](const std::string &v) { return ReadTime(v, o.startTimeMs); }},
      {"--session-idle",
       [&](const std::string &v) {
         double s;
         if (!ReadDouble(v, 0.001, 1e9, s)) return false;
         o.sessionIdleMs = seconds(s);
         return true;
       }},
      {"--queued-delay",
       [&](const std::string &v) {
         double s;
         if (!ReadDouble(v, 0, 1e9, s)) return false;
         o.lifecycle.queuedMs = seconds(s);
         return true;
       }},
      {"--delivered-delay",
       [&](const std::string &v) {
         double s;
         if (!ReadDouble(v, 0, 1e9, s)) return false;
         o.lifecycle.deliveredMs = seconds(s);
         return true;
       }},
      {"--fail-suffix",
       [&](const std::string &v) {
         o.lifecycle.failSuffix = v;
         return DigitsOnly(v);
       }},
      {"--route-fail-prefix",
       [&](const std::string &v) {
         o.lifecycle.routeFailPrefix = v;
         return DigitsOnly(v);
       }},
      {"--offline-suffix",
       [&](const std::string &v) {
         o.lifecycle.offlineSuffix = v;
         return DigitsOnly(v);
       }},
      {"--validity",
       [&](const std::string &v) {
         long long n;
         if (!ReadInt(v, 1, 100000000, n)) return false;
         o.lifecycle.defaultValidityMinutes = static_cast<int>(n);
         return true;
       }},
      {"--withdraw-limit",
       [&](const std::string &v) {
         double s;
         if (!ReadDouble(v, 0, 1e9, s)) return false;
         o.lifecycle.withdrawLimitMs = seconds(s);
         return true;
       }},
      {"--credits-per-part",
       [&](const std::string &v) { return ReadDouble(v, 0, 1e6, o.creditsPerPart); }},
      {"--throttle", [&](const std::string &v) { return ReadThrottle(v, o.throttle); }},
      {"--fault",
       [&](const std::string &v) {
         auto spec = ParseFaultSpec(codepage::Utf8ToAnsi(v), cl.error);
         if (!spec) return false;
         o.faults.push_back(*spec);
         return true;
       }},
      {"--log",
       [&](const std::string &v) {
         o.logFile = v;
         return !v.empty();
       }},
      {"--log-limit",
       [&](const std::string &v) {
         long long n;
         if (!ReadInt(v, 0, 100000000, n)) return false;
         o.logLimit = static_cast<size_t>(n);
         return true;
       }},
      {"--seed",
       [&](const std::string &v) {
         auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), o.seed);
         o.seeded = true;
         return !v.empty() && ec == std::errc() && end == v.data() + v.size();
       }},
      {"--threads",
       [&](const std::string &v) {
         long long n;
         if (!ReadInt(v, 1, 1024, n)) return false;
         o.threads = static_cast<int>(n);
         return true;
       }},
      {"--keep-alive",
       [&](const std::string &v) {
         long long n;
         if (!ReadInt(v, 1, 3600, n)) return false;
         o.keepAliveTimeoutSec = static_cast<int>(n);
         return true;
       }},
  };

  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    std::string value;
    bool inlineValue = false;
    if (arg.rfind("--", 0) == 0) {
      size_t eq = arg.find('=');
      if (eq != std::string::npos) {
        value = arg.substr(eq + 1);
        arg = arg.substr(0, eq);
        inlineValue = true;
      }
    }
    if (arg == "--help" || arg == "-h") {
      cl.help = true;
      continue;
    }
    if (arg == "--version") {
      cl.version = true;
      continue;
    }
    if (arg == "--frozen") {
      flagged.frozen = accountFlags = true;
      continue;
    }
    auto it = valued.find(arg);
    if (it == valued.end()) {
      cl.error = "unknown option " + args[i] + " (see --help)";
      return cl;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size()) {
        cl.error = arg + " needs a value";
        return cl;
      }
      value = args[++i];
    }
    std::string before = cl.error;
    if (!it->second(value)) {
      if (cl.error == before) cl.error = "bad value for " + arg + ": " + value;
      return cl;
    }
  }

  o.accounts = std::move(fileAccounts);
  if (accountFlags) o.accounts.push_back(flagged);
  if (o.httpsPort >= 0 && (o.certFile.empty() || o.keyFile.empty())) {
    cl.error = "--https-port needs --cert and --key";
  }
  return cl;
}

std::string CommandLine::HelpText() {
  AccountSpec demo = SimOptions::DemoAccount();
  SimOptions d;
  std::string vouchers;
  for (const VoucherSpec &v : demo.vouchers) {
    vouchers += "      voucher " + v.token + " worth " + std::to_string(static_cast<int>(v.value)) +
                " credits\n";
  }
  return std::string(
             "Usage: gateway-sim [options]\n"
             "\n"
             "A local simulator of the operator's HTTP SMS gateway. It answers the gateway's\n"
             "paths (http/auth, http/cli_auth, http/sendmsg, http/querymsg, http/delmsg,\n"
             "http/getmsgcharge, http/getbalance, http/ping, http/token_pay, http/sendota,\n"
             "http_batch/startbatch, senditem, quicksend, endbatch, utils/change_passwd,\n"
             "utils/recover_passwd, utils/routeCoverage.php, utils/version, utils/nettest) by\n"
             "GET with a query or POST with a form body, and prints\n"
             "\"gateway-sim listening on http://HOST:PORT/\" as its first line.\n"
             "\n"
             "Listening:\n"
             "  --port N              HTTP port (0 = any free port; default 0)\n"
             "  --bind ADDR           listen address (default 127.0.0.1)\n"
             "  --https-port N        also serve HTTPS on port N (0 = any free port)\n"
             "  --cert FILE           PEM certificate for HTTPS\n"
             "  --key FILE            PEM private key for HTTPS\n"
             "  --threads N           request threads (default 32)\n"
             "  --keep-alive S        idle keep-alive time in seconds (default 2)\n"
             "\n"
             "Accounts (without --accounts or account flags the demo account is used):\n"
             "  --accounts FILE       JSON: {\"accounts\": [{\"api_id\", \"client_id\", \"user\",\n"
             "                        \"password\", \"email\", \"balance\", \"frozen\",\n"
             "                        \"vouchers\": [{\"token\", \"value\", \"used\"}]}]}\n"
             "  --api-id ID, --client-id ID, --user NAME, --password PW, --email ADDR,\n"
             "  --balance CREDITS, --frozen, --voucher TOKEN=CREDITS (repeatable)\n"
             "                        one more account; unset fields take the demo's values\n"
             "  Demo account: api_id ") +
         demo.apiId + ", client_id " + demo.clientId + ", user " + demo.user + ", password " +
         demo.password + ",\n      e-mail " + demo.email + ", " +
         std::to_string(static_cast<int>(demo.balance)) + " credits\n" + vouchers +
         "\n"
         "Simulated time and messages:\n"
         "  --speed F             simulated seconds per real second (default 1; 0 freezes)\n"
         "  --start-time T        simulated start, ms since 1970 or YYYY-MM-DDTHH:MM:SSZ\n"
         "  --session-idle S      sessions expire after S idle seconds (default 900)\n"
         "  --queued-delay S      queued (002) to delivered to gateway (003) (default 5)\n"
         "  --delivered-delay S   003 to received (004) (default 20)\n"
         "  --fail-suffix D       numbers ending in D end with 007 delivery error (default " +
         d.lifecycle.failSuffix +
         ")\n"
         "  --route-fail-prefix D numbers starting with D end with 009 routing error (default " +
         d.lifecycle.routeFailPrefix +
         ")\n"
         "  --offline-suffix D    numbers ending in D are never received and expire, 010\n"
         "                        (default " +
         d.lifecycle.offlineSuffix +
         ")\n"
         "  --validity MINUTES    validity when val_period is not sent (default 1440)\n"
         "  --withdraw-limit S    http/delmsg works only while delivery is more than S seconds\n"
         "                        away (default 600); otherwise \"ERR: 116, ...\"\n"
         "  --credits-per-part N  charge per message part (default 1)\n"
         "  --throttle N/s|N/min  at most N messages per simulated second or minute per account\n"
         "  --seed N              reproducible session, message and batch identifiers\n"
         "  Charges: text 160 characters in one part, 153 per part (GSM escapes count twice);\n"
         "  Unicode (unicode=1, hex of UTF-16) 70, 67 per part; binary types 140 bytes a part.\n"
         "  Batch templates take #field1# ... #field9#.\n"
         "\n"
         "Faults (repeatable; also at run time under /_admin/faults):\n"
         "  --fault PATTERN=KIND[,p=PROB][,seed=N][,ms=MS][,times=N][,skip=N][,after=1]"
         "[,regex=1][,reply=TEXT]\n"
         "                        PATTERN: glob over the path (e.g. http/*, http_batch/quicksend)\n"
         "                        or a regular expression with regex=1; KIND: latency (ms added),\n"
         "                        stall (no answer for ms, default 600000, then the connection is\n"
         "                        cut), drop (connection cut), http500, garbage (an HTML page),\n"
         "                        error (the reply TEXT, default \"ERR: 901, Service temporarily\n"
         "                        unavailable\"); after=1 lets the request take effect first;\n"
         "                        skip=N lets the first N matching requests pass untouched.\n"
         "\n"
         "Observation:\n"
         "  --log FILE            append every request as a JSON line\n"
         "  --log-limit N         requests kept in memory for /_admin/log (default 100000)\n"
         "  Admin interface under /_admin/: messages, counters, counters/reset, faults,\n"
         "  faults/clear, stalls/release, time (?advance=S, ?advance_ms=, ?set_ms=, ?speed=),\n"
         "  accounts, balance (?account=ID[&credits=N|&add=N]), sessions, sessions/expire,\n"
         "  throttle (?max=N&window_ms=M), log (?since=SEQ), log/clear, health.\n"
         "\n"
         "  --help                this text\n"
         "  --version             the simulator's version\n"
         "SIGINT and SIGTERM stop the simulator cleanly.\n";
}

} // namespace gatewaysim
