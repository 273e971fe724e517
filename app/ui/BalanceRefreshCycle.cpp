#include "BalanceRefreshCycle.h"

namespace ui {

BalanceRefreshCycle::BalanceRefreshCycle(Actions actions, QObject *parent)
    : QObject(parent), actions_(std::move(actions)) {
  timer_.setInterval(kPeriodMs);
  connect(&timer_, &QTimer::timeout, this, &BalanceRefreshCycle::OnTimer);
}

void BalanceRefreshCycle::OnBalanceChanged() {
  if (!running_) {
    running_ = true;
    again_ = false;
    timer_.start();
  } else {
    again_ = true;
  }
  if (actions_.flash) actions_.flash();
}

void BalanceRefreshCycle::OnTimer() {
  if (actions_.refresh) actions_.refresh();
  running_ = false;
  if (again_) {
    if (actions_.postAgain) actions_.postAgain();
  } else {
    timer_.stop();
  }
}

} // namespace ui
