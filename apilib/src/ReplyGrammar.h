// Reading the gateway's one-line replies.
#ifndef PARLINK_SRC_REPLYGRAMMAR_H
#define PARLINK_SRC_REPLYGRAMMAR_H

#include <automation/automation.h>

#include <string_view>

namespace parlink {

bool BeginsWith(std::string_view reply, std::string_view prefix);
bool BeginsWithIgnoringCase(std::string_view reply, std::string_view prefix);
// The error code of a reply that is not a success: the integer from its
// fifth character on (leading blanks skipped), 0 when there is none.
LONG ReplyErrorCode(std::string_view reply);
// The reply behind its first `count` characters; empty when it is shorter.
std::string_view ReplyAfter(std::string_view reply, size_t count);

} // namespace parlink

#endif
