// Reads the decimal integer a text begins with, the way the gateway's
// numbers are read: leading white space skipped, an optional sign, then
// digits; 0 when there are none. Values beyond 32 bits saturate.
#ifndef PARLINK_TRANSPORT_LEADINGINTEGER_H
#define PARLINK_TRANSPORT_LEADINGINTEGER_H

#include <cstdint>
#include <string_view>

namespace parlink {

int32_t ParseLeadingInteger(std::string_view text);

} // namespace parlink

#endif
