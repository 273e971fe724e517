#include "shell/Settings.h"

#include "shell/PasswordVault.h"
#include "shell/SettingsFile.h"

#include <cstdio>
#include <random>

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

// The passwords the keyring keeps, each with the setting that names its user.
struct Secret {
  const char *name;
  std::string Settings::*value;
  std::string Settings::*user;
};
constexpr Secret kPassword{"Password", &Settings::Password, &Settings::Login};
constexpr Secret kProxyPassword{"ProxyPassword", &Settings::ProxyPassword,
                                &Settings::ProxyUsername};
constexpr Secret kProfilePassword{"Outlook_Password", &Settings::Outlook_Password,
                                  &Settings::Outlook_Name};
constexpr Secret kSecrets[] = {kPassword, kProxyPassword, kProfilePassword};

PasswordVault *UsableVault() {
  PasswordVault *vault = CurrentPasswordVault();
  return vault && vault->Available() ? vault : nullptr;
}

// What the settings file gets for a password: nothing when the keyring now
// keeps it (an empty password removes the keyring's), the password itself
// when there is no keyring or it refused the secret.
std::string FileValue(PasswordVault *vault, const Secret &secret, const std::string &value,
                      const std::string &user) {
  if (!vault) return value;
  if (value.empty()) {
    vault->Clear(secret.name, user);
    return value;
  }
  if (vault->Lookup(secret.name, user) == value) return std::string();
  return vault->Store(secret.name, user, value) ? std::string() : value;
}

// A copy of one password and its user name, taken under the record's lock.
struct SecretValue {
  const Secret *secret;
  std::string value;
  std::string user;
};
SecretValue Take(const Settings &s, const Secret &secret) {
  return {&secret, s.*secret.value, s.*secret.user};
}

void Put(PasswordVault *vault, const SecretValue &v, SettingsFile &file) {
  file.SetString(v.secret->name, FileValue(vault, *v.secret, v.value, v.user));
}

// "dv" and 16 random hexadecimal digits.
std::string NewInstallationId() {
  std::random_device random;
  char text[24];
  std::snprintf(text, sizeof text, "dv%08x%08x", random(), random());
  return text;
}

} // namespace

std::array<RecentRecord, kMaxRecent> Settings::EmptyRecentList() {
  std::array<RecentRecord, kMaxRecent> list{};
  list.fill(EmptyRecentRecord());
  return list;
}

Settings Snapshot(const Settings &settings) {
  std::lock_guard<SettingsMutex> hold(settings.mutex);
  return settings;
}

bool IsWorkingOnLine(const Settings &settings) {
  return ReadSetting(settings, &Settings::WorkingOnLine);
}

void SetWorkingOnLine(Settings &settings, bool online) {
  std::lock_guard<SettingsMutex> hold(settings.mutex);
  settings.WorkingOnLine = online;
}

void LoadSettings(const SettingsFile &file, Settings &s) {
  std::lock_guard<SettingsMutex> hold(s.mutex);
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
  Text(file, "InstallationID", s.InstallationID);
  if (s.InstallationID.empty()) s.InstallationID = NewInstallationId();

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

  // A password the file no longer holds comes from the keyring; one the file
  // still holds (written before the keyring was used) is read as it is and
  // moves to the keyring at the next save.
  if (PasswordVault *vault = UsableVault()) {
    for (const Secret &secret : kSecrets) {
      std::string &value = s.*secret.value;
      if (!value.empty()) continue;
      if (auto kept = vault->Lookup(secret.name, s.*secret.user)) value = *kept;
    }
  }
}

bool SaveSettings(const Settings &s, SettingsFile &file) {
  std::unique_lock<SettingsMutex> hold(s.mutex);
  const SecretValue password = Take(s, kPassword);
  const SecretValue proxyPassword = Take(s, kProxyPassword);
  const SecretValue profilePassword = Take(s, kProfilePassword);
  file.SetString("prefix", s.prefix);
  file.SetString("Sig", s.Sig);
  file.SetInt("WriteLog", s.WriteLog);
  file.SetInt("SpanSMS", s.SpanSMS);
  file.SetInt("DeliveryAcks", s.DeliveryAcks);
  file.SetInt("StartMinimized", s.StartMinimized);
  file.SetString("sender_id", s.sender_id);
  file.SetInt("set_sender", s.set_sender);
  file.SetString("Outlook_Name", s.Outlook_Name);
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
  file.SetInt("DontShowSenderIDOptionMsg", s.DontShowSenderIDOptionMsg);
  file.SetInt("DontShowUnicodeWarningAgain", s.DontShowUnicodeWarningAgain);
  file.SetInt("DontShowForceSenderIDMsgAgain", s.DontShowForceSenderIDMsgAgain);
  file.SetInt("ForceSenderID", s.ForceSenderID);
  file.SetString("InstallationID", s.InstallationID);
  hold.unlock();

  // The keyring is asked outside the record's lock (it may wait for the
  // user to unlock it).
  PasswordVault *vault = UsableVault();
  Put(vault, proxyPassword, file);
  Put(vault, profilePassword, file);
  // The account password is saved at login; a file that still holds one
  // from before the keyring hands it over now.
  std::string inFile;
  if (vault && file.GetString(kPassword.name, inFile)) Put(vault, password, file);
  return file.Save();
}

bool SaveLoginSettings(const Settings &s, SettingsFile &file) {
  std::unique_lock<SettingsMutex> hold(s.mutex);
  const SecretValue password = Take(s, kPassword);
  file.SetString("Login", s.Login);
  file.SetInt("RememberPassword", s.RememberPassword);
  file.SetInt("WorkingOnLine", s.WorkingOnLine);
  hold.unlock();
  // Even without "Remember Password" the password is kept (offline login
  // compares with it): in the keyring when there is one.
  Put(UsableVault(), password, file);
  return file.Save();
}

} // namespace shell
