#include "ScheduleDialog.h"

#include "ControlIds.h"
#include "Theme.h"
#include "UiText.h"

#include "engine/SchedulePlan.h"
#include "engine/SendTimePlanner.h"
#include "shell/Settings.h"
#include "shell/SettingsFile.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>
#include <ctime>

namespace ui {

namespace {

template <class W> W *Named(W *w, int id, const QString &accessible) {
  w->setObjectName(QString::number(id));
  w->setAccessibleName(accessible);
  return w;
}

// A list of the numbers first..last.
QComboBox *NumberList(QWidget *parent, int id, const QString &accessible, int first, int last) {
  auto *list = Named(new QComboBox(parent), id, accessible);
  for (int n = first; n <= last; ++n)
    list->addItem(QString::number(n), n);
  list->setCurrentIndex(0);
  return list;
}

// A label list: its label, then texts.
QComboBox *LabelList(QWidget *parent, int id, const QString &accessible, const QStringList &items) {
  auto *list = Named(new QComboBox(parent), id, accessible);
  list->addItems(items);
  list->setCurrentIndex(0);
  return list;
}

QLabel *Caption(const QString &text, QWidget *parent) {
  auto *label = new QLabel(text, parent);
  label->setProperty("role", "muted");
  return label;
}

int CurrentYear(std::int64_t now) {
  std::time_t t = static_cast<std::time_t>(now);
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm.tm_year + 1900;
}

} // namespace

ScheduleDialog::ScheduleDialog(const shell::Settings *settings, shell::SettingsFile *settingsFile,
                               std::function<std::int64_t()> now, QWidget *parent)
    : QDialog(parent), settings_(settings), settingsFile_(settingsFile), now_(std::move(now)) {
  setObjectName(QString::number(ids::kDialogSchedule));
  setWindowTitle("MESSAGE SCHEDULE");
  setAccessibleName("MESSAGE SCHEDULE");
  setStyleSheet(theme::StyleSheet());
  setFont(theme::UiFont(9.5));
  Build();

  // The remembered state, or the defaults.
  std::string stored;
  engine::SchedulingInfo info = engine::SchedulingInfo::Defaults();
  if (settingsFile_ && settingsFile_->GetString(kSettingName, stored)) info.Decode(stored);
  SetState(info);

  const bool toServer = settings_ && settings_->ScheduleToServer;
  upload_->setChecked(toServer);
  for (QWidget *w : std::initializer_list<QWidget *>{upload_, uploadDays_, uploadLabel_})
    w->setEnabled(toServer);
  const int days = settings_ ? settings_->UploadToServerXDaysBefore : 1;
  uploadDays_->setCurrentIndex(std::clamp(days - 1, 0, uploadDays_->count() - 1));
  ShowModeControls();
}

std::int64_t ScheduleDialog::Now() const {
  if (now_) return now_();
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

void ScheduleDialog::Build() {
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 14, 16, 12);
  layout->setSpacing(10);
  auto *title = new QLabel("MESSAGE SCHEDULE", this);
  title->setProperty("role", "title");
  title->setFont(theme::UiFont(11, QFont::Bold));
  layout->addWidget(title);

  // "Send on:"
  QStringList months{Text(1456)};
  for (int id = 1457; id <= 1468; ++id)
    months << Text(id);
  month_ = LabelList(this, ids::kSchedMonth, "Month", months);
  day_ = LabelList(this, ids::kSchedDay, "Day", {"Day"});
  QStringList hours{"Hour"}, minutes{"Min"};
  for (int h = 0; h < 24; ++h)
    hours << QString::asprintf("%02d", h);
  for (int m = 0; m < 60; ++m)
    minutes << QString::asprintf("%02d", m);
  auto *hour = LabelList(this, ids::kSchedHour, "Hour", hours);
  auto *minute = LabelList(this, ids::kSchedMinute, "Minute", minutes);
  auto *sendOn = new QGroupBox("Send on:", this);
  auto *sendRow = new QHBoxLayout(sendOn);
  sendRow->addWidget(month_, 3);
  sendRow->addWidget(day_, 2);
  sendRow->addSpacing(10);
  sendRow->addWidget(hour, 2);
  sendRow->addWidget(Caption(":", sendOn));
  sendRow->addWidget(minute, 2);
  layout->addWidget(sendOn);
  connect(month_, &QComboBox::currentIndexChanged, this, [this] { RefillDays(); });

  // "Recurrence:" with the four modes on the left, the chosen mode's
  // controls on the right.
  auto *recurrence = new QGroupBox("Recurrence:", this);
  auto *recurrenceRow = new QHBoxLayout(recurrence);
  auto *modeColumn = new QVBoxLayout;
  auto *modeGroup = new QButtonGroup(this);
  const struct {
    int id;
    const char *text;
  } modes[4] = {{ids::kSchedOnce, "Once Only"},
                {ids::kSchedDaily, "Daily"},
                {ids::kSchedWeekly, "Weekly"},
                {ids::kSchedMonthly, "Monthly"}};
  for (int i = 0; i < 4; ++i) {
    modes_[i] = Named(new QRadioButton(modes[i].text, recurrence), modes[i].id, modes[i].text);
    modeGroup->addButton(modes_[i]);
    modeColumn->addWidget(modes_[i]);
    connect(modes_[i], &QRadioButton::toggled, this, [this](bool on) {
      if (on) ShowModeControls();
    });
  }
  modeColumn->addStretch(1);
  recurrenceRow->addLayout(modeColumn);
  auto *divider = new QFrame(recurrence);
  divider->setFrameShape(QFrame::VLine);
  divider->setStyleSheet("color: #D5DDEA;");
  recurrenceRow->addWidget(divider);

  auto *right = new QVBoxLayout;
  auto *panels = panels_ = new QStackedLayout;
  auto *once = new QWidget(recurrence);
  auto *onceRow = new QVBoxLayout(once);
  onceRow->setContentsMargins(0, 0, 0, 0);
  auto *onceNote = Caption("The message is sent once, at the time above.", once);
  onceNote->setWordWrap(true);
  onceRow->addWidget(onceNote);
  onceRow->addStretch(1);
  panels->addWidget(once);

  // Daily.
  auto *daily = new QWidget(recurrence);
  auto *dailyGrid = new QGridLayout(daily);
  dailyGrid->setContentsMargins(0, 0, 0, 0);
  auto *dailyEvery = Named(new QRadioButton("Every", daily), ids::kSchedDailyEvery, "Every");
  auto *dailyCount = NumberList(daily, ids::kSchedDailyCount, "Every how many days", 1, 14);
  auto *everyWeekday =
      Named(new QRadioButton("Every weekday", daily), ids::kSchedEveryWeekday, "Every weekday");
  auto *dailyGroup = new QButtonGroup(daily);
  dailyGroup->addButton(dailyEvery);
  dailyGroup->addButton(everyWeekday);
  dailyGrid->addWidget(dailyEvery, 0, 0);
  dailyGrid->addWidget(dailyCount, 0, 1);
  dailyGrid->addWidget(Caption("day(s)", daily), 0, 2);
  dailyGrid->addWidget(everyWeekday, 1, 0, 1, 3);
  dailyGrid->setColumnStretch(3, 1);
  dailyGrid->setRowStretch(2, 1);
  panels->addWidget(daily);

  // Weekly.
  auto *weekly = new QWidget(recurrence);
  auto *weeklyGrid = new QGridLayout(weekly);
  weeklyGrid->setContentsMargins(0, 0, 0, 0);
  weeklyGrid->setHorizontalSpacing(10);
  auto *weeklyCount = NumberList(weekly, ids::kSchedWeeklyCount, "Every how many weeks", 1, 4);
  auto *everyRow = new QHBoxLayout;
  everyRow->addWidget(Caption("Every", weekly));
  everyRow->addWidget(weeklyCount);
  everyRow->addWidget(Caption("week(s) on:", weekly));
  everyRow->addStretch(1);
  weeklyGrid->addLayout(everyRow, 0, 0, 1, 4);
  const int dayIds[7] = {ids::kSchedMonday,   ids::kSchedTuesday, ids::kSchedWednesday,
                         ids::kSchedThursday, ids::kSchedFriday,  ids::kSchedSaturday,
                         ids::kSchedSunday};
  std::array<QCheckBox *, 7> dayBoxes{};
  for (int i = 0; i < 7; ++i) {
    const QString name = Text(1472 + i);
    dayBoxes[i] = Named(new QCheckBox(name, weekly), dayIds[i], name);
    weeklyGrid->addWidget(dayBoxes[i], 1 + i / 4, i % 4);
  }
  weeklyGrid->setRowStretch(3, 1);
  panels->addWidget(weekly);

  // Monthly.
  auto *monthly = new QWidget(recurrence);
  auto *monthlyGrid = new QGridLayout(monthly);
  monthlyGrid->setContentsMargins(0, 0, 0, 0);
  monthlyGrid->setHorizontalSpacing(6);
  auto *monthlyDay = Named(new QRadioButton("Day", monthly), ids::kSchedMonthlyDay, "Day");
  auto *dayOfMonth = NumberList(monthly, ids::kSchedDayOfMonth, "Day of the month", 1, 30);
  auto *dayEvery =
      NumberList(monthly, ids::kSchedMonthlyDayEvery, "Every how many months (day)", 1, 12);
  auto *monthlyThe = Named(new QRadioButton("The", monthly), ids::kSchedMonthlyThe, "The");
  QStringList ordinals, weekdays;
  for (int id = 1479; id <= 1482; ++id)
    ordinals << Text(id);
  for (int id = 1472; id <= 1478; ++id)
    weekdays << Text(id);
  auto *ordinal = LabelList(monthly, ids::kSchedOrdinal, "Which weekday of the month", ordinals);
  auto *weekday = LabelList(monthly, ids::kSchedWeekday, "Weekday", weekdays);
  auto *theEvery =
      NumberList(monthly, ids::kSchedMonthlyTheEvery, "Every how many months (weekday)", 1, 12);
  auto *monthlyGroup = new QButtonGroup(monthly);
  monthlyGroup->addButton(monthlyDay);
  monthlyGroup->addButton(monthlyThe);
  auto *dayRow = new QHBoxLayout;
  dayRow->addWidget(dayOfMonth);
  dayRow->addWidget(Caption("of every", monthly));
  dayRow->addWidget(dayEvery);
  dayRow->addWidget(Caption("month(s)", monthly));
  dayRow->addStretch(1);
  auto *theRow = new QHBoxLayout;
  theRow->addWidget(ordinal);
  theRow->addWidget(weekday);
  theRow->addStretch(1);
  auto *theEveryRow = new QHBoxLayout;
  theEveryRow->addWidget(Caption("of every", monthly));
  theEveryRow->addWidget(theEvery);
  theEveryRow->addWidget(Caption("month(s)", monthly));
  theEveryRow->addStretch(1);
  monthlyGrid->addWidget(monthlyDay, 0, 0);
  monthlyGrid->addLayout(dayRow, 0, 1);
  monthlyGrid->addWidget(monthlyThe, 1, 0);
  monthlyGrid->addLayout(theRow, 1, 1);
  monthlyGrid->addLayout(theEveryRow, 2, 1);
  monthlyGrid->setRowStretch(3, 1);
  panels->addWidget(monthly);

  right->addLayout(panels, 1);

  endAfter_ = new QWidget(recurrence);
  auto *endRow = new QHBoxLayout(endAfter_);
  endRow->setContentsMargins(0, 0, 0, 0);
  auto *endAfter = NumberList(endAfter_, ids::kSchedEndAfter, "End after how many messages", 1, 12);
  endRow->addWidget(Caption("End after", endAfter_));
  endRow->addWidget(endAfter);
  endRow->addWidget(Caption("recurrence", endAfter_));
  endRow->addStretch(1);
  right->addWidget(endAfter_);
  recurrenceRow->addLayout(right, 1);
  layout->addWidget(recurrence, 1);

  // Upload in advance.
  upload_ = Named(new QCheckBox("Upload message to server within", this), ids::kSchedUpload,
                  "Upload message to server within");
  uploadDays_ = NumberList(this, ids::kSchedUploadDays, "Days before delivery", 1, 7);
  uploadLabel_ = Caption("day(s)", this);
  auto *uploadRow = new QHBoxLayout;
  uploadRow->addWidget(upload_);
  uploadRow->addWidget(uploadDays_);
  uploadRow->addWidget(uploadLabel_);
  uploadRow->addStretch(1);
  layout->addLayout(uploadRow);

  auto *buttons = new QDialogButtonBox(this);
  QPushButton *ok = buttons->addButton(QDialogButtonBox::Ok);
  QPushButton *cancel = buttons->addButton(QDialogButtonBox::Cancel);
  Named(ok, ids::kOk, "OK")->setProperty("role", "primary");
  Named(cancel, ids::kCancel, "Cancel");
  connect(ok, &QPushButton::clicked, this, &ScheduleDialog::Ok);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(buttons);

  fields_ = {month_,      day_,        hour,        minute,      modes_[0],    modes_[1],
             modes_[2],   modes_[3],   dailyCount,  dailyEvery,  everyWeekday, weeklyCount,
             dayBoxes[0], dayBoxes[1], dayBoxes[2], dayBoxes[3], dayBoxes[4],  dayBoxes[5],
             dayBoxes[6], monthlyDay,  dayOfMonth,  dayEvery,    monthlyThe,   ordinal,
             weekday,     theEvery,    endAfter};
  RefillDays();
}

void ScheduleDialog::RefillDays() {
  const int days = engine::SendTimePlanner::DaysInMonth(CurrentYear(Now()), month_->currentIndex());
  const int selected = engine::SendTimePlanner::RefilledDaySelection(day_->currentIndex(), days);
  QSignalBlocker quiet(day_);
  while (day_->count() > days + 1)
    day_->removeItem(day_->count() - 1);
  while (day_->count() < days + 1)
    day_->addItem(QString::number(day_->count()), day_->count());
  day_->setCurrentIndex(selected);
}

int ScheduleDialog::Mode() const {
  int mode = 0;
  for (int i = 0; i < 4; ++i)
    if (modes_[i]->isChecked()) mode = i + 1;
  return mode;
}

void ScheduleDialog::ShowModeControls() {
  const int mode = Mode();
  // Page 0 is Once Only's note, then Daily, Weekly and Monthly.
  panels_->setCurrentIndex(mode >= 2 ? mode - 1 : 0);
  endAfter_->setVisible(mode >= 2);
}

engine::SchedulingInfo ScheduleDialog::State() const {
  engine::SchedulingInfo info;
  for (int i = 0; i < engine::SchedulingInfo::kCount; ++i) {
    if (auto *list = qobject_cast<QComboBox *>(fields_[i]))
      info.values[i] = list->currentIndex();
    else if (auto *button = qobject_cast<QAbstractButton *>(fields_[i]))
      info.values[i] = button->isChecked() ? 1 : 0;
  }
  return info;
}

void ScheduleDialog::SetState(const engine::SchedulingInfo &info) {
  for (int i = 0; i < engine::SchedulingInfo::kCount; ++i) {
    const int value = info.values[i];
    if (auto *list = qobject_cast<QComboBox *>(fields_[i])) {
      list->setCurrentIndex(std::clamp(value, 0, list->count() - 1));
    } else if (auto *button = qobject_cast<QAbstractButton *>(fields_[i])) {
      // Radio buttons of a group switch each other off: only a checked one
      // is set, so the last checked of a group wins.
      if (value != 0)
        button->setChecked(true);
      else if (!qobject_cast<QRadioButton *>(button))
        button->setChecked(false);
    }
  }
  ShowModeControls();
}

void ScheduleDialog::Ok() {
  const engine::SchedulingInfo info = State();
  const std::optional<engine::SchedulePlan> plan = engine::SchedulePlan::FromInfo(info);
  if (!plan) return;
  if (settingsFile_) settingsFile_->SetString(kSettingName, info.Encode());
  const std::int64_t first = engine::SendTimePlanner::FirstSendTime(Now(), *plan);
  choice_.sendTimes = engine::SendTimePlanner::BuildSendTimes(*plan, first);
  choice_.upload = upload_->isEnabled() && upload_->isChecked();
  choice_.uploadDays = uploadDays_->currentIndex() + 1;
  accept();
}

} // namespace ui
