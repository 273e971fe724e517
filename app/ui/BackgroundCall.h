#pragma once
// BackgroundCall: runs work that may wait on the network (a gateway call, or
// the gateway's call lock while the worker is inside a request) on a thread
// of its own, and waits for it with the event loop running, so the window
// keeps painting, timers keep firing and posted window messages keep coming.
//
// For the user the call is modal: while it runs, keyboard and mouse input to
// every window is held back (except to message boxes that open during the
// wait, such as a question the call itself asks through the user prompt) and
// the wait cursor shows. Calls may nest.
//
// `work` must not touch widgets; it gets and returns plain values. An
// exception thrown by `work` is thrown again on the calling thread.

#include <exception>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

namespace ui {

class BackgroundCall {
public:
  // Runs `work` and returns when it has returned.
  static void Run(const std::function<void()> &work);

  // Runs `work` and returns its result.
  template <class F> static auto Result(F &&work) -> std::invoke_result_t<F &> {
    using R = std::invoke_result_t<F &>;
    if constexpr (std::is_void_v<R>) {
      Run(std::function<void()>(std::forward<F>(work)));
    } else {
      std::optional<R> result;
      Run([&] { result.emplace(work()); });
      return std::move(*result);
    }
  }

  // Calls waiting right now on the user-interface thread.
  static int Depth();
};

} // namespace ui
