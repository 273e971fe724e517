#include "SmsPageDialogs.h"

#include "PicturePreview.h"
#include "ScheduleDialog.h"

#include <QFile>

namespace ui {

std::optional<compose::ScheduleChoice> SmsPageDialogs::AskSchedule() {
  ScheduleDialog dialog(hooks_.settings, hooks_.settingsFile, hooks_.now, owner_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Choice();
}

void SmsPageDialogs::ShowPicturePreview(const std::string &path) {
  if (hooks_.preview) hooks_.preview->Show(QFile::decodeName(QByteArray::fromStdString(path)));
}

void SmsPageDialogs::RefreshOutboxCaption() {
  if (hooks_.outboxChanged) hooks_.outboxChanged();
}

} // namespace ui
