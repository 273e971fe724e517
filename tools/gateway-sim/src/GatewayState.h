#pragma once
// Everything the simulated gateway remembers, guarded by one mutex that a
// request holds for its whole handling.

#include "AccountBook.h"
#include "BatchBook.h"
#include "Counters.h"
#include "IdGenerator.h"
#include "MessageBook.h"
#include "MessageLifecycle.h"
#include "SessionTable.h"
#include "SimClock.h"
#include "ThrottleWindow.h"

#include <gatewaysim/SimOptions.h>

#include <mutex>
#include <string>

namespace gatewaysim {

struct GatewayState {
  GatewayState(const SimOptions &options, SimClock &clock, Counters &counters);
  // Loads the accounts of the options (the demo account when there are
  // none). False with a message when they are unusable.
  bool LoadAccounts(const SimOptions &options, std::string &error);

  std::mutex mutex;
  SimClock &clock;
  Counters &counters;
  LifecycleConfig lifecycle;
  Millicredits creditsPerPart;
  AccountBook accounts;
  SessionTable sessions;
  MessageBook messages;
  BatchBook batches;
  ThrottleWindow throttle;
  IdGenerator ids;
  MessageLifecycle rules{lifecycle};
};

} // namespace gatewaysim
