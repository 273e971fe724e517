#pragma once
// The active fault rules and the decision, per request, of which of them
// fire. Each rule draws from its own seeded sequence, so a given order of
// requests always meets the same failures. Thread-safe.

#include "PathPattern.h"

#include <gatewaysim/FaultSpec.h>

#include <cstdint>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace gatewaysim {

struct FaultDecision {
  int latencyMs = 0;               // sum of the latency rules that fired
  std::optional<FaultSpec> action; // the first other rule that fired
};

class FaultInjector {
public:
  // False with a message when the pattern is unusable.
  bool Add(const FaultSpec &spec, std::string &error);
  void Clear();
  FaultDecision Decide(const std::string &path);
  nlohmann::json ToJson() const;
  size_t Size() const;

  static nlohmann::json SpecToJson(const FaultSpec &spec);
  // From {"pattern", "regex", "kind", "p", "seed", "ms", "reply", "after",
  // "times", "skip"}; nothing with a message when malformed.
  static std::optional<FaultSpec> SpecFromJson(const nlohmann::json &json, std::string &error);

private:
  struct Rule {
    FaultSpec spec;
    PathPattern pattern;
    std::mt19937_64 random;
    int remaining;
    int toSkip;
  };
  static bool Draw(Rule &rule);

  mutable std::mutex mutex_;
  std::vector<Rule> rules_;
};

} // namespace gatewaysim
