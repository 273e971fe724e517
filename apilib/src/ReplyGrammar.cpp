#include "src/ReplyGrammar.h"

#include "transport/LeadingInteger.h"

namespace parlink {

namespace {
char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

bool BeginsWith(std::string_view reply, std::string_view prefix) {
  return reply.substr(0, prefix.size()) == prefix;
}

bool BeginsWithIgnoringCase(std::string_view reply, std::string_view prefix) {
  if (reply.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (Lower(reply[i]) != Lower(prefix[i])) return false;
  return true;
}

LONG ReplyErrorCode(std::string_view reply) {
  if (reply.size() <= 4) return 0;
  return ParseLeadingInteger(reply.substr(4));
}

std::string_view ReplyAfter(std::string_view reply, size_t count) {
  if (reply.size() <= count) return {};
  return reply.substr(count);
}

} // namespace parlink
