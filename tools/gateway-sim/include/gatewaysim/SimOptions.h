#pragma once
// Everything a simulator instance can be configured with. The command line
// fills this structure; tests fill it directly for an in-process server.

#include <gatewaysim/FaultSpec.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace gatewaysim {

struct VoucherSpec {
  std::string token; // 16 digits
  double value = 0;  // credits added when redeemed
  bool used = false;
};

struct AccountSpec {
  std::string apiId;
  std::string clientId;
  std::string user;
  std::string password;
  std::string email;
  double balance = 0; // credits
  bool frozen = false;
  std::vector<VoucherSpec> vouchers;
};

// How a message moves through its statuses, in simulated time.
struct LifecycleConfig {
  int64_t queuedMs = 5000;                  // from acceptance (or the deferred time) to 003
  int64_t deliveredMs = 20000;              // from 003 to 004 (or 007 for a failing number)
  std::string failSuffix = "666";           // numbers ending so end with 007
  std::string routeFailPrefix = "999";      // numbers starting so end with 009
  std::string offlineSuffix = "0000";       // handset off: never received, expires (010)
  int defaultValidityMinutes = 1440;        // validity when val_period is not given
  int64_t withdrawLimitMs = 10 * 60 * 1000; // delmsg only earlier than this before delivery
};

// At most `maxMessages` accepted messages per account in any window of
// `windowMs` simulated milliseconds; 0 turns the throttle off.
struct ThrottleConfig {
  int maxMessages = 0;
  int64_t windowMs = 1000;
};

struct SimOptions {
  std::string bindAddress = "127.0.0.1";
  int port = 0;       // 0 picks a free port
  int httpsPort = -1; // -1: no HTTPS listener; 0 picks a free port
  std::string certFile;
  std::string keyFile;

  std::vector<AccountSpec> accounts; // empty: the built-in demo account

  double speed = 1.0;       // simulated seconds per real second (0 freezes time)
  int64_t startTimeMs = -1; // simulated start, ms since 1970; -1: the real time
  int64_t sessionIdleMs = 15 * 60 * 1000;
  LifecycleConfig lifecycle;
  ThrottleConfig throttle;
  double creditsPerPart = 1.0;

  std::vector<FaultSpec> faults;

  std::string logFile;      // JSON-lines request log; empty: memory only
  size_t logLimit = 100000; // entries kept in memory
  bool seeded = false;      // identifiers from `seed` instead of a random seed
  uint64_t seed = 0;
  int threads = 32;            // request threads (stalled requests hold one each)
  int keepAliveTimeoutSec = 2; // also the longest Stop() waits for an idle client

  // Real-time source in milliseconds (monotonic); tests may inject one.
  std::function<int64_t()> realClockMs;

  static AccountSpec DemoAccount();
};

} // namespace gatewaysim
