#pragma once
// The worker's window messages, delivered as queued Qt events to the windows
// registered for each target. A target without a window drops the message.

#include "engine/MessagePoster.h"

#include <QObject>

#include <mutex>

namespace ui {

class QtMessagePoster final : public engine::MessagePoster {
public:
  // Registers (or with null unregisters) the window of a target. A window
  // unregisters itself before it is destroyed, so no post can reach it
  // afterwards.
  void SetTarget(engine::WindowTarget target, QObject *window);
  QObject *Target(engine::WindowTarget target) const;

  void Post(engine::WindowTarget target, unsigned message, std::uintptr_t wParam,
            std::intptr_t lParam) override;

private:
  QObject *const *Slot(engine::WindowTarget target) const;

  mutable std::mutex lock_;
  QObject *main_ = nullptr;
  QObject *options_ = nullptr;
  QObject *closing_ = nullptr;
};

} // namespace ui
