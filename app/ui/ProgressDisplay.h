#pragma once
// What the main window shows of the worker's progress reports: the busy
// indicator (started, restarted, stopped), its tooltip and the Outbox page's
// status line, from the titles 1184 to 1190 and their count formats.

#include <QString>

#include <cstdint>
#include <functional>

namespace ui {

class BusyIndicator;

class ProgressDisplay {
public:
  // `statusLine` receives the Outbox page's new status line.
  ProgressDisplay(BusyIndicator *busy, std::function<void(const QString &)> statusLine);

  // Handles UM_PROGRESS_CONNECTING, _IDLE, _ESCALATION, _SENDING, _QUERYING
  // and _COUNT; false for any other message.
  bool Handle(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

  const QString &Title() const { return title_; }
  const QString &Format() const { return format_; }
  QString Tooltip() const;
  unsigned LastProgressMessage() const { return last_; }

private:
  void Begin(unsigned message, int titleId, int formatId);
  void Show(const QString &text);

  BusyIndicator *busy_;
  std::function<void(const QString &)> statusLine_;
  QString title_;
  QString format_;
  unsigned last_ = 0;
};

} // namespace ui
