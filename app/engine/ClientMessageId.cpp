#include "ClientMessageId.h"

namespace engine {

std::string ClientMessageId::Prefix(std::string_view installation) {
  std::string prefix;
  for (char c : installation) {
    const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (alnum && prefix.size() < kMaxPrefixChars) prefix += c;
  }
  return prefix.empty() ? std::string("dv") : prefix;
}

std::string ClientMessageId::For(std::string_view installation, int messageId) {
  return Prefix(installation) + "-" + std::to_string(messageId);
}

std::string ClientMessageId::ForDestination(std::string_view messageCliMsgId, int position) {
  return std::string(messageCliMsgId) + "-" + std::to_string(position);
}

} // namespace engine
