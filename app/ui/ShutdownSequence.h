#pragma once
// The first step of shut-down while the communications worker still runs:
// the "Shutting down ..." window over its four steps. The worker is asked to
// finish (with the window as the target of its quit message) and waited for
// in a nested event loop; then it is stopped, the store committed, and the
// window closes. The worker is waited for 10 s at most in all.

#include <chrono>
#include <functional>

namespace engine {
class CommsWorker;
}

namespace ui {

class QtMessagePoster;

// The pauses between the steps of the shut-down window, so the user can
// read them (tests set them to 0).
struct ShutdownPacing {
  int pumpMs = 20;
  int afterStopMs = 500;
  int afterCommitMs = 1000;
  int afterCompletedMs = 1000;
};

class ShutdownSequence {
public:
  using Pacing = ShutdownPacing;
  static constexpr std::chrono::milliseconds kWorkerLimit{10000};
  static Pacing NoPauses() { return {0, 0, 0, 0}; }

  // `limit`: how long the worker is waited for in all (the worker's own
  // stop limit unless a test shortens it).
  ShutdownSequence(engine::CommsWorker &worker, QtMessagePoster &poster,
                   std::function<void()> commit, Pacing pacing = Pacing(),
                   std::chrono::milliseconds limit = kWorkerLimit);

  // Runs the sequence; returns once the window has closed.
  void Run();

  // Whether the worker's quit message reached the window.
  bool QuitReceived() const { return quitReceived_; }
  // Whether the worker's thread ended; when not, it is stuck (inside a
  // gateway call) and must be left alone with everything it uses.
  bool WorkerEnded() const { return workerEnded_; }
  // The steps shown, in order (0 to 3).
  int StepsShown() const { return stepsShown_; }

  // Lets events run for `ms` milliseconds (user input is held back).
  static void Pause(int ms);

private:
  engine::CommsWorker &worker_;
  QtMessagePoster &poster_;
  std::function<void()> commit_;
  Pacing pacing_;
  std::chrono::milliseconds limit_;
  bool quitReceived_ = false;
  bool workerEnded_ = false;
  int stepsShown_ = 0;
};

} // namespace ui
