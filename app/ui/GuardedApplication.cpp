#include "GuardedApplication.h"

#include "TestTrace.h"
#include "ThreadHandOver.h"

#include <atomic>
#include <mutex>

namespace ui {

namespace {
std::mutex gLock;
std::exception_ptr gEscaped;
std::atomic<bool> gInMainLoop{false};
} // namespace

GuardedApplication::GuardedApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject *receiver, QEvent *event) {
  TakeOver(); // the event, or what a queued call carries, may come from another thread
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    Keep(std::current_exception());
  }
  return false;
}

void GuardedApplication::Keep(std::exception_ptr error) {
  {
    std::lock_guard<std::mutex> hold(gLock);
    if (gEscaped) return; // what follows the first one is its consequence
    gEscaped = std::move(error);
  }
  TestTrace::Step("exception-escaped");
  // Outside the main loop (start-up, shut-down) the entry looks for it
  // between its steps.
  if (gInMainLoop.load()) PostCall(qApp, [] { QCoreApplication::exit(0); });
}

int GuardedApplication::Exec() {
  gInMainLoop.store(true);
  int code = QApplication::exec();
  gInMainLoop.store(false);
  return code;
}

bool GuardedApplication::InMainLoop() {
  return gInMainLoop.load();
}

bool GuardedApplication::HasEscaped() {
  std::lock_guard<std::mutex> hold(gLock);
  return static_cast<bool>(gEscaped);
}

void GuardedApplication::RethrowEscaped() {
  std::exception_ptr error;
  {
    std::lock_guard<std::mutex> hold(gLock);
    error.swap(gEscaped);
  }
  if (error) std::rethrow_exception(error);
}

} // namespace ui
