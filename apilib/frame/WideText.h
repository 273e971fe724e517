// Small helpers for the ASCII names of the type information: case-insensitive
// comparison with UTF-16 names from clients, and BSTRs made from ASCII.
#ifndef PARLINK_FRAME_WIDETEXT_H
#define PARLINK_FRAME_WIDETEXT_H

#include <automation/automation.h>

#include <string>
#include <string_view>

namespace parlink::frame {

// True when the null-terminated wide `name` equals the ASCII `ascii`, ignoring
// the case of the letters A-Z. A null `name` never matches.
bool EqualsIgnoreCase(const OLECHAR *name, std::string_view ascii);

// A new BSTR holding `ascii` (null when allocation fails).
BSTR AllocAscii(std::string_view ascii);

// The ASCII text widened to UTF-16.
std::u16string Widen(std::string_view ascii);

} // namespace parlink::frame

#endif // PARLINK_FRAME_WIDETEXT_H
