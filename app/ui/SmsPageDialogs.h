#pragma once
// What the SMS page's logic asks of its window: the boxes and file chooser
// (QtUserDialogs), the schedule dialog, the picture preview and the Outbox
// tab caption.

#include "QtUserDialogs.h"

#include "compose/ComposeUi.h"

#include <cstdint>
#include <functional>

namespace shell {
class SettingsFile;
struct Settings;
} // namespace shell

namespace ui {

class PicturePreview;

class SmsPageDialogs : public QtUserDialogsT<compose::ComposeUi> {
public:
  struct Hooks {
    const shell::Settings *settings = nullptr;
    shell::SettingsFile *settingsFile = nullptr;
    std::function<std::int64_t()> now;
    PicturePreview *preview = nullptr;
    std::function<void()> outboxChanged;
  };

  SmsPageDialogs(QWidget *owner, Hooks hooks) : QtUserDialogsT(owner), hooks_(std::move(hooks)) {}

  std::optional<compose::ScheduleChoice> AskSchedule() override;
  void ShowPicturePreview(const std::string &path) override;
  void RefreshOutboxCaption() override;

private:
  Hooks hooks_;
};

} // namespace ui
