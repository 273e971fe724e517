#pragma once
// The main window's balance refresh (its timer id 1, 10 s): a balance change
// starts a cycle; changes during a running cycle only set the "again" flag,
// so any number of them lead to exactly one more cycle. At the end of a
// cycle the SMS page is told to fetch the balance.

#include <QObject>
#include <QTimer>

#include <functional>

namespace ui {

class BalanceRefreshCycle : public QObject {
  Q_OBJECT
public:
  static constexpr int kTimerId = 1;
  static constexpr int kPeriodMs = 10000;

  struct Actions {
    std::function<void()> refresh;   // post UM_REFRESH_BALANCE to the SMS page
    std::function<void()> postAgain; // post UM_BALANCE_CHANGED to the window
    std::function<void()> flash;     // start the balance labels flashing
  };

  explicit BalanceRefreshCycle(Actions actions, QObject *parent = nullptr);

  // UM_BALANCE_CHANGED.
  void OnBalanceChanged();
  // The timer's tick (connected to the timer; tests may call it directly).
  void OnTimer();

  bool TimerRunning() const { return running_; }
  bool Again() const { return again_; }
  QTimer &Timer() { return timer_; }

private:
  Actions actions_;
  QTimer timer_;
  bool running_ = false;
  bool again_ = false;
};

} // namespace ui
