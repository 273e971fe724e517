#pragma once
// Reads a message's ApiMsgID: one or more entries, each a comma, "ID: ",
// the gateway's 32-character message id and optionally "|" and the
// destination number.

#include "BoundedText.h"

#include <string>
#include <string_view>
#include <vector>

namespace engine {

struct ApiIdEntry {
  static constexpr std::size_t kIdChars = 32;
  char apiMsgId[33] = {};
  char number[20] = {};
  // The entry exactly as it stands in ApiMsgID, with its leading comma.
  std::string text;

  std::string_view ApiMsgId() const { return BoundedView(apiMsgId); }
  std::string_view Number() const { return BoundedView(number); }
};

class ApiMsgIdParser {
public:
  // Replaces `out` with the entries of `apiMsgId` and returns their number.
  // Pieces that do not begin with "ID: " are skipped. An id ends at the
  // next comma or "|" and is cut to 32 characters; a number is cut to 19.
  static int Parse(std::string_view apiMsgId, std::vector<ApiIdEntry> &out);

  // `apiMsgId` with every whole occurrence of the entry `entryText` removed.
  static std::string Remove(std::string_view apiMsgId, std::string_view entryText);
};

} // namespace engine
