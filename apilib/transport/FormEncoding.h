// Form encoding of request values: letters, digits, "-", "." and "_" pass,
// a blank becomes "+", every other byte "%" and two lowercase hex digits.
#ifndef PARLINK_TRANSPORT_FORMENCODING_H
#define PARLINK_TRANSPORT_FORMENCODING_H

#include <string>
#include <string_view>

namespace parlink {

// Appends the encoded form of `value` to `out` (at most three bytes per byte).
void AppendFormEncoded(std::string &out, std::string_view value);

std::string FormEncode(std::string_view value);

} // namespace parlink

#endif
