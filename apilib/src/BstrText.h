// Automation strings to and from the object's Windows-1252 text.
#ifndef PARLINK_SRC_BSTRTEXT_H
#define PARLINK_SRC_BSTRTEXT_H

#include <automation/automation.h>

#include <optional>
#include <string>
#include <string_view>

namespace parlink {

// The UTF-16 text up to its terminating zero; empty for a null string.
std::u16string_view WideView(BSTR value);
// Windows-1252 text of `value` ("?" for characters the code page lacks);
// a null string gives the empty text.
std::string FromBstr(BSTR value);
// As FromBstr, but a null string stays absent.
std::optional<std::string> FromOptionalBstr(BSTR value);
// A new automation string; null when it cannot be allocated.
BSTR ToBstr(std::string_view ansi);

} // namespace parlink

#endif
