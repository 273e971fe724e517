#pragma once
// The message row of the outbox and the codes every part of the program shares
// for its `Stat` and `Type` properties.

#include <optional>
#include <string>

namespace store {

// `Stat` and `SavedStat` codes.
enum MessageStatus : int {
  StatPending = 0,
  StatQueued = 1,
  StatFailed = 2,
  StatSent = 3,
  StatScheduled = 4,
  StatEditing = 5,
  StatDelayScheduled = 6,
  StatScheduledOnServer = 7,
  StatDeliveredToGateway = 8,
  StatDelivered = 9,
  StatProcessing = 10,
  StatUnknown = 11,
  StatExpanded = 12,
  StatErrorWithMessage = 13,
  StatCancelled = 14,
  StatDeliveryError = 15,
  StatRoutingError = 16,
  StatExpired = 17,
};
inline constexpr int kMessageStatusCount = 18;

// `Type` codes.
enum MessageType : int {
  TypeText = 0,
  TypeFlash = 1,
  TypeUnicode = 2,
  TypeNokiaRingtone = 3,
  TypeNokiaPicture = 4,
  TypeNokiaOperatorLogo = 5,
  TypeNokiaVCard = 6,
  TypeNokiaVCal = 7,
  TypeBinary = 8,
};
inline constexpr int kMessageTypeCount = 9;

// The gateway library's message type (`eSMSMsgType`) for a stored type code:
// 0 text, 1 flash, 3 operator logo, 5 picture, 6 ringtone, 8 business card,
// 9 calendar entry; every unknown code maps to 0.
int GatewayMessageType(int type);

// True when the stored body of this type is shown as text (gateway type 0).
inline bool IsTextBodyType(int type) {
  return GatewayMessageType(type) == 0;
}

// One row of the `SMS` table, property by property. Strings are
// Windows-1252 bytes exactly as stored.
struct MessageRow {
  int ID = 0;
  int Time = 0;
  int Stat = 0;
  int Type = 0;
  int RefID = 0;
  std::string To;
  std::string ToInfo;
  std::string Msg;
  std::string ApiMsgID;
  int SavedStat = 0;
  std::string SenderID;
  int Delay = 0;
  int QueryTime = 0;
  int StatQryTm = 0;
  std::string Charge;
  int Flags = 0;
};

// An inclusive range of an integer property.
struct IntRange {
  int lo = 0;
  int hi = 0;
};

// A selection of message rows: every given condition must hold (AND). A range
// is inclusive on both ends; a missing condition matches every row.
// Examples of the engine's selections:
//   pending of one id:   {.ID = id, .Stat = {0, 0}}
//   due scheduled rows:  {.Time = {0, now}, .Stat = {4, 4}, .Delay = {0, 0}}
//   polling (all due):   {.Stat = {s, s}, .QueryTime = {1, INT_MAX}, .StatQryTm = {0, now}}
//   polling (one id):    {.ID = id, .Stat = {s, s}, .QueryTime = {1, INT_MAX}}
struct MessageSelection {
  std::optional<int> ID = std::nullopt;
  std::optional<IntRange> Time = std::nullopt;
  std::optional<IntRange> Stat = std::nullopt;
  std::optional<IntRange> Delay = std::nullopt;
  std::optional<IntRange> QueryTime = std::nullopt;
  std::optional<IntRange> StatQryTm = std::nullopt;
  std::optional<IntRange> RefID = std::nullopt;
};

// The columns the outbox list can be ordered by.
enum class MessageOrder { Time, ToInfo, Stat, Charge, Msg };

// Fields of one message to overwrite; unset members are left as they are.
struct MessageUpdate {
  std::optional<int> Time = std::nullopt;
  std::optional<int> Stat = std::nullopt;
  std::optional<int> SavedStat = std::nullopt;
  std::optional<int> Delay = std::nullopt;
  std::optional<int> QueryTime = std::nullopt;
  std::optional<int> StatQryTm = std::nullopt;
  std::optional<int> Flags = std::nullopt;
  std::optional<std::string> ApiMsgID = std::nullopt;
  std::optional<std::string> Charge = std::nullopt;
};

} // namespace store
