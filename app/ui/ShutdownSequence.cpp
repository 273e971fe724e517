#include "ShutdownSequence.h"

#include "QtMessagePoster.h"
#include "ShutdownDialog.h"
#include "TestTrace.h"

#include "engine/CommsWorker.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace ui {

ShutdownSequence::ShutdownSequence(engine::CommsWorker &worker, QtMessagePoster &poster,
                                   std::function<void()> commit, Pacing pacing)
    : worker_(worker), poster_(poster), commit_(std::move(commit)), pacing_(pacing) {}

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
  // posting it, the wait ends too, so the program cannot hang here.
  QEventLoop loop;
  QObject::connect(&dialog, &ShutdownDialog::WorkerQuit, &loop, &QEventLoop::quit);
  QTimer watch;
  watch.setInterval(100);
  QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
    if (!worker_.IsRunning()) loop.quit();
  });
  watch.start();
  worker_.RequestExit(engine::WindowTarget::ClosingDialog);
  if (!dialog.QuitReceived()) loop.exec();
  watch.stop();
  QCoreApplication::processEvents(); // a quit posted just before the thread ended
  quitReceived_ = dialog.QuitReceived();
  TestTrace::Step(quitReceived_ ? "worker-quit" : "worker-ended");

  dialog.SetStep(1);
  stepsShown_ = 2;
  worker_.StopAndWait();
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
