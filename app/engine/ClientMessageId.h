#pragma once
// The client message id (cliMsgId) the program sends with every single
// send: the installation's prefix from the settings, "-" and the message
// ID, and for one destination of a message sent per destination "-" and
// its position (from 1). Unique for the installation and the row; at most
// 48 characters of letters, digits and "-", well inside the gateway's limit
// of 64.

#include <string>
#include <string_view>

namespace engine {

class ClientMessageId {
public:
  static constexpr std::size_t kMaxPrefixChars = 24;

  // Letters and digits of `installation` (at most 24; "dv" when none).
  static std::string Prefix(std::string_view installation);
  static std::string For(std::string_view installation, int messageId);
  // The id of destination `position` (1, 2, ...) under a message's id.
  static std::string ForDestination(std::string_view messageCliMsgId, int position);
};

} // namespace engine
