#pragma once
// Window messages as Qt events. The fixed message numbers (UM_SELECT_TAB
// 0x8001 ... UM_TRAY_NOTIFY 0x81A7) lie between QEvent::User and
// QEvent::MaxUser and are used as event types unchanged; the worker's quit
// message (WM_QUIT, 0x0012) becomes QEvent::User + 0x12. Each event carries
// wParam and lParam. Posting is safe from any thread.

#include <QEvent>

#include <cstdint>

class QObject;

namespace ui {

// The registered single-instance probe and its answer.
inline constexpr const char *kProbeName = "WM_QUORVANE_DVTX3_IsMe";
inline constexpr std::uint32_t kProbeAnswer = 0x6D2E41F3;

// Mouse messages carried by UM_TRAY_NOTIFY's lParam.
inline constexpr std::intptr_t kTrayLeftButtonDown = 0x0201;
inline constexpr std::intptr_t kTrayRightButtonDown = 0x0204;
inline constexpr std::uintptr_t kTrayIconId = 1;

QEvent::Type MessageEventType(unsigned message);

class WindowMessageEvent : public QEvent {
public:
  WindowMessageEvent(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
  ~WindowMessageEvent() override;

  unsigned Message() const { return message_; }
  std::uintptr_t WParam() const { return wParam_; }
  std::intptr_t LParam() const { return lParam_; }

  // The event as a window message, or null for any other event.
  static const WindowMessageEvent *From(const QEvent *event);

private:
  unsigned message_;
  std::uintptr_t wParam_;
  std::intptr_t lParam_;
};

// Queues the message for the target's thread (no-op for a null target).
void PostWindowMessage(QObject *target, unsigned message, std::uintptr_t wParam = 0,
                       std::intptr_t lParam = 0);

} // namespace ui
