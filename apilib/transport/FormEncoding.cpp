#include "transport/FormEncoding.h"

namespace parlink {

void AppendFormEncoded(std::string &out, std::string_view value) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.reserve(out.size() + value.size() * 3);
  for (char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
        (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_') {
      out.push_back(c);
    } else if (byte == ' ') {
      out.push_back('+');
    } else {
      out.push_back('%');
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 0x0F]);
    }
  }
}

std::string FormEncode(std::string_view value) {
  std::string out;
  AppendFormEncoded(out, value);
  return out;
}

} // namespace parlink
