#pragma once
// A balance label ("Balance: 12.5"). While a new balance is awaited it
// flashes: its text toggles on its own 500 ms timer until stopped.

#include <QLabel>
#include <QTimer>

namespace ui {

class BalanceLabel : public QLabel {
  Q_OBJECT
public:
  static constexpr int kFlashMs = 500;

  BalanceLabel(int id, QWidget *parent = nullptr);

  void ShowBalance(int tenths, bool online);
  void StartFlashing();
  void StopFlashing();
  bool IsFlashing() const { return flash_.isActive(); }

private:
  void Toggle();

  QString text_;
  bool dim_ = false;
  QTimer flash_;
};

} // namespace ui
