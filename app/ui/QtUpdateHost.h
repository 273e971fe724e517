#pragma once
// The window side of the update check: runs the step machine of
// update::UpdateCheck on the event loop. Its waits are timers, its
// downloads run on a background thread (the size field follows them), its
// messages are the program's message boxes and message dialog, and the
// program ends through the callback the main window gives (its "Exit").

#include "UiContext.h"

#include "update/UpdateCheck.h"
#include "update/UpdateHost.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <thread>

class QWidget;

namespace ui {

class UpdateProgressDialog;

class QtUpdateHost : public QObject, public update::UpdateHost {
  Q_OBJECT
public:
  // Calls `done` once, about `milliseconds` later, from the event loop.
  using Timer = std::function<void(int milliseconds, std::function<void()> done)>;

  QtUpdateHost(const UiContext &context, QWidget *owner, std::function<void()> exitProgram);
  ~QtUpdateHost() override;
  QtUpdateHost(const QtUpdateHost &) = delete;
  QtUpdateHost &operator=(const QtUpdateHost &) = delete;

  // "Check for latest updates": starts a check unless one runs.
  void Check();
  bool IsRunning() const { return check_.IsRunning(); }
  // The progress dialog while a check shows it, else null.
  UpdateProgressDialog *Dialog() const;
  const update::UpdateCheck &Machine() const { return check_; }
  // Replaces the timers of the waits (tests shorten or hold them).
  void SetTimer(Timer timer) { timer_ = std::move(timer); }

  // update::UpdateHost
  void ShowProgress() override;
  void SetStep(int step) override;
  void DisableCancel() override;
  void HideProgress() override;
  void CloseProgress() override;
  void Wait(int milliseconds) override;
  void Download(const std::string &address, const std::filesystem::path &destination,
                bool showSize) override;
  void ShowFailure(int captionId, int textId, const std::string &address) override;
  void ShowFileFailure(int captionId, int textId, const std::filesystem::path &file) override;
  void ShowNotice(int textId, int captionId) override;
  void ExitProgram() override;

private:
  QWidget *Owner() const;
  void JoinDownload();

  UiContext context_;
  QWidget *owner_;
  std::function<void()> exitProgram_;
  update::UpdateCheck check_;
  Timer timer_;
  QPointer<UpdateProgressDialog> dialog_;
  std::thread download_;
};

} // namespace ui
