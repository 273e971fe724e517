#pragma once
// Qt hands posted events and queued calls from one thread to another under
// its own locks. Qt is not built with the thread sanitizer, so the sanitizer
// cannot see that hand-over and takes what crosses it for a data race. These
// calls show it: what a thread wrote before HandOver() counts as written
// before whatever the user-interface thread does after its next TakeOver().
// They do nothing in other builds.
//
// Window messages hand themselves over when they are made; the application
// object takes over before it delivers any event; PostCall hands a queued
// call over.

#include <QMetaObject>
#include <QObject>

#include <utility>

namespace ui {

void HandOver();
void TakeOver();

// A call object whose last construction step is the hand-over (Qt moves it
// into the queued call) and whose first step in use is the take-over.
template <class F> class HandedOverCall {
public:
  explicit HandedOverCall(F call) : call_(std::move(call)) {}
  HandedOverCall(HandedOverCall &&other) : call_(std::move(other.call_)) { HandOver(); }
  HandedOverCall(const HandedOverCall &other) : call_(other.call_) { HandOver(); }
  HandedOverCall &operator=(const HandedOverCall &) = delete;
  ~HandedOverCall() { TakeOver(); }
  void operator()() {
    TakeOver();
    call_();
  }

private:
  F call_;
};

// Runs `call` on the thread of `context`, unless `context` is gone by then.
// Safe from any thread.
template <class F> void PostCall(QObject *context, F call) {
  QMetaObject::invokeMethod(context, HandedOverCall<F>(std::move(call)), Qt::QueuedConnection);
}

} // namespace ui
