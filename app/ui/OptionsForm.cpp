#include "OptionsForm.h"

#include "shell/Settings.h"

#include <algorithm>

namespace ui {

OptionsForm OptionsForm::FromSettings(const shell::Settings &s) {
  OptionsForm f;
  f.prefix = s.prefix;
  f.signature = s.Sig;
  f.writeLog = s.WriteLog;
  f.spanSms = s.SpanSMS;
  f.deliveryAcks = s.DeliveryAcks;
  f.forceSenderId = s.ForceSenderID;
  f.online = shell::IsWorkingOnLine(s);
  f.startMinimized = s.StartMinimized;
  f.proxy.mode = std::clamp(s.ProxyType, 1, ProxyApply::kUseProxyList);
  f.proxy.host = s.ProxyHost;
  f.proxy.port = s.ProxyPort;
  f.proxy.user = s.ProxyUsername;
  f.proxy.password = s.ProxyPassword;
  f.profileName = s.Outlook_Name;
  f.profilePassword = s.Outlook_Password;
  f.senderId = s.sender_id;
  f.scheduleToServer = s.ScheduleToServer;
  f.uploadDays = std::clamp(s.UploadToServerXDaysBefore, kMinUploadDays, kMaxUploadDays);
  return f;
}

std::string OptionsForm::StoredPrefix(std::string_view typed) {
  const size_t first = typed.find_first_not_of('0');
  return first == std::string_view::npos ? std::string() : std::string(typed.substr(first));
}

void OptionsForm::Store(shell::Settings &s, const std::function<void(bool online)> &wentOnline,
                        const std::function<void()> &applyProxy) const {
  {
    auto hold = shell::LockSettings(s);
    s.prefix = StoredPrefix(prefix);
    s.Sig = signature;
    s.WriteLog = writeLog;
    s.DeliveryAcks = deliveryAcks;
    s.ForceSenderID = forceSenderId;
    s.SpanSMS = spanSms;
  }
  shell::SetWorkingOnLine(s, online);
  if (wentOnline) wentOnline(online);
  {
    auto hold = shell::LockSettings(s);
    s.StartMinimized = startMinimized;
  }
  if (applyProxy) applyProxy();
  {
    auto hold = shell::LockSettings(s);
    s.Outlook_Name = profileName;
    s.Outlook_Password = profilePassword;
    s.sender_id = senderId;
    s.ScheduleToServer = scheduleToServer;
    s.UploadToServerXDaysBefore = uploadDays;
  }
}

} // namespace ui
