#include "WindowMessage.h"

#include "ThreadHandOver.h"

#include "engine/WindowMessages.h"

#include <QCoreApplication>

namespace ui {

QEvent::Type MessageEventType(unsigned message) {
  if (message == engine::WM_QUIT) return static_cast<QEvent::Type>(QEvent::User + 0x12);
  return static_cast<QEvent::Type>(message);
}

WindowMessageEvent::WindowMessageEvent(unsigned message, std::uintptr_t wParam,
                                       std::intptr_t lParam)
    : QEvent(MessageEventType(message)), message_(message), wParam_(wParam), lParam_(lParam) {
  HandOver(); // the message may be posted to another thread
}

WindowMessageEvent::~WindowMessageEvent() {
  TakeOver(); // also deleted undelivered, when its target is gone
}

const WindowMessageEvent *WindowMessageEvent::From(const QEvent *event) {
  return dynamic_cast<const WindowMessageEvent *>(event);
}

void PostWindowMessage(QObject *target, unsigned message, std::uintptr_t wParam,
                       std::intptr_t lParam) {
  if (!target) return;
  QCoreApplication::postEvent(target, new WindowMessageEvent(message, wParam, lParam));
}

} // namespace ui
