#pragma once
// The Outbox tab's caption: "Outbox (%d)" (string 1139) with the number of
// messages waiting to go, or "Outbox (>999)" (string 1138) above 999.

#include <QString>

namespace ui {

class OutboxCaption {
public:
  static constexpr int kMaxShown = 999;
  static QString Text(int waiting);
};

} // namespace ui
