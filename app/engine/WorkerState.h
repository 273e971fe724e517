#pragma once
// State the communications worker shares with its passes (dispatch, status
// polling, deletion, escalation): the exit request, the progress counter and
// the dispatch lock.

#include "shell/TrackedRecursiveMutex.h"

#include <atomic>

namespace engine {

struct WorkerState {
  // Set by RequestExit on the user-interface thread; the passes stop between
  // messages and post no more progress once it is set.
  std::atomic<bool> exitRequested{false};
  // Messages of the current pass still to be handled (progress reports).
  std::atomic<int> toGo{0};
  // Held for the whole of one dispatch, status or deletion pass; taken
  // before the store's message-table lock, never after it.
  shell::TrackedRecursiveMutex dispatchLock;
};

} // namespace engine
