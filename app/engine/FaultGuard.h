#pragma once
// Runs a piece of code so that a processor fault inside it (SIGSEGV,
// SIGBUS, SIGFPE, SIGILL on the calling thread) does not end the process:
// the signal handler, on an alternate signal stack, records the fault
// (exception record, registers, frame-pointer walk) and jumps back; Run
// then reports the fault to its caller, which writes the crash report.
//
// Faults outside a guarded call, and faults in other threads, go to the
// handler that was installed before (the default action ends the process).
//
// The jump back skips the destructors of the guarded code's frames. What
// those frames held of the tracked locks (shell::TrackedRecursiveMutex: the
// worker's dispatch lock, the gateway's call lock, the store's locks, the
// log's lock, the settings' lock) is released before Run returns, each
// lock's abandon hook first, so no other thread waits for them for ever.

#include "CrashReport.h"

#include <functional>

namespace engine {

class FaultGuard {
public:
  // Runs `body`. Returns false when it finished normally, true when it
  // faulted; `crash` then describes the fault.
  static bool Run(const std::function<void()> &body, CrashContext &crash);
};

} // namespace engine
