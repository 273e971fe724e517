// One template sent to many recipients: start, items, quick sends, end.
#ifndef PARLINK_SRC_BATCHOPERATIONS_H
#define PARLINK_SRC_BATCHOPERATIONS_H

#include <array>
#include <optional>
#include <string>

#include "src/Outcome.h"

namespace parlink {

struct SmsState;
class GatewayExchange;

class BatchOperations {
public:
  static constexpr size_t kFieldCount = 9;
  using Fields = std::array<std::optional<std::string>, kFieldCount>;

  BatchOperations(SmsState &state, GatewayExchange &gateway) : state_(state), gateway_(gateway) {}

  Outcome StartBatch(std::string batchTemplate);
  // A field that is present is sent, even when empty; an absent one is not.
  Outcome SendBatchItem(std::string to, const Fields &fields);
  Outcome QuickBatchSend(std::string to);
  Outcome EndBatch();

private:
  // The session and batch checks; false with `failure` set when one fails.
  bool Precheck(bool needsBatch, Outcome &failure);
  std::string ItemBody(const std::string &to);

  SmsState &state_;
  GatewayExchange &gateway_;
};

} // namespace parlink

#endif
