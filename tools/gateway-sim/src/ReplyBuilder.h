#pragma once
// The gateway's one-line replies. Error lines are "ERR: NNN, Text" with the
// code in three digits; replies never end with a line break.

#include "CreditAmount.h"

#include <string>

namespace gatewaysim {

enum ErrorCode : int {
  kErrAuthFailed = 1,
  kErrUnknownUser = 2,
  kErrSessionExpired = 3,
  kErrAccountFrozen = 4,
  kErrMissingSession = 5,
  kErrInvalidParameter = 101,
  kErrInvalidUdh = 102,
  kErrUnknownApiMsgId = 103,
  kErrUnknownCliMsgId = 104,
  kErrInvalidDestination = 105,
  kErrInvalidSource = 106,
  kErrEmptyMessage = 107,
  kErrInvalidApiId = 108,
  kErrMissingMessageId = 109,
  kErrInvalidMsgType = 112,
  kErrMaxPartsExceeded = 113,
  kErrCannotRoute = 114,
  kErrCannotStop = 116, // withdrawal refused: too close to delivery, or not deferred
  kErrThrottle = 117,
  kErrInvalidBatchId = 201,
  kErrNoBatchTemplate = 202,
  kErrNoCredit = 301,
  kErrMaxCredit = 302,
  kErrInvalidToken = 606,
  kErrExpiredToken = 607,
};

class ReplyBuilder {
public:
  static const char *ErrorText(int code);
  // "ERR: 001, Authentication failed"
  static std::string Error(int code);
  static std::string Ok(const std::string &value); // "OK: value"
  static std::string Id(const std::string &id);    // "ID: id"
  static std::string Status(int status);           // "002"
  static std::string Credit(Millicredits balance); // "Credit: 98.5"
};

} // namespace gatewaysim
