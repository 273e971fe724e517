#pragma once
// "Checking for updates ...": the modeless progress dialog of the update
// check. Four steps, each with a marker and a text; the current step has the
// active marker and an enabled text, every other step the inactive marker
// and a greyed text. Below them the downloaded size, and "Cancel", which
// only asks the check to stop (the check closes the dialog).

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

namespace ui {

class UpdateProgressDialog : public QDialog {
  Q_OBJECT
public:
  static constexpr int kSteps = 4;

  explicit UpdateProgressDialog(QWidget *parent = nullptr);

  void SetStep(int step);
  int Step() const { return step_; }
  QString StepText(int step) const;
  bool StepIsActive(int step) const;

  void SetSizeText(const QString &text);
  QString SizeText() const;

  void DisableCancel();
  QPushButton *CancelButton() const { return cancel_; }

  // The markers, drawn by the program.
  static QPixmap Marker(bool active);

signals:
  void CancelRequested();
  void StepChanged(int step);

protected:
  void paintEvent(QPaintEvent *) override;
  // Escape and closing the window act as "Cancel" while it is enabled.
  void reject() override;

private:
  std::array<QLabel *, kSteps> markers_{};
  std::array<QLabel *, kSteps> texts_{};
  QLabel *size_;
  QPushButton *cancel_;
  int step_ = -1;
};

} // namespace ui
