#include "ReplyBuilder.h"

#include <cstdio>

namespace gatewaysim {

const char *ReplyBuilder::ErrorText(int code) {
  switch (code) {
  case kErrAuthFailed:
    return "Authentication failed";
  case kErrUnknownUser:
    return "Unknown username or password";
  case kErrSessionExpired:
    return "Session ID expired";
  case kErrAccountFrozen:
    return "Account frozen";
  case kErrMissingSession:
    return "Missing session ID";
  case kErrInvalidParameter:
    return "Invalid or missing parameter";
  case kErrInvalidUdh:
    return "Invalid UDH. (User Data Header)";
  case kErrUnknownApiMsgId:
    return "Unknown apiMsgId (API Message ID)";
  case kErrUnknownCliMsgId:
    return "Unknown cliMsgId (Client Message ID)";
  case kErrInvalidDestination:
    return "Invalid Destination Address";
  case kErrInvalidSource:
    return "Invalid Source Address";
  case kErrEmptyMessage:
    return "Empty message";
  case kErrInvalidApiId:
    return "Invalid or missing api_id";
  case kErrMissingMessageId:
    return "Missing message ID";
  case kErrInvalidMsgType:
    return "Invalid msg_type";
  case kErrMaxPartsExceeded:
    return "Max parts exceeded";
  case kErrCannotRoute:
    return "Cannot route message";
  case kErrCannotStop:
    return "Message cannot be stopped";
  case kErrThrottle:
    return "Throttle limit exceeded";
  case kErrInvalidBatchId:
    return "Invalid batch ID";
  case kErrNoBatchTemplate:
    return "No batch template";
  case kErrNoCredit:
    return "No credit left";
  case kErrMaxCredit:
    return "Max allowed credit";
  case kErrInvalidToken:
    return "Invalid Token";
  case kErrExpiredToken:
    return "Expired Token";
  default:
    return "Error";
  }
}

std::string ReplyBuilder::Error(int code) {
  char head[16];
  std::snprintf(head, sizeof head, "ERR: %03d, ", code);
  return head + std::string(ErrorText(code));
}

std::string ReplyBuilder::Ok(const std::string &value) {
  return "OK: " + value;
}

std::string ReplyBuilder::Id(const std::string &id) {
  return "ID: " + id;
}

std::string ReplyBuilder::Status(int status) {
  char text[8];
  std::snprintf(text, sizeof text, "%03d", status);
  return text;
}

std::string ReplyBuilder::Credit(Millicredits balance) {
  return "Credit: " + CreditAmount::Format(balance);
}

} // namespace gatewaysim
