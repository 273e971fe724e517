#pragma once
// One of the four tab buttons (98 x 19) below the header band. A selected
// tab is drawn pressed: filled like the page body, joined to it.

#include <QAbstractButton>

namespace ui {

class TabButton : public QAbstractButton {
  Q_OBJECT
public:
  static constexpr int kWidth = 98;
  static constexpr int kHeight = 19;

  TabButton(int id, const QString &caption, QWidget *parent = nullptr);
  int Id() const { return id_; }

  void SetSelected(bool selected);
  bool IsSelected() const { return selected_; }

protected:
  void paintEvent(QPaintEvent *) override;
  void enterEvent(QEnterEvent *) override;
  void leaveEvent(QEvent *) override;

private:
  int id_;
  bool selected_ = false;
  bool hover_ = false;
};

} // namespace ui
