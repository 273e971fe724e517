#include "PathPattern.h"

namespace gatewaysim {

std::optional<PathPattern> PathPattern::Make(const std::string &pattern, bool regex,
                                             std::string &error) {
  PathPattern p;
  if (regex) {
    try {
      p.regex_ = std::make_shared<const std::regex>(pattern, std::regex::ECMAScript);
    } catch (const std::regex_error &e) {
      error = "bad regular expression \"" + pattern + "\": " + e.what();
      return std::nullopt;
    }
  } else {
    p.glob_ = !pattern.empty() && pattern[0] == '/' ? pattern.substr(1) : pattern;
  }
  return p;
}

bool PathPattern::Matches(const std::string &path) const {
  if (regex_) return std::regex_match(path, *regex_);
  return GlobMatch(glob_, path);
}

bool PathPattern::GlobMatch(const std::string &glob, const std::string &text) {
  size_t g = 0, t = 0;
  size_t starG = std::string::npos, starT = 0;
  while (t < text.size()) {
    if (g < glob.size() && (glob[g] == '?' || glob[g] == text[t])) {
      ++g;
      ++t;
    } else if (g < glob.size() && glob[g] == '*') {
      starG = g++;
      starT = t;
    } else if (starG != std::string::npos) {
      g = starG + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (g < glob.size() && glob[g] == '*')
    ++g;
  return g == glob.size();
}

} // namespace gatewaysim
