#pragma once
// One fault-injection rule: which request paths it applies to, what it does
// and how often. Rules are given on the command line, in the options of an
// in-process server, or at run time through the admin interface.

#include <cstdint>
#include <optional>
#include <string>

namespace gatewaysim {

enum class FaultKind {
  Latency, // answer normally, but only after `latencyMs`
  Stall,   // never answer; the connection is dropped after `stallMs`
  Drop,    // close the connection without any reply
  Http500, // answer "500 Internal Server Error"
  Garbage, // answer 200 with an HTML page instead of a reply line
  Error,   // answer the gateway error line `reply`
};

struct FaultSpec {
  // Request path without the leading "/", e.g. "http/sendmsg". A glob ("*"
  // matches any run of characters, "?" one character) unless `regex` is set,
  // in which case it is an ECMAScript regular expression matched in full.
  std::string pattern = "*";
  bool regex = false;
  FaultKind kind = FaultKind::Error;
  double probability = 1.0; // 0..1, drawn per matching request
  uint64_t seed = 1;        // seed of the rule's own random sequence
  int latencyMs = 0;        // Latency: added delay
  int stallMs = 600000;     // Stall: how long the request is held at most
  std::string reply = "ERR: 901, Service temporarily unavailable"; // Error
  bool afterProcessing = false; // Drop/Http500/Garbage/Error: run the request first
  int times = -1;               // how many times the rule may fire; -1 unlimited
  int skip = 0;                 // matching requests let through before the rule applies
};

const char *FaultKindName(FaultKind kind);
std::optional<FaultKind> FaultKindFromName(const std::string &name);

// Parses the command-line form "PATTERN=KIND[,key=value...]" with the keys
// p (probability), seed, ms (latency or stall time), reply, after (0/1),
// times, skip and regex (0/1). Returns nothing and sets `error` when malformed.
std::optional<FaultSpec> ParseFaultSpec(const std::string &text, std::string &error);

} // namespace gatewaysim
