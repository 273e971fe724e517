#pragma once
// Compares what the program's store says about every queued destination
// with what the gateway simulator's request log says it accepted.

#include <map>
#include <string>
#include <vector>

namespace crashharness {

// One destination the harness queued: the message it belongs to, the
// token in that message's To list and the number the gateway sees.
struct QueuedDestination {
  int messageId = 0;
  bool multi = false; // the message has several destinations (child rows)
  std::string token;
  std::string number;
};

struct AuditCounts {
  int destinations = 0;
  int sent = 0;         // recorded with the gateway's id, accepted once
  int neverReached = 0; // Failed, and the gateway never had it
  int unknown = 0;      // Failed "outcome unknown", accepted at most once
  int lost = 0;         // no row, or still Pending
  int duplicates = 0;   // accepted by the gateway more than once
  int processing = 0;   // left Processing
  int phantom = 0;      // recorded as sent, but not (so) by the gateway
  int contradicted = 0; // "never reached" although the gateway had it
  int unexplained = 0;  // Failed without a reason
  int unsettled = 0;    // still marked "outcome unknown"
  int extraRows = 0;    // more than one row for a destination
  bool storeUsable = false;

  int Errors() const {
    return lost + duplicates + processing + phantom + contradicted + unexplained + unsettled +
           extraRows + (storeUsable ? 0 : 1);
  }
};

// The gateway's accepted message ids per number, read from the simulator's
// request log (JSON lines): single sends and batch chunks.
std::map<std::string, std::vector<std::string>> AcceptedByNumber(const std::string &logJsonLines);

AuditCounts Audit(const std::string &dataFolder, const std::vector<QueuedDestination> &queued,
                  const std::map<std::string, std::vector<std::string>> &accepted);

} // namespace crashharness
