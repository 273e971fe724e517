#pragma once
// The escalation pass of every periodic tick: scheduled messages whose time
// has come become Pending. A Scheduled (4) message with Delay 0 is due at its
// Time; a Delay Scheduled (6) message with a Delay of one to seven whole days
// is due that long before its Time (it is then handed to the gateway with a
// deferred delivery time).

#include "EngineServices.h"
#include "WorkerOutput.h"
#include "WorkerState.h"

namespace engine {

class Escalator {
public:
  Escalator(const EngineServices &services, WorkerState &state)
      : services_(services), out_(services, state) {}

  // Returns the number of messages made Pending.
  int Run();

private:
  const EngineServices &services_;
  WorkerOutput out_;
};

} // namespace engine
