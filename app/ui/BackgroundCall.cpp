#include "BackgroundCall.h"

#include "ThreadHandOver.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace ui {

namespace {

bool IsInput(QEvent::Type type) {
  switch (type) {
  case QEvent::MouseButtonPress:
  case QEvent::MouseButtonRelease:
  case QEvent::MouseButtonDblClick:
  case QEvent::KeyPress:
  case QEvent::KeyRelease:
  case QEvent::ShortcutOverride:
  case QEvent::Shortcut:
  case QEvent::Wheel:
  case QEvent::ContextMenu:
  case QEvent::TouchBegin:
  case QEvent::TouchUpdate:
  case QEvent::TouchEnd:
  case QEvent::DragEnter:
  case QEvent::DragMove:
  case QEvent::Drop:
  case QEvent::Close:
    return true;
  default:
    return false;
  }
}

// Holds input back while calls wait. Each wait remembers the modal window
// that was active when it began: input to a modal window opened later (a box
// the call asks for) still goes through.
class InputBlocker final : public QObject {
public:
  void Push() {
    if (waits_.empty()) qApp->installEventFilter(this);
    waits_.emplace_back(QApplication::activeModalWidget());
  }
  void Pop() {
    waits_.pop_back();
    if (waits_.empty()) qApp->removeEventFilter(this);
  }
  int Depth() const { return static_cast<int>(waits_.size()); }

protected:
  bool eventFilter(QObject *target, QEvent *event) override {
    TakeOver(); // application filters see a posted event before notify() does
    if (waits_.empty() || !IsInput(event->type())) return false;
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != waits_.back().data()) {
      auto *widget = qobject_cast<QWidget *>(target);
      if (widget && (widget == modal || modal->isAncestorOf(widget))) return false;
      if (target->isWindowType()) return false; // the box's own window handle
    }
    return true;
  }

private:
  std::vector<QPointer<QWidget>> waits_;
};

InputBlocker &Blocker() {
  static InputBlocker *blocker = new InputBlocker; // lives as long as the process
  return *blocker;
}

// What the calling thread and the call's thread share.
struct CallState {
  std::mutex lock;
  std::condition_variable finished;
  bool done = false;
  std::exception_ptr error;
};

} // namespace

int BackgroundCall::Depth() {
  return Blocker().Depth();
}

void BackgroundCall::Run(const std::function<void()> &work) {
  auto state = std::make_shared<CallState>();
  // Lives until the thread has been joined; a finish still queued then goes
  // with it.
  QEventLoop loop;

  Blocker().Push();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  std::thread thread([state, &work, &loop] {
    std::exception_ptr error;
    try {
      work();
    } catch (...) {
      error = std::current_exception();
    }
    {
      std::lock_guard<std::mutex> hold(state->lock);
      state->done = true;
      state->error = error;
    }
    state->finished.notify_all();
    // By name: the queued call carries no data of this thread.
    QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
  });

  auto isDone = [&] {
    std::lock_guard<std::mutex> hold(state->lock);
    return state->done;
  };
  if (!isDone()) loop.exec();
  // The loop also ends when the application is told to quit; the call is
  // still waited for, with events processed in short steps.
  while (!isDone()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::unique_lock<std::mutex> hold(state->lock);
    state->finished.wait_for(hold, std::chrono::milliseconds(20), [&] { return state->done; });
  }
  thread.join();
  QApplication::restoreOverrideCursor();
  Blocker().Pop();
  if (state->error) std::rethrow_exception(state->error);
}

} // namespace ui
