#pragma once
// The "Close app" button in the top right corner: a 15 x 15 image button with
// four looks (normal, hover, pressed, disabled).

#include <QAbstractButton>

namespace ui {

class CloseButton : public QAbstractButton {
  Q_OBJECT
public:
  static constexpr int kSize = 15;
  explicit CloseButton(QWidget *parent = nullptr);
  QSize sizeHint() const override { return {kSize, kSize}; }

protected:
  void paintEvent(QPaintEvent *) override;
  void enterEvent(QEnterEvent *) override;
  void leaveEvent(QEvent *) override;

private:
  bool hover_ = false;
};

} // namespace ui
