#pragma once
// What the worker's passes report, and how: window messages (progress ones
// suppressed once exit is requested), the outbox view's rebuild, and log
// entries (only with the `WriteLog` setting).

#include "EngineServices.h"
#include "WorkerState.h"

#include <string_view>

namespace engine {

class WorkerOutput {
public:
  WorkerOutput(const EngineServices &services, WorkerState &state)
      : services_(services), state_(state) {}

  bool ExitRequested() const { return state_.exitRequested.load(); }

  // Posts to the main window unless exit has been requested.
  void PostProgress(unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
  // Posts whatever the exit request says.
  void Post(WindowTarget target, unsigned message, std::uintptr_t wParam = 0,
            std::intptr_t lParam = 0);
  void Rebuild(bool resortOnly);

  bool LogEnabled() const;
  // Writes the entry when `WriteLog` is on.
  void Log(std::string_view entry);

private:
  const EngineServices &services_;
  WorkerState &state_;
};

} // namespace engine
