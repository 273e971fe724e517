// The base URL every request path is appended to, and the rule a new one
// has to pass.
#ifndef PARLINK_TRANSPORT_BASEURL_H
#define PARLINK_TRANSPORT_BASEURL_H

#include <string>
#include <string_view>

namespace parlink {

// The gateway address compiled into the library.
inline constexpr char kCompiledBaseUrl[] = "http://gateway.ostrand.example/";

// Trims blanks on both ends, requires the text to begin with "http://"
// (exactly, case-sensitive) and appends "/" when missing. On refusal
// `baseUrl` keeps its value and the result is false.
bool ApplyBaseUrlRule(std::string_view candidate, std::string &baseUrl);

// The compiled address, replaced by the environment variable
// PARLINK_BASE_URL when that is set and passes the rule.
std::string DefaultBaseUrl();

} // namespace parlink

#endif
