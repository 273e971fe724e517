#pragma once
// The Options page: the balance label, the page's load and store steps and
// the worker's UM_ACCOUNT_CHANGED (which takes the program offline). The
// settings controls join it later.

#include "PageFrame.h"
#include "UiContext.h"

namespace ui {

class BalanceLabel;

class OptionsPage : public PageFrame {
  Q_OBJECT
public:
  static constexpr int kWidth = 632;
  static constexpr int kHeight = 352;

  OptionsPage(const UiContext &context, QWidget *parent = nullptr);
  ~OptionsPage() override;

  // Settings to controls.
  void LoadPage();
  // Controls to settings, then SaveSettings.
  void StorePage();
  // WorkingOnLine := off, UM_WENT_OFFLINE to the main window, redraw.
  void GoOffline();

  BalanceLabel *Balance() const { return balance_; }
  void ShowBalance();
  int LoadCount() const { return loads_; }
  int StoreCount() const { return stores_; }

protected:
  bool event(QEvent *event) override;

private:
  UiContext context_;
  BalanceLabel *balance_;
  int loads_ = 0;
  int stores_ = 0;
};

} // namespace ui
