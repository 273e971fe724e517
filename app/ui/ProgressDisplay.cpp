#include "ProgressDisplay.h"

#include "AnimatedIndicator.h"
#include "UiText.h"

#include "engine/WindowMessages.h"

namespace ui {

ProgressDisplay::ProgressDisplay(BusyIndicator *busy,
                                 std::function<void(const QString &)> statusLine)
    : busy_(busy), statusLine_(std::move(statusLine)) {}

QString ProgressDisplay::Tooltip() const {
  return busy_->toolTip();
}

void ProgressDisplay::Show(const QString &text) {
  busy_->setToolTip(text);
  if (statusLine_) statusLine_(text);
}

void ProgressDisplay::Begin(unsigned message, int titleId, int formatId) {
  busy_->Start();
  busy_->show();
  title_ = Text(titleId);
  format_ = formatId ? Text(formatId) : QString();
  last_ = message;
  Show(title_);
}

bool ProgressDisplay::Handle(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  switch (message) {
  case engine::UM_PROGRESS_CONNECTING:
    Begin(message, 1184, 0);
    return true;
  case engine::UM_PROGRESS_ESCALATION:
    Begin(message, 1185, 1186);
    return true;
  case engine::UM_PROGRESS_SENDING:
    Begin(message, 1187, 1188);
    return true;
  case engine::UM_PROGRESS_QUERYING:
    Begin(message, 1189, 1190);
    return true;
  case engine::UM_PROGRESS_COUNT: {
    busy_->Start();
    busy_->show();
    if (last_ == engine::UM_PROGRESS_ESCALATION || last_ == engine::UM_PROGRESS_SENDING ||
        last_ == engine::UM_PROGRESS_QUERYING) {
      Show(FromAnsi(shell::InsertFormat(ToAnsi(format_), ToAnsi(title_), static_cast<int>(wParam),
                                        static_cast<int>(lParam))));
    }
    return true;
  }
  case engine::UM_PROGRESS_IDLE:
    busy_->Stop();
    busy_->hide();
    title_.clear();
    format_.clear();
    last_ = message;
    if (statusLine_) statusLine_(QString());
    return true;
  default:
    return false;
  }
}

} // namespace ui
