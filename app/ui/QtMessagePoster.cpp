#include "QtMessagePoster.h"

#include "WindowMessage.h"

namespace ui {

QObject *const *QtMessagePoster::Slot(engine::WindowTarget target) const {
  switch (target) {
  case engine::WindowTarget::MainWindow:
    return &main_;
  case engine::WindowTarget::OptionsPage:
    return &options_;
  case engine::WindowTarget::ClosingDialog:
    return &closing_;
  case engine::WindowTarget::None:
    break;
  }
  return nullptr;
}

void QtMessagePoster::SetTarget(engine::WindowTarget target, QObject *window) {
  std::lock_guard<std::mutex> guard(lock_);
  if (auto slot = Slot(target)) *const_cast<QObject **>(slot) = window;
}

QObject *QtMessagePoster::Target(engine::WindowTarget target) const {
  std::lock_guard<std::mutex> guard(lock_);
  auto slot = Slot(target);
  return slot ? *slot : nullptr;
}

void QtMessagePoster::Post(engine::WindowTarget target, unsigned message, std::uintptr_t wParam,
                           std::intptr_t lParam) {
  // The lock is held while posting so that a window cannot unregister and
  // be destroyed between the lookup and the post.
  std::lock_guard<std::mutex> guard(lock_);
  auto slot = Slot(target);
  if (slot) PostWindowMessage(*slot, message, wParam, lParam);
}

} // namespace ui
