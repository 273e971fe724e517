#pragma once
// What the SMS page's logic needs from its window besides message boxes and
// file choosers: the schedule dialog, the picture preview, and the Outbox
// tab caption.

#include "contacts/UserDialogs.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace compose {

// What the schedule dialog hands back on OK.
struct ScheduleChoice {
  std::vector<std::int64_t> sendTimes; // seconds since 1970, in order
  bool upload = false;                 // "Upload message to server within" checked
  int uploadDays = 1;                  // X, 1 to 7
};

class ComposeUi : public contacts::UserDialogs {
public:
  // Shows the schedule dialog; nothing when the user cancelled.
  virtual std::optional<ScheduleChoice> AskSchedule() = 0;
  // Loads the picture file, reduces it to one bit per pixel, resamples it to
  // 48 x 48 and shows it in the preview control.
  virtual void ShowPicturePreview(const std::string &path) = 0;
  // The outbox count changed: redraw the Outbox tab caption.
  virtual void RefreshOutboxCaption() = 0;
};

} // namespace compose
