#pragma once
// The settings record: every setting the program keeps in `SMS.dat`, with its
// stored name as the member name, its kind (text, number, flag) and its
// default. LoadSettings fills it from a SettingsFile; SaveSettings and
// SaveLoginSettings write back the settings that are saved at exit and at
// login. The record is loaded before any other thread starts and changed only
// on the main thread afterwards; other threads read it without locking.

#include "shell/RecentCodec.h"

#include <array>
#include <string>

namespace shell {

class SettingsFile;

inline constexpr int kMaxRecent = 10;
inline constexpr const char *kDefaultClientId = "DVTX";
inline constexpr const char *kDefaultVoucherUrl = "http://www.ostrand.example/";

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

  static std::array<RecentRecord, kMaxRecent> EmptyRecentList();
};

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
