#pragma once
// Status polling and server deletion. `QueryMessageStatus` asks the gateway
// for the delivery status and charge of sent messages, once a minute for
// every message that is due (with a back-off that ends after five queries)
// and on demand for chosen messages. `DeleteSMSFromServer` withdraws a
// message waiting on the gateway and deletes it from the outbox when the
// gateway accepts. Both run only on the communications worker, under the
// dispatch lock, and commit the store when they complete. A processor fault
// or an exception inside either is caught like one in a dispatch pass (crash
// report, "CRITICAL ERROR" line, the outbox view rebuilt).

#include "ApiMsgIdParser.h"
#include "EngineServices.h"
#include "WorkerOutput.h"
#include "WorkerState.h"

#include <vector>

namespace engine {

class StatusPoller {
public:
  StatusPoller(const EngineServices &services, WorkerState &state);

  // Every due message for -1 (advancing its back-off), or the one message.
  void QueryMessageStatus(int id);
  // True when every API id of the message was withdrawn (or the program is
  // offline), false when a withdrawal failed.
  bool DeleteSMSFromServer(int id);

private:
  void QueryPass(int id);
  int QueryMessage(const store::MessageRow &row);
  bool DeletePass(int id);

  const EngineServices &services_;
  WorkerState &state_;
  WorkerOutput out_;
  std::vector<ApiIdEntry> entries_;
};

} // namespace engine
