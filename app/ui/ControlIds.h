#pragma once
// Numeric identifiers of the main window's commands, controls and pages.
// Every control carries its id as its objectName, so tests and the
// accelerators find it by number.

namespace ui::ids {

// Commands handled by the main window.
inline constexpr int kCloseApp = 1002;
inline constexpr int kLoginDone = 1008;
inline constexpr int kExit = 32801;
inline constexpr int kSendSms = 32804;
inline constexpr int kCheckUpdates = 32806;
inline constexpr int kProxySettings = 32807;
inline constexpr int kVersionInfo = 32809;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditSelectAll = 57642;

// Tab buttons.
inline constexpr int kTabSms = 1044;
inline constexpr int kTabAddresses = 1045;
inline constexpr int kTabOutbox = 1046;
inline constexpr int kTabOptions = 1047;

// Page templates.
inline constexpr int kPageLogin = 203;
inline constexpr int kPageSms = 205;
inline constexpr int kPageAddresses = 206;
inline constexpr int kPageOutbox = 207;
inline constexpr int kPageOptions = 208;

// Login page controls.
inline constexpr int kOk = 1;
inline constexpr int kLoginUser = 1050;
inline constexpr int kLoginPassword = 1051;
inline constexpr int kLoginRemember = 1052;
inline constexpr int kLoginOffline = 1053;
inline constexpr int kLoginStatus = 1054;
inline constexpr int kLoginForgot = 1055;

// Status indicators.
inline constexpr int kBusyIndicator = 1090;
inline constexpr int kOfflineIndicator = 1091;

// Balance labels of the SMS and Options pages, the Outbox status line.
inline constexpr int kSmsBalance = 1119;
inline constexpr int kOptionsBalance = 1120;
inline constexpr int kOutboxStatus = 1121;

// Dialogs.
inline constexpr int kDialogShutdown = 238;
inline constexpr int kProxyType = 1021;
inline constexpr int kProxyDescription = 1022;
inline constexpr int kProxyHost = 1068;
inline constexpr int kProxyPort = 1069;
inline constexpr int kProxyUser = 1086;
inline constexpr int kProxyPassword = 1087;
inline constexpr int kProxyTest = 1192;
inline constexpr int kCancel = 2;

} // namespace ui::ids
