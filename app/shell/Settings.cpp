#include "shell/Settings.h"

#include "shell/SettingsFile.h"

#include <cstdio>

namespace shell {

namespace {

std::string RecentName(int index) {
  char name[24];
  std::snprintf(name, sizeof name, "Recent%d", index);
  return name;
}

void Text(const SettingsFile &file, const char *name, std::string &out, const char *def = "") {
  file.GetString(name, out, def);
}
void Number(const SettingsFile &file, const char *name, int &out, int def) {
  file.GetInt(name, out, def);
}
void Flag(const SettingsFile &file, const char *name, bool &out, bool def) {
  file.GetBool(name, out, def);
}

} // namespace

std::array<RecentRecord, kMaxRecent> Settings::EmptyRecentList() {
  std::array<RecentRecord, kMaxRecent> list{};
  list.fill(EmptyRecentRecord());
  return list;
}

void LoadSettings(const SettingsFile &file, Settings &s) {
  Text(file, "prefix", s.prefix);
  Text(file, "Sig", s.Sig);
  Flag(file, "WriteLog", s.WriteLog, false);
  Flag(file, "SpanSMS", s.SpanSMS, false);
  Flag(file, "DeliveryAcks", s.DeliveryAcks, false);
  Flag(file, "StartMinimized", s.StartMinimized, false);
  Text(file, "sender_id", s.sender_id);
  Flag(file, "set_sender", s.set_sender, true);
  Text(file, "Outlook_Name", s.Outlook_Name);
  Text(file, "Outlook_Password", s.Outlook_Password);
  Flag(file, "MAPI_AddressBook", s.MAPI_AddressBook, false);
  Text(file, "bg_image_path", s.bg_image_path);
  Number(file, "LastBalance", s.LastBalance, 0);
  Flag(file, "BalanceWithFraction", s.BalanceWithFraction, false);
  Text(file, "Login", s.Login);
  Text(file, "Password", s.Password);
  Flag(file, "RememberPassword", s.RememberPassword, false);
  Flag(file, "WorkingOnLine", s.WorkingOnLine, true);
  Number(file, "NumRecent", s.NumRecent, 0);
  Text(file, "client_id", s.client_id, kDefaultClientId);
  Text(file, "voucher_url", s.voucher_url, kDefaultVoucherUrl);
  Text(file, "help_url", s.help_url);
  Flag(file, "ScheduleToServer", s.ScheduleToServer, false);
  Number(file, "UploadToServerXDaysBefore", s.UploadToServerXDaysBefore, 1);
  Text(file, "UpdateVersionURL", s.UpdateVersionURL);
  Text(file, "UpdateFileURL", s.UpdateFileURL);
  Text(file, "UpdateURL", s.UpdateURL);
  Number(file, "ProxyType", s.ProxyType, 0);
  Text(file, "ProxyHost", s.ProxyHost);
  Text(file, "ProxyPort", s.ProxyPort);
  Text(file, "ProxyUsername", s.ProxyUsername);
  Text(file, "ProxyPassword", s.ProxyPassword);
  Flag(file, "i18n", s.i18n, true);
  Flag(file, "DontShowSenderIDOptionMsg", s.DontShowSenderIDOptionMsg, false);
  Flag(file, "DontShowUnicodeWarningAgain", s.DontShowUnicodeWarningAgain, false);
  Flag(file, "DontShowForceSenderIDMsgAgain", s.DontShowForceSenderIDMsgAgain, false);
  Flag(file, "ForceSenderID", s.ForceSenderID, false);
  Flag(file, "CanUseForceSenderIDFeature", s.CanUseForceSenderIDFeature, true);
  Flag(file, "AppendSessionIDOnPurchase", s.AppendSessionIDOnPurchase, true);

  // A negative count would index nothing sensible: it reads as 0.
  if (s.NumRecent > kMaxRecent) s.NumRecent = kMaxRecent;
  if (s.NumRecent < 0) s.NumRecent = 0;
  if (s.ProxyType < 1) s.ProxyType = 1;
  if (s.ProxyType > 4) s.ProxyType = 4;

  s.Recent = Settings::EmptyRecentList();
  for (int i = 0; i < s.NumRecent; ++i) {
    std::string text;
    if (!file.GetString(RecentName(i), text)) continue;
    if (auto record = DecodeRecentRecord(text)) s.Recent[static_cast<std::size_t>(i)] = *record;
  }
}

bool SaveSettings(const Settings &s, SettingsFile &file) {
  file.SetString("prefix", s.prefix);
  file.SetString("Sig", s.Sig);
  file.SetInt("WriteLog", s.WriteLog);
  file.SetInt("SpanSMS", s.SpanSMS);
  file.SetInt("DeliveryAcks", s.DeliveryAcks);
  file.SetInt("StartMinimized", s.StartMinimized);
  file.SetString("sender_id", s.sender_id);
  file.SetInt("set_sender", s.set_sender);
  file.SetString("Outlook_Name", s.Outlook_Name);
  file.SetString("Outlook_Password", s.Outlook_Password);
  file.SetInt("MAPI_AddressBook", s.MAPI_AddressBook);
  file.SetString("bg_image_path", s.bg_image_path);
  file.SetInt("LastBalance", s.LastBalance);
  file.SetInt("BalanceWithFraction", s.BalanceWithFraction);
  file.SetInt("WorkingOnLine", s.WorkingOnLine);
  const int count = s.NumRecent < 0 ? 0 : (s.NumRecent > kMaxRecent ? kMaxRecent : s.NumRecent);
  file.SetInt("NumRecent", count);
  for (int i = 0; i < count; ++i) {
    file.SetString(RecentName(i), EncodeRecentRecord(s.Recent[static_cast<std::size_t>(i)]));
  }
  file.SetString("voucher_url", s.voucher_url);
  file.SetInt("ScheduleToServer", s.ScheduleToServer);
  file.SetInt("UploadToServerXDaysBefore", s.UploadToServerXDaysBefore);
  file.SetInt("ProxyType", s.ProxyType);
  file.SetString("ProxyHost", s.ProxyHost);
  file.SetString("ProxyPort", s.ProxyPort);
  file.SetString("ProxyUsername", s.ProxyUsername);
  file.SetString("ProxyPassword", s.ProxyPassword);
  file.SetInt("DontShowSenderIDOptionMsg", s.DontShowSenderIDOptionMsg);
  file.SetInt("DontShowUnicodeWarningAgain", s.DontShowUnicodeWarningAgain);
  file.SetInt("DontShowForceSenderIDMsgAgain", s.DontShowForceSenderIDMsgAgain);
  file.SetInt("ForceSenderID", s.ForceSenderID);
  return file.Save();
}

bool SaveLoginSettings(const Settings &s, SettingsFile &file) {
  file.SetString("Login", s.Login);
  file.SetString("Password", s.Password);
  file.SetInt("RememberPassword", s.RememberPassword);
  file.SetInt("WorkingOnLine", s.WorkingOnLine);
  return file.Save();
}

} // namespace shell
