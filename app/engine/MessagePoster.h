#pragma once
// How the communications worker reports to the windows: it posts a window
// message to a target and never waits for it to be handled. The user
// interface implements this with queued events (safe from any thread);
// tests implement it with a recorder.

#include <cstdint>

namespace engine {

// The windows the worker addresses. `ClosingDialog` is the window that the
// shut-down sequence hands to RequestExit; `None` stands for no window.
enum class WindowTarget { None, MainWindow, OptionsPage, ClosingDialog };

class MessagePoster {
public:
  virtual ~MessagePoster() = default;
  // Queues the message for the target's thread and returns at once. The
  // order of the posts is the order in which the target receives them.
  virtual void Post(WindowTarget target, unsigned message, std::uintptr_t wParam,
                    std::intptr_t lParam) = 0;
};

} // namespace engine
