#pragma once
// "Shutting down ...": shown while the communications worker finishes, with
// four steps ("Completing SMS sending", "Stopping the scheduler", "Saving
// database", "Completed!"); the current step is marked and earlier ones
// ticked. The worker's quit message (WM_QUIT) ends the wait.

#include <QDialog>

#include <array>

class QLabel;

namespace ui {

class ShutdownDialog : public QDialog {
  Q_OBJECT
public:
  static constexpr int kSteps = 4;

  explicit ShutdownDialog(QWidget *parent = nullptr);

  void SetStep(int step);
  int Step() const { return step_; }
  QString StepText(int step) const;
  bool QuitReceived() const { return quit_; }

signals:
  void WorkerQuit();

protected:
  bool event(QEvent *event) override;
  void paintEvent(QPaintEvent *) override;
  void closeEvent(QCloseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

private:
  std::array<QLabel *, kSteps> texts_{};
  std::array<QLabel *, kSteps> markers_{};
  int step_ = -1;
  bool quit_ = false;
};

} // namespace ui
