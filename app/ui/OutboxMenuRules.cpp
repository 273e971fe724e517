#include "OutboxMenuRules.h"

#include "store/MessageRow.h"

namespace ui {

OutboxMenuRules OutboxMenuRules::For(std::optional<int> status, bool online) {
  OutboxMenuRules rules;
  // Nothing but "Select All" without a row, or on a row that the SMS page
  // or the worker is busy with.
  if (!status || *status == store::StatEditing || *status == store::StatProcessing) return rules;
  const int s = *status;
  rules.copy = rules.remove = rules.sendNow = rules.resend = true;
  rules.refresh = s != store::StatExpanded;
  rules.edit = s == store::StatScheduled || s == store::StatDelayScheduled ||
               (s == store::StatPending && !online);
  rules.offerResendUndelivered = s == store::StatExpanded;
  return rules;
}

} // namespace ui
