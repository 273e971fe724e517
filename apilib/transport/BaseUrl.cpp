#include "transport/BaseUrl.h"

#include <cstdlib>

namespace parlink {

namespace {
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
} // namespace

bool ApplyBaseUrlRule(std::string_view candidate, std::string &baseUrl) {
  while (!candidate.empty() && IsBlank(candidate.front()))
    candidate.remove_prefix(1);
  while (!candidate.empty() && IsBlank(candidate.back()))
    candidate.remove_suffix(1);
  if (candidate.substr(0, 7) != "http://") return false;
  baseUrl.assign(candidate);
  if (baseUrl.back() != '/') baseUrl.push_back('/');
  return true;
}

std::string DefaultBaseUrl() {
  std::string url;
  ApplyBaseUrlRule(kCompiledBaseUrl, url);
  if (const char *fromEnv = std::getenv("PARLINK_BASE_URL")) ApplyBaseUrlRule(fromEnv, url);
  return url;
}

} // namespace parlink
