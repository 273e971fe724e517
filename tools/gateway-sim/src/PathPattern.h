#pragma once
// Matches request paths against a glob ("*" any run, "?" one character) or
// an ECMAScript regular expression matched in full.

#include <memory>
#include <optional>
// GCC 12 reports false "maybe uninitialized" warnings inside <regex> when
// building with sanitizers.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <regex>
#pragma GCC diagnostic pop
#else
#include <regex>
#endif
#include <string>

namespace gatewaysim {

class PathPattern {
public:
  // Nothing, with a message in `error`, when the regular expression is bad.
  static std::optional<PathPattern> Make(const std::string &pattern, bool regex,
                                         std::string &error);
  bool Matches(const std::string &path) const;
  static bool GlobMatch(const std::string &glob, const std::string &text);

private:
  std::string glob_;
  std::shared_ptr<const std::regex> regex_;
};

} // namespace gatewaysim
