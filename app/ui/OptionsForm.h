#pragma once
// The Options page's entries as plain values: what LoadPage puts into the
// controls (FromSettings) and what StorePage writes back (Store), in the
// page's order. No widgets here; the page converts between these values and
// its controls.

#include "ProxyApply.h"

#include <functional>
#include <string>
#include <string_view>

namespace shell {
struct Settings;
}

namespace ui {

struct OptionsForm {
  static constexpr int kMinUploadDays = 1;
  static constexpr int kMaxUploadDays = 7;

  std::string prefix;
  std::string signature;
  bool writeLog = false;
  bool spanSms = false;
  bool deliveryAcks = false;
  bool forceSenderId = false;
  bool online = true;
  bool startMinimized = false;
  ProxyFields proxy;
  std::string profileName;
  std::string profilePassword;
  std::string senderId;
  bool scheduleToServer = false;
  int uploadDays = 1; // kMinUploadDays .. kMaxUploadDays

  // The values the settings give the page. ProxyType and
  // UploadToServerXDaysBefore are brought into their lists' ranges, so the
  // lists always show an entry.
  static OptionsForm FromSettings(const shell::Settings &settings);

  // The prefix as stored: every leading "0" removed ("0027" -> "27",
  // "000" -> "").
  static std::string StoredPrefix(std::string_view typed);

  // What StorePage does before it saves, in this order: prefix and signature;
  // the four toggles; WorkingOnLine, then `wentOnline(WorkingOnLine)`;
  // StartMinimized; `applyProxy()` (the proxy-apply step without force);
  // profile name, password and sender ID; ScheduleToServer and
  // UploadToServerXDaysBefore. Each change is made under the settings lock,
  // which is not held while the callbacks run.
  void Store(shell::Settings &settings, const std::function<void(bool online)> &wentOnline,
             const std::function<void()> &applyProxy) const;
};

} // namespace ui
