#pragma once
// Which items of the Outbox list's context menu ("Context") are enabled,
// from the status of the row under the cursor and the online state.

#include <optional>

namespace ui {

struct OutboxMenuRules {
  bool edit = false;
  bool copy = false;
  bool remove = false;
  bool sendNow = false;
  bool selectAll = true;
  bool resend = false;
  bool refresh = false;
  // "Resend to undelivered" is offered on Expanded rows only.
  bool offerResendUndelivered = false;

  // `status` is that of the row under the cursor, nothing when there is no
  // row there (or it cannot be read).
  static OutboxMenuRules For(std::optional<int> status, bool online);
};

} // namespace ui
