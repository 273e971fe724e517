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

// Update progress dialog: the step markers and texts (first of four each)
// and the downloaded size.
inline constexpr int kUpdateMarker = 1170;
inline constexpr int kUpdateStep = 1174;
inline constexpr int kUpdateSize = 1178;

// Options page controls (the proxy controls above are shared with it).
inline constexpr int kOptionsOk = 1058; // hidden: Enter stores the page
inline constexpr int kOptionsSpanSms = 1013;
inline constexpr int kOptionsUploadDays = 1020;
inline constexpr int kOptionsRedeem = 1062;
inline constexpr int kOptionsBuyCredits = 1064;
inline constexpr int kOptionsOnline = 1065;
inline constexpr int kOptionsOffline = 1066;
inline constexpr int kOptionsVoucher1 = 1070; // 1070 to 1073, left to right
inline constexpr int kOptionsPrefix = 1074;
inline constexpr int kOptionsSignature = 1075;
inline constexpr int kOptionsWriteLog = 1077;
inline constexpr int kOptionsProfileName = 1078;
inline constexpr int kOptionsProfilePassword = 1079;
inline constexpr int kOptionsClear = 1080;
inline constexpr int kOptionsSenderId = 1082;
inline constexpr int kOptionsDeliveryAcks = 1084;
inline constexpr int kOptionsForceSenderId = 1085;
inline constexpr int kOptionsStartMinimized = 1122;
inline constexpr int kOptionsHelp = 1128;
inline constexpr int kOptionsMailClient = 1129;
inline constexpr int kOptionsVCards = 1130;
inline constexpr int kOptionsScheduleToServer = 1148;
inline constexpr int kOptionsKeepLocal = 1149;
inline constexpr int kOptionsForceSenderIdLabel = 1198;
// The balance label's context menu and its one item.
inline constexpr int kBalanceMenu = 251;
inline constexpr int kUpdateBalance = 32808;

// The choice of the mail client for the address book.
inline constexpr int kDialogMailRouting = 242;
inline constexpr int kMailRoutingClient = 1211;
inline constexpr int kMailRoutingText = 1212;

// Outbox page controls, its status legend and the "EXPORT OUTBOX" dialog.
inline constexpr int kOutboxList = 1701;
inline constexpr int kOutboxSendNow = 1702;
inline constexpr int kOutboxExport = 1703;
inline constexpr int kOutboxHelp = 1704;
inline constexpr int kOutboxMenu = 1705;
inline constexpr int kDialogStatusLegend = 1706;
inline constexpr int kDialogExportOutbox = 1710;
inline constexpr int kExportOutboxFile = 1711;
inline constexpr int kExportOutboxBrowse = 1712;
inline constexpr int kExportOutboxSelected = 1713;
inline constexpr int kExportOutboxAll = 1714;

// SMS page controls besides the composition controls of
// compose/TypeControls.h (1034-1043, 1087, 1088, 1125).
inline constexpr int kSmsType = 1026;
inline constexpr int kSmsContactTree = 1027;
inline constexpr int kSmsRecipients = 1028;
inline constexpr int kSmsRecipientCount = 1029;
inline constexpr int kSmsClear = 1031;

// The schedule dialog.
inline constexpr int kDialogSchedule = 218;
inline constexpr int kSchedMonth = 1020;
inline constexpr int kSchedDay = 1021;
inline constexpr int kSchedHour = 1022;
inline constexpr int kSchedMinute = 1023;
inline constexpr int kSchedUploadDays = 1024;
inline constexpr int kSchedOnce = 1093;
inline constexpr int kSchedDaily = 1094;
inline constexpr int kSchedWeekly = 1087;
inline constexpr int kSchedMonthly = 1088;
inline constexpr int kSchedDailyCount = 1089;
inline constexpr int kSchedDailyEvery = 1090;
inline constexpr int kSchedEveryWeekday = 1091;
inline constexpr int kSchedEndAfter = 1092;
inline constexpr int kSchedWeeklyCount = 1095;
inline constexpr int kSchedMonday = 1096;
inline constexpr int kSchedTuesday = 1100;
inline constexpr int kSchedWednesday = 1101;
inline constexpr int kSchedThursday = 1102;
inline constexpr int kSchedFriday = 1103;
inline constexpr int kSchedSaturday = 1104;
inline constexpr int kSchedSunday = 1105;
inline constexpr int kSchedDayOfMonth = 1106;
inline constexpr int kSchedMonthlyDay = 1107;
inline constexpr int kSchedMonthlyThe = 1108;
inline constexpr int kSchedMonthlyDayEvery = 1110;
inline constexpr int kSchedOrdinal = 1111;
inline constexpr int kSchedWeekday = 1112;
inline constexpr int kSchedMonthlyTheEvery = 1113;
inline constexpr int kSchedUpload = 1150;

} // namespace ui::ids
