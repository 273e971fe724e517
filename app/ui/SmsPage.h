#pragma once
// The SMS page. It fetches the balance when the main window's balance cycle
// ends (UM_REFRESH_BALANCE) and shows it; the composition controls join it
// later.

#include "PageFrame.h"
#include "UiContext.h"

namespace ui {

class BalanceLabel;

class SmsPage : public PageFrame {
  Q_OBJECT
public:
  static constexpr int kWidth = 632;
  static constexpr int kHeight = 352;

  SmsPage(const UiContext &context, QWidget *parent = nullptr);

  BalanceLabel *Balance() const { return balance_; }
  // Queries the balance while online, stores it in LastBalance and redraws
  // the label; emits BalanceRefreshed either way.
  void RefreshBalance();

  bool HandleCommand(int id) override;
  int RefreshCount() const { return refreshes_; }

signals:
  void BalanceRefreshed();

protected:
  bool event(QEvent *event) override;

private:
  UiContext context_;
  BalanceLabel *balance_;
  int refreshes_ = 0;
};

} // namespace ui
