// Base64 with the standard alphabet and "=" padding.
#ifndef PARLINK_TRANSPORT_BASE64_H
#define PARLINK_TRANSPORT_BASE64_H

#include <string>
#include <string_view>

namespace parlink {

std::string Base64Encode(std::string_view bytes);

} // namespace parlink

#endif
