#include "QtUpdateHost.h"

#include "MessageBoxes.h"
#include "MessageDialog.h"
#include "ThreadHandOver.h"
#include "UiText.h"
#include "UpdateProgressDialog.h"

#include "download/Downloader.h"
#include "engine/UserPrompt.h"
#include "shell/Logger.h"
#include "shell/ProcessObjects.h"
#include "shell/Settings.h"

#include <QFile>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <optional>

namespace ui {

QtUpdateHost::QtUpdateHost(const UiContext &context, QWidget *owner,
                           std::function<void()> exitProgram)
    : context_(context), owner_(owner), exitProgram_(std::move(exitProgram)),
      check_(*this, std::filesystem::path(QFile::encodeName(context.dataFolder).toStdString())) {
  timer_ = [this](int milliseconds, std::function<void()> done) {
    QTimer::singleShot(milliseconds, this, std::move(done));
  };
}

QtUpdateHost::~QtUpdateHost() {
  check_.Cancel();
  JoinDownload();
  CloseProgress();
}

void QtUpdateHost::Check() {
  const shell::Settings *settings = context_.settings;
  shell::LogWriter *log = settings && settings->WriteLog ? shell::gLogger : nullptr;
  check_.Start(settings, log);
}

UpdateProgressDialog *QtUpdateHost::Dialog() const {
  return dialog_.data();
}

QWidget *QtUpdateHost::Owner() const {
  return owner_ && owner_->isVisible() ? owner_ : nullptr;
}

void QtUpdateHost::ShowProgress() {
  CloseProgress();
  dialog_ = new UpdateProgressDialog(Owner());
  connect(dialog_, &UpdateProgressDialog::CancelRequested, this, [this] { check_.Cancel(); });
  dialog_->show();
}

void QtUpdateHost::SetStep(int step) {
  if (dialog_) dialog_->SetStep(step);
}

void QtUpdateHost::DisableCancel() {
  if (dialog_) dialog_->DisableCancel();
}

void QtUpdateHost::HideProgress() {
  if (dialog_) dialog_->hide();
}

// The check closes the dialog from its timers and download reports, never
// from inside one of the dialog's own signals, so it can go at once.
void QtUpdateHost::CloseProgress() {
  delete dialog_.data();
}

void QtUpdateHost::Wait(int milliseconds) {
  timer_(milliseconds, [this] { check_.WaitOver(); });
}

void QtUpdateHost::Download(const std::string &address, const std::filesystem::path &destination,
                            bool showSize) {
  JoinDownload();
  download_ = std::thread([this, address, destination, showSize] {
    download::Downloader downloader([](int id) { return AnsiText(id); });
    std::optional<std::uint64_t> shownKb;
    download::Downloader::Progress progress;
    if (showSize) {
      progress = [this, &shownKb](std::uint64_t total) {
        // Only a change of the shown text goes to the window.
        if (total == 0 || shownKb == total / 1024) return;
        shownKb = total / 1024;
        QString text = QString::fromStdString(update::UpdateCheck::SizeText(total));
        PostCall(this, [this, text] {
          if (dialog_) dialog_->SetSizeText(text);
        });
      };
    }
    int result = downloader.Download(address, destination, &check_.CancelFlag(), progress);
    std::string error = downloader.ErrorText();
    PostCall(this, [this, result, error] {
      JoinDownload();
      check_.DownloadOver(result, error);
    });
  });
}

void QtUpdateHost::JoinDownload() {
  if (download_.joinable()) download_.join();
}

void QtUpdateHost::ShowFailure(int captionId, int textId, const std::string &address) {
  MessageDialog::Show(Owner(), Text(captionId), Text(textId), FromAnsi(address));
}

void QtUpdateHost::ShowFileFailure(int captionId, int textId, const std::filesystem::path &file) {
  MessageDialog::Show(Owner(), Text(captionId), Text(textId),
                      "file://" + QFile::decodeName(file.string().c_str()));
}

void QtUpdateHost::ShowNotice(int textId, int captionId) {
  MessageBoxes::Show(Owner(), Text(textId), Text(captionId), engine::kBoxOk);
}

void QtUpdateHost::ExitProgram() {
  if (exitProgram_) exitProgram_();
}

} // namespace ui
