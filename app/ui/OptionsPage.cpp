#include "OptionsPage.h"

#include "BalanceLabel.h"
#include "ControlIds.h"
#include "QtMessagePoster.h"
#include "WindowMessage.h"

#include "engine/EngineServices.h"
#include "engine/WindowMessages.h"
#include "shell/Settings.h"
#include "shell/SettingsFile.h"

namespace ui {

OptionsPage::OptionsPage(const UiContext &context, QWidget *parent)
    : PageFrame(ids::kPageOptions, "Options", QSize(kWidth, kHeight), parent), context_(context) {
  balance_ = new BalanceLabel(ids::kOptionsBalance, this);
  balance_->setGeometry(width() - kMargin - 220, 10, 220, 28);
  ShowBalance();
  SetPlaceholder("Preferences, sending options, the proxy and vouchers are set here.");
  if (context_.poster) context_.poster->SetTarget(engine::WindowTarget::OptionsPage, this);
}

OptionsPage::~OptionsPage() {
  if (context_.poster && context_.poster->Target(engine::WindowTarget::OptionsPage) == this)
    context_.poster->SetTarget(engine::WindowTarget::OptionsPage, nullptr);
}

void OptionsPage::ShowBalance() {
  if (context_.settings)
    balance_->ShowBalance(context_.settings->LastBalance,
                          engine::IsWorkingOnLine(*context_.settings));
}

void OptionsPage::LoadPage() {
  ++loads_;
  ShowBalance();
}

void OptionsPage::StorePage() {
  ++stores_;
  if (context_.settings && context_.settingsFile)
    shell::SaveSettings(*context_.settings, *context_.settingsFile);
}

void OptionsPage::GoOffline() {
  if (context_.settings) engine::SetWorkingOnLine(*context_.settings, false);
  if (context_.poster)
    context_.poster->Post(engine::WindowTarget::MainWindow, engine::UM_WENT_OFFLINE, 0, 0);
  ShowBalance();
}

bool OptionsPage::event(QEvent *event) {
  if (auto *m = WindowMessageEvent::From(event); m && m->Message() == engine::UM_ACCOUNT_CHANGED) {
    GoOffline();
    return true;
  }
  return PageFrame::event(event);
}

} // namespace ui
