#pragma once
// Batches: http_batch/startbatch, http_batch/senditem, http_batch/quicksend
// and http_batch/endbatch. The caller holds the state's mutex.

#include "FormParams.h"
#include "GatewayState.h"

#include <string>

namespace gatewaysim {

class BatchService {
public:
  explicit BatchService(GatewayState &state) : state_(state) {}

  std::string StartBatch(const FormParams &params, int64_t nowMs); // "ID: <batch id>"
  std::string SendItem(const FormParams &params, int64_t nowMs);   // "ID: <id> To: <number>"
  // One line per number, "ID: <id> To: <number>" or
  // "ERR: <code>, <text> To: <number>", separated by "\n".
  std::string QuickSend(const FormParams &params, int64_t nowMs);
  std::string EndBatch(const FormParams &params, int64_t nowMs); // "OK: ..."

private:
  // The open batch named by batch_id that belongs to the session's account.
  SimBatch *OpenBatch(const FormParams &params, int64_t nowMs, std::string &error);
  // One item of `batch` to `to` with the template filled in.
  std::string SendOne(SimBatch &batch, const std::string &to, const std::string &text,
                      int64_t nowMs);

  GatewayState &state_;
};

} // namespace gatewaysim
