#pragma once
// Asks the gateway about every send whose outcome is unknown (its answer
// never arrived: the process ended, a fault abandoned the pass, the
// connection broke), by the client message id it was sent with:
//   - known to the gateway: the message gets its gateway id and is polled
//     at once, so the status pass carries it to its final status and charge;
//   - "ERR: 104" (unknown client message id): it stays Failed, noted as
//     "never reached the gateway", so the user knows a resend is safe;
//   - no answer: it stays marked and is asked again on a later pass (the
//     pass stops asking at the first such answer).
// Nothing is ever sent again on its own. Each outcome writes a log line.
// Runs on the communications worker under the dispatch lock.

#include "EngineServices.h"
#include "WorkerOutput.h"


namespace engine {

class SendReconciler {
public:
  SendReconciler(const EngineServices &services, WorkerOutput &out)
      : services_(services), out_(out) {}

  // Returns the number of messages settled.
  int Run();

private:
  const EngineServices &services_;
  WorkerOutput &out_;
};

} // namespace engine
