#include "BalanceLabel.h"

#include "BalanceValue.h"
#include "Theme.h"

namespace ui {

BalanceLabel::BalanceLabel(int id, QWidget *parent) : QLabel(parent) {
  setObjectName(QString::number(id));
  setFont(theme::UiFont(10, QFont::DemiBold));
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  flash_.setInterval(kFlashMs);
  connect(&flash_, &QTimer::timeout, this, &BalanceLabel::Toggle);
}

void BalanceLabel::ShowBalance(int tenths, bool online) {
  text_ = BalanceValue::Label(tenths, online);
  setText(text_);
}

void BalanceLabel::StartFlashing() {
  if (!flash_.isActive()) flash_.start();
}

void BalanceLabel::StopFlashing() {
  flash_.stop();
  dim_ = false;
  setStyleSheet(QString());
  setText(text_);
}

void BalanceLabel::Toggle() {
  dim_ = !dim_;
  setStyleSheet(dim_ ? "color: #CBD5E1;" : QString());
}

} // namespace ui
