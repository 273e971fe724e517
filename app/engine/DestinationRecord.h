#pragma once
// One resolved destination of the message being dispatched, kept by value in
// the worker's destination and result lists.

#include "BoundedText.h"

#include <string_view>
#include <vector>

namespace engine {

struct DestinationRecord {
  static constexpr int kPlainNumber = -1;
  static constexpr std::size_t kMaxApiMsgIdChars = 38;

  // The contact's CID for a contact token ("A" and the CID), -1 for a plain
  // number (0 in the records a batch reply produces).
  int contactId = kPlainNumber;
  // The number sent to the gateway (after the prefix rule).
  char number[29] = {};
  // The token exactly as it stood in To (18 characters at most).
  char toToken[19] = {};
  // 0, or the gateway error that rejected this destination (99 for a batch
  // rejection).
  int errorCode = 0;
  // The text stored as ApiMsgID for this destination (38 characters at most).
  char apiMsgId[40] = {};

  void SetNumber(std::string_view value) { CopyBounded(number, value); }
  void SetToToken(std::string_view value) { CopyBounded(toToken, value); }
  void SetApiMsgId(std::string_view value) {
    CopyBounded(apiMsgId, value.substr(0, kMaxApiMsgIdChars));
  }
  std::string_view Number() const { return BoundedView(number); }
  std::string_view ToToken() const { return BoundedView(toToken); }
  std::string_view ApiMsgId() const { return BoundedView(apiMsgId); }
};

static_assert(sizeof(DestinationRecord) == 96, "DestinationRecord is a fixed 96-byte record");

using DestinationList = std::vector<DestinationRecord>;

} // namespace engine
