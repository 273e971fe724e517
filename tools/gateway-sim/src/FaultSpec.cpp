#include <gatewaysim/FaultSpec.h>

#include <charconv>
#include <cstdlib>

namespace gatewaysim {

namespace {
struct KindName {
  FaultKind kind;
  const char *name;
};
constexpr KindName kKinds[] = {
    {FaultKind::Latency, "latency"}, {FaultKind::Stall, "stall"},     {FaultKind::Drop, "drop"},
    {FaultKind::Http500, "http500"}, {FaultKind::Garbage, "garbage"}, {FaultKind::Error, "error"},
};

template <typename T> bool ReadInt(const std::string &text, T &out) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size();
}

bool ReadBool(const std::string &text, bool &out) {
  if (text == "1" || text == "true" || text == "yes") {
    out = true;
  } else if (text == "0" || text == "false" || text == "no") {
    out = false;
  } else {
    return false;
  }
  return true;
}
} // namespace

const char *FaultKindName(FaultKind kind) {
  for (const auto &k : kKinds) {
    if (k.kind == kind) return k.name;
  }
  return "error";
}

std::optional<FaultKind> FaultKindFromName(const std::string &name) {
  for (const auto &k : kKinds) {
    if (name == k.name) return k.kind;
  }
  if (name == "500") return FaultKind::Http500;
  if (name == "html") return FaultKind::Garbage;
  return std::nullopt;
}

std::optional<FaultSpec> ParseFaultSpec(const std::string &text, std::string &error) {
  size_t eq = text.rfind('=', text.find(','));
  // The pattern ends at the "=" that precedes the kind: the last "=" before
  // the first ",", so that "p=0.5" style keys after the kind are not taken.
  if (eq == std::string::npos || eq == 0) {
    error = "expected PATTERN=KIND[,key=value...]: " + text;
    return std::nullopt;
  }
  FaultSpec spec;
  spec.pattern = text.substr(0, eq);
  if (!spec.pattern.empty() && spec.pattern[0] == '/') spec.pattern.erase(0, 1);
  std::string rest = text.substr(eq + 1);
  size_t comma = rest.find(',');
  std::string kind = rest.substr(0, comma);
  auto parsedKind = FaultKindFromName(kind);
  if (!parsedKind) {
    error = "unknown fault kind \"" + kind + "\" (latency, stall, drop, http500, garbage, error)";
    return std::nullopt;
  }
  spec.kind = *parsedKind;
  while (comma != std::string::npos) {
    size_t next = rest.find(',', comma + 1);
    std::string item =
        rest.substr(comma + 1, next == std::string::npos ? std::string::npos : next - comma - 1);
    comma = next;
    size_t keq = item.find('=');
    std::string key = item.substr(0, keq);
    std::string value = keq == std::string::npos ? "" : item.substr(keq + 1);
    if (key == "reply") {
      // The reply is the rest of the text, commas included.
      spec.reply = comma == std::string::npos ? value : value + rest.substr(comma);
      break;
    }
    bool ok = true;
    if (key == "p") {
      char *end = nullptr;
      spec.probability = std::strtod(value.c_str(), &end);
      ok = !value.empty() && *end == 0 && spec.probability >= 0 && spec.probability <= 1;
    } else if (key == "seed") {
      ok = ReadInt(value, spec.seed);
    } else if (key == "ms") {
      int ms = 0;
      ok = ReadInt(value, ms) && ms >= 0;
      spec.latencyMs = ms;
      spec.stallMs = ms;
    } else if (key == "times") {
      ok = ReadInt(value, spec.times);
    } else if (key == "skip") {
      ok = ReadInt(value, spec.skip) && spec.skip >= 0;
    } else if (key == "after") {
      ok = ReadBool(value, spec.afterProcessing);
    } else if (key == "regex") {
      ok = ReadBool(value, spec.regex);
    } else {
      ok = false;
    }
    if (!ok) {
      error = "bad fault option \"" + item + "\" in " + text;
      return std::nullopt;
    }
  }
  return spec;
}

} // namespace gatewaysim
