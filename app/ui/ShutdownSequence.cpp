#include "ShutdownSequence.h"

#include "QtMessagePoster.h"
#include "ShutdownDialog.h"
#include "TestTrace.h"

#include "engine/CommsWorker.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace ui {

ShutdownSequence::ShutdownSequence(engine::CommsWorker &worker, QtMessagePoster &poster,
                                   std::function<void()> commit, Pacing pacing,
                                   std::chrono::milliseconds limit)
    : worker_(worker), poster_(poster), commit_(std::move(commit)), pacing_(pacing), limit_(limit) {
}

void ShutdownSequence::Pause(int ms) {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  if (ms <= 0) return;
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void ShutdownSequence::Run() {
  ShutdownDialog dialog;
  dialog.show();
  dialog.SetStep(0);
  stepsShown_ = 1;
  TestTrace::Step("shutdown-window");
  poster_.SetTarget(engine::WindowTarget::ClosingDialog, &dialog);

  // Wait for the worker's quit message. Should the thread end without
  // posting it, the wait ends too; and the whole wait for the worker, this
  // one and the stop below, lasts no longer than the stop's limit, so the
  // program ends even when the worker is stuck inside a gateway call.
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + limit_;
  QEventLoop loop;
  QObject::connect(&dialog, &ShutdownDialog::WorkerQuit, &loop, &QEventLoop::quit);
  QTimer watch;
  watch.setInterval(100);
  QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
    if (!worker_.IsRunning() || Clock::now() >= deadline) loop.quit();
  });
  watch.start();
  worker_.RequestExit(engine::WindowTarget::ClosingDialog);
  if (!dialog.QuitReceived()) loop.exec();
  watch.stop();
  QCoreApplication::processEvents(); // a quit posted just before the thread ended
  quitReceived_ = dialog.QuitReceived();
  TestTrace::Step(quitReceived_         ? "worker-quit"
                  : worker_.IsRunning() ? "worker-wait-over"
                                        : "worker-ended");

  dialog.SetStep(1);
  stepsShown_ = 2;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  workerEnded_ = worker_.StopAndWait(std::max(left, std::chrono::milliseconds(0)));
  if (!workerEnded_) {
    // Nothing is left to wait for: the rest goes without pauses.
    TestTrace::Step("worker-left-running");
    pacing_ = NoPauses();
  }
  Pause(pacing_.pumpMs);
  Pause(pacing_.afterStopMs);

  dialog.SetStep(2);
  stepsShown_ = 3;
  Pause(0);
  if (commit_) commit_();
  TestTrace::Step("store-committed");
  Pause(pacing_.afterCommitMs);

  dialog.SetStep(3);
  stepsShown_ = 4;
  Pause(0);
  Pause(pacing_.afterCompletedMs);

  poster_.SetTarget(engine::WindowTarget::ClosingDialog, nullptr);
  dialog.hide();
}

} // namespace ui
