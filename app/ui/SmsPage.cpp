#include "SmsPage.h"

#include "BalanceLabel.h"
#include "BalanceValue.h"
#include "ControlIds.h"
#include "WindowMessage.h"

#include "engine/EngineServices.h"
#include "engine/GatewayApi.h"
#include "engine/WindowMessages.h"
#include "shell/Settings.h"

#include <mutex>

namespace ui {

SmsPage::SmsPage(const UiContext &context, QWidget *parent)
    : PageFrame(ids::kPageSms, "SMS", QSize(kWidth, kHeight), parent), context_(context) {
  balance_ = new BalanceLabel(ids::kSmsBalance, this);
  balance_->setGeometry(width() - kMargin - 220, 10, 220, 28);
  if (context_.settings)
    balance_->ShowBalance(context_.settings->LastBalance,
                          engine::IsWorkingOnLine(*context_.settings));
  SetPlaceholder("Write a message and choose its recipients here.");
}

bool SmsPage::event(QEvent *event) {
  if (auto *m = WindowMessageEvent::From(event); m && m->Message() == engine::UM_REFRESH_BALANCE) {
    RefreshBalance();
    return true;
  }
  return PageFrame::event(event);
}

void SmsPage::RefreshBalance() {
  ++refreshes_;
  if (context_.settings && engine::IsWorkingOnLine(*context_.settings) && context_.gateway) {
    std::string result;
    int code = -1;
    {
      std::lock_guard unit(context_.gateway->CallLock());
      if (SUCCEEDED(context_.gateway->QueryBalance(&result))) code = context_.gateway->LastError();
    }
    if (code == 0) {
      if (auto tenths = BalanceValue::ParseTenths(result)) context_.settings->LastBalance = *tenths;
    }
  }
  balance_->StopFlashing();
  if (context_.settings)
    balance_->ShowBalance(context_.settings->LastBalance,
                          engine::IsWorkingOnLine(*context_.settings));
  emit BalanceRefreshed();
}

bool SmsPage::HandleCommand(int id) {
  if (id == ids::kSendSms) return false; // the composition controls send
  return EditCommand(id);
}

} // namespace ui
