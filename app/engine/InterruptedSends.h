#pragma once
// Turns what an interrupted dispatch pass left behind (the process ended,
// or a fault abandoned the pass) into outcomes the user can act on, without
// sending anything:
//   - a message that was being expanded (several destinations) becomes
//     Expanded: the destinations of the request in flight get Failed
//     children marked "outcome unknown after interruption" (those sent one
//     by one keep their client message id and are asked about later), the
//     destinations not yet sent get Pending children;
//   - a message left Processing becomes Failed; its send record keeps the
//     client message id and the "outcome unknown" mark.
// Runs on the communications worker under the dispatch lock.

#include "EngineServices.h"
#include "WorkerOutput.h"

namespace engine {

class InterruptedSends {
public:
  InterruptedSends(const EngineServices &services, WorkerOutput &out)
      : services_(services), out_(out) {}

  // Returns the number of messages repaired (and commits when there were).
  int Run();

private:
  void RecoverExpansion(store::SendRecord record);

  const EngineServices &services_;
  WorkerOutput &out_;
};

} // namespace engine
