#pragma once
// The settings record: every setting the program keeps in `SMS.dat`, with its
// stored name as the member name, its kind (text, number, flag) and its
// default. LoadSettings fills it from a SettingsFile; SaveSettings and
// SaveLoginSettings write back the settings that are saved at exit and at
// login.
//
// Threads. The record is loaded before any other thread starts and changed
// on the main thread afterwards, except `WorkingOnLine`, which the worker may
// switch off (SetWorkingOnLine). The communications worker reads settings
// while the user changes them, so:
//   - the main thread holds LockSettings() around every change of the record
//     (its own reads need no lock);
//   - every other thread reads through ReadSetting() or Snapshot(), which
//     take the same lock.
// The lock is recursive, and never held across a call out of the shell.

#include "shell/RecentCodec.h"
#include "shell/TrackedRecursiveMutex.h"

#include <array>
#include <mutex>
#include <string>

namespace shell {

class SettingsFile;

inline constexpr int kMaxRecent = 10;
inline constexpr const char *kDefaultClientId = "DVTX";
inline constexpr const char *kDefaultVoucherUrl = "http://www.ostrand.example/";

// The record's lock. A copy of the record gets a lock of its own.
class SettingsMutex {
public:
  SettingsMutex() = default;
  SettingsMutex(const SettingsMutex &) noexcept {}
  SettingsMutex &operator=(const SettingsMutex &) noexcept { return *this; }
  void lock() const { mutex_.lock(); }
  void unlock() const { mutex_.unlock(); }
  bool try_lock() const { return mutex_.try_lock(); }

private:
  mutable TrackedRecursiveMutex mutex_;
};

struct Settings {
  std::string prefix;               // text, exit
  std::string Sig;                  // text, exit
  bool WriteLog = false;            // flag, exit
  bool SpanSMS = false;             // flag, exit
  bool DeliveryAcks = false;        // flag, exit
  bool StartMinimized = false;      // flag, exit
  std::string sender_id;            // text, exit
  bool set_sender = true;           // flag, exit
  std::string Outlook_Name;         // text, exit
  std::string Outlook_Password;     // text, exit
  bool MAPI_AddressBook = false;    // flag, exit
  std::string bg_image_path;        // text, exit
  int LastBalance = 0;              // number, exit (tenths of a credit)
  bool BalanceWithFraction = false; // flag, exit
  std::string Login;                // text, login
  std::string Password;             // text, login
  bool RememberPassword = false;    // flag, login
  bool WorkingOnLine = true;        // flag, exit and login
  int NumRecent = 0;                // number, exit; read as at most 10
  std::array<RecentRecord, kMaxRecent> Recent = EmptyRecentList(); // "Recent%d", exit
  std::string client_id = kDefaultClientId;                        // text, not saved
  std::string voucher_url = kDefaultVoucherUrl;                    // text, exit
  std::string help_url;                                            // text, not saved
  bool ScheduleToServer = false;                                   // flag, exit
  int UploadToServerXDaysBefore = 1;                               // number, exit
  std::string UpdateVersionURL;                                    // text, not saved
  std::string UpdateFileURL;                                       // text, not saved
  std::string UpdateURL;                                           // text, not saved
  int ProxyType = 1;                                               // number, exit; read as 1..4
  std::string ProxyHost;                                           // text, exit
  std::string ProxyPort;                                           // text, exit
  std::string ProxyUsername;                                       // text, exit
  std::string ProxyPassword;                                       // text, exit
  bool i18n = true;                                                // flag, not saved
  bool DontShowSenderIDOptionMsg = false;                          // flag, exit
  bool DontShowUnicodeWarningAgain = false;                        // flag, exit
  bool DontShowForceSenderIDMsgAgain = false;                      // flag, exit
  bool ForceSenderID = false;                                      // flag, exit
  bool CanUseForceSenderIDFeature = true;                          // flag, not saved
  bool AppendSessionIDOnPurchase = true;                           // flag, not saved
  // Prefix of the client message ids this installation sends (letters and
  // digits); a fresh random one when the file has none.
  std::string InstallationID; // text, exit

  // Guards the record between threads (see the note at the top).
  mutable SettingsMutex mutex;

  static std::array<RecentRecord, kMaxRecent> EmptyRecentList();
};

// Holds the record's lock for the lifetime of the result.
[[nodiscard]] inline std::unique_lock<SettingsMutex> LockSettings(const Settings &settings) {
  return std::unique_lock<SettingsMutex>(settings.mutex);
}

// One setting, read under the record's lock (any thread).
template <class T> T ReadSetting(const Settings &settings, T Settings::*member) {
  std::lock_guard<SettingsMutex> hold(settings.mutex);
  return settings.*member;
}

// A copy of the whole record, taken under its lock (any thread).
Settings Snapshot(const Settings &settings);

// `WorkingOnLine` read and written from any thread (the worker switches the
// program offline after a failed re-login).
bool IsWorkingOnLine(const Settings &settings);
void SetWorkingOnLine(Settings &settings, bool online);

// Fills the record from the file, setting by setting in table order (a
// missing or empty value gives the default), then reads NumRecent as at most
// 10 (and at least 0), ProxyType as 1..4, and decodes Recent0 ..
// Recent<NumRecent-1>; an entry that is not 216 letters "A".."P" stays an
// empty slot.
void LoadSettings(const SettingsFile &file, Settings &settings);

// Copies every setting saved at exit (and Recent0 .. Recent<NumRecent-1>,
// encoded) into the file and saves it. Returns Save's result.
bool SaveSettings(const Settings &settings, SettingsFile &file);

// Copies Login, Password, RememberPassword and WorkingOnLine and saves.
bool SaveLoginSettings(const Settings &settings, SettingsFile &file);

} // namespace shell
