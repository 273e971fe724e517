#include "FaultInjector.h"

#include <codepage/Codepage.h>

namespace gatewaysim {

bool FaultInjector::Add(const FaultSpec &spec, std::string &error) {
  auto pattern = PathPattern::Make(spec.pattern, spec.regex, error);
  if (!pattern) return false;
  std::lock_guard lock(mutex_);
  rules_.push_back(Rule{spec, *pattern, std::mt19937_64(spec.seed), spec.times, spec.skip});
  return true;
}

void FaultInjector::Clear() {
  std::lock_guard lock(mutex_);
  rules_.clear();
}

size_t FaultInjector::Size() const {
  std::lock_guard lock(mutex_);
  return rules_.size();
}

bool FaultInjector::Draw(Rule &rule) {
  // 53 random bits as a fraction in [0, 1).
  double u = static_cast<double>(rule.random() >> 11) * (1.0 / 9007199254740992.0);
  return u < rule.spec.probability;
}

FaultDecision FaultInjector::Decide(const std::string &path) {
  FaultDecision decision;
  std::lock_guard lock(mutex_);
  for (Rule &rule : rules_) {
    if (rule.remaining == 0 || !rule.pattern.Matches(path)) continue;
    if (rule.toSkip > 0) {
      --rule.toSkip;
      continue;
    }
    bool latency = rule.spec.kind == FaultKind::Latency;
    if (!latency && decision.action) continue;
    if (!Draw(rule)) continue;
    if (rule.remaining > 0) --rule.remaining;
    if (latency) {
      decision.latencyMs += rule.spec.latencyMs;
    } else {
      decision.action = rule.spec;
    }
  }
  return decision;
}

nlohmann::json FaultInjector::SpecToJson(const FaultSpec &spec) {
  return {{"pattern", codepage::AnsiToUtf8(spec.pattern)},
          {"regex", spec.regex},
          {"kind", FaultKindName(spec.kind)},
          {"p", spec.probability},
          {"seed", spec.seed},
          {"ms", spec.kind == FaultKind::Stall ? spec.stallMs : spec.latencyMs},
          {"reply", codepage::AnsiToUtf8(spec.reply)},
          {"after", spec.afterProcessing},
          {"times", spec.times},
          {"skip", spec.skip}};
}

nlohmann::json FaultInjector::ToJson() const {
  std::lock_guard lock(mutex_);
  nlohmann::json list = nlohmann::json::array();
  for (const Rule &rule : rules_) {
    nlohmann::json item = SpecToJson(rule.spec);
    item["remaining"] = rule.remaining;
    list.push_back(std::move(item));
  }
  return list;
}

std::optional<FaultSpec> FaultInjector::SpecFromJson(const nlohmann::json &json,
                                                     std::string &error) {
  if (!json.is_object()) {
    error = "a fault must be an object";
    return std::nullopt;
  }
  FaultSpec spec;
  try {
    if (json.contains("pattern"))
      spec.pattern = codepage::Utf8ToAnsi(json.at("pattern").get<std::string>());
    if (!spec.pattern.empty() && spec.pattern[0] == '/') spec.pattern.erase(0, 1);
    if (json.contains("regex")) spec.regex = json.at("regex").get<bool>();
    std::string kind = json.value("kind", std::string("error"));
    auto parsed = FaultKindFromName(kind);
    if (!parsed) {
      error = "unknown fault kind \"" + kind + "\"";
      return std::nullopt;
    }
    spec.kind = *parsed;
    if (json.contains("p")) spec.probability = json.at("p").get<double>();
    if (json.contains("seed")) spec.seed = json.at("seed").get<uint64_t>();
    if (json.contains("ms")) {
      int ms = json.at("ms").get<int>();
      spec.latencyMs = ms;
      spec.stallMs = ms;
    }
    if (json.contains("reply"))
      spec.reply = codepage::Utf8ToAnsi(json.at("reply").get<std::string>());
    if (json.contains("after")) spec.afterProcessing = json.at("after").get<bool>();
    if (json.contains("times")) spec.times = json.at("times").get<int>();
    if (json.contains("skip")) spec.skip = json.at("skip").get<int>();
  } catch (const nlohmann::json::exception &e) {
    error = std::string("bad fault: ") + e.what();
    return std::nullopt;
  }
  if (!(spec.probability >= 0 && spec.probability <= 1) || spec.latencyMs < 0 || spec.skip < 0) {
    error = "bad fault: p must lie in 0..1, ms and skip must not be negative";
    return std::nullopt;
  }
  return spec;
}

} // namespace gatewaysim
