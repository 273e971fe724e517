#include "src/BatchOperations.h"

#include "src/Credentials.h"
#include "src/GatewayExchange.h"
#include "src/OptionBlock.h"
#include "src/ReplyGrammar.h"
#include "src/SmsState.h"

namespace parlink {

namespace {
constexpr char kEndBatchFailed[] = "End Batch Failed.";
}

bool BatchOperations::Precheck(bool needsBatch, Outcome &failure) {
  state_.error = 0;
  if (!state_.HasValidSession()) {
    failure = gateway_.FailNoSession();
    return false;
  }
  if (needsBatch && state_.batchId.empty()) {
    failure = gateway_.Fail(201, "No valid Batch ID", "ERR: 201");
    return false;
  }
  return true;
}

Outcome BatchOperations::StartBatch(std::string batchTemplate) {
  Outcome failure;
  if (!Precheck(false, failure)) return failure;
  state_.batchTemplate = std::move(batchTemplate);
  std::string body = SessionCredentials(state_);
  body += "&template=" + state_.Encoded(state_.batchTemplate);
  AppendOptionBlock(body, state_, OptionBlockLines{.withTo = false});
  Outcome outcome =
      gateway_.Run("http_batch/startbatch", body, PrefixJudge("ID:"), "Start Batch Failed.");
  if (outcome.ok) state_.batchId.assign(ReplyAfter(outcome.text, 4));
  return outcome;
}

std::string BatchOperations::ItemBody(const std::string &to) {
  std::string body = SessionCredentials(state_);
  body += "&batch_id=" + state_.batchId;
  body += "&to=" + state_.Encoded(to);
  return body;
}

Outcome BatchOperations::SendBatchItem(std::string to, const Fields &fields) {
  state_.to = std::move(to);
  Outcome failure;
  if (!Precheck(true, failure)) return failure;
  std::string body = ItemBody(state_.to);
  for (size_t i = 0; i < fields.size(); ++i) {
    if (!fields[i]) continue;
    body += "&field" + std::to_string(i + 1) + "=";
    body += state_.Encoded(*fields[i]);
  }
  return gateway_.Run("http_batch/senditem", body, PrefixJudge("ID:"), kEndBatchFailed);
}

Outcome BatchOperations::QuickBatchSend(std::string to) {
  state_.to = std::move(to);
  Outcome failure;
  if (!Precheck(true, failure)) return failure;
  return gateway_.Run("http_batch/quicksend", ItemBody(state_.to), PrefixJudge("ID:"),
                      kEndBatchFailed);
}

Outcome BatchOperations::EndBatch() {
  Outcome failure;
  if (!Precheck(true, failure)) return failure;
  std::string body = SessionCredentials(state_) + "&batch_id=" + state_.batchId;
  Outcome outcome = gateway_.Run("http_batch/endbatch", body, PrefixJudge("OK:"), kEndBatchFailed);
  // The batch is over once the request went out, whatever came back.
  state_.batchId.clear();
  return outcome;
}

} // namespace parlink
