#pragma once
// The schedule dialog ("MESSAGE SCHEDULE"): the first send time, the
// recurrence with the controls of the chosen mode, the number of messages
// and the upload to the server a few days early. It opens with the state
// remembered in the `SchedulingInfo` setting and stores it again on OK, then
// hands back the send times (engine/SendTimePlanner) and the upload choice.

#include "compose/ComposeUi.h"
#include "engine/SchedulingInfo.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class QStackedLayout;
class QWidget;

namespace shell {
class SettingsFile;
struct Settings;
} // namespace shell

namespace ui {

class ScheduleDialog : public QDialog {
  Q_OBJECT
public:
  // The setting that keeps the dialog's state.
  static constexpr const char *kSettingName = "SchedulingInfo";

  // `settingsFile` may be null (nothing remembered); `now` gives seconds
  // since 1970 (the system clock when empty).
  ScheduleDialog(const shell::Settings *settings, shell::SettingsFile *settingsFile,
                 std::function<std::int64_t()> now, QWidget *parent = nullptr);

  // The controls' state as the setting stores it, and back.
  engine::SchedulingInfo State() const;
  void SetState(const engine::SchedulingInfo &info);

  // OK: nothing happens while no recurrence is chosen or a weekly plan has
  // no day checked; otherwise the state is stored, the send times made and
  // the dialog accepted.
  void Ok();
  const compose::ScheduleChoice &Choice() const { return choice_; }

  // 1 Once Only, 2 Daily, 3 Weekly, 4 Monthly; 0 when none is checked.
  int Mode() const;

private:
  void Build();
  void FillLists();
  void RefillDays();
  void ShowModeControls();
  std::int64_t Now() const;

  const shell::Settings *settings_;
  shell::SettingsFile *settingsFile_;
  std::function<std::int64_t()> now_;
  compose::ScheduleChoice choice_;

  // The 27 controls of the setting, in its order (a list or a button).
  std::array<QWidget *, engine::SchedulingInfo::kCount> fields_{};
  QComboBox *month_ = nullptr;
  QComboBox *day_ = nullptr;
  QCheckBox *upload_ = nullptr;
  QComboBox *uploadDays_ = nullptr;
  QLabel *uploadLabel_ = nullptr;
  std::array<QRadioButton *, 4> modes_{};
  // The controls of each mode, one page per mode.
  QStackedLayout *panels_ = nullptr;
  QWidget *endAfter_ = nullptr;
};

} // namespace ui
