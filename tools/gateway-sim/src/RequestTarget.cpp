#include "RequestTarget.h"

#include <algorithm>

namespace gatewaysim {

namespace {
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}
} // namespace

RequestTarget RequestTarget::Parse(std::string_view target) {
  RequestTarget out;
  size_t fragment = target.find('#');
  if (fragment != std::string_view::npos) target = target.substr(0, fragment);
  for (std::string_view scheme : {"http://", "https://"}) {
    if (StartsWithNoCase(target, scheme)) {
      size_t slash = target.find('/', scheme.size());
      size_t question = target.find('?', scheme.size());
      size_t end = std::min(slash, question);
      target = end == std::string_view::npos ? std::string_view() : target.substr(end);
      break;
    }
  }
  size_t question = target.find('?');
  std::string_view rawPath = target.substr(0, question);
  if (question != std::string_view::npos) out.query = std::string(target.substr(question + 1));
  while (!rawPath.empty() && rawPath.front() == '/')
    rawPath.remove_prefix(1);
  out.path.reserve(rawPath.size());
  for (size_t i = 0; i < rawPath.size(); ++i) {
    if (rawPath[i] == '%' && i + 2 < rawPath.size() && HexValue(rawPath[i + 1]) >= 0 &&
        HexValue(rawPath[i + 2]) >= 0) {
      out.path.push_back(
          static_cast<char>(HexValue(rawPath[i + 1]) * 16 + HexValue(rawPath[i + 2])));
      i += 2;
    } else {
      out.path.push_back(rawPath[i]);
    }
  }
  return out;
}

} // namespace gatewaysim
