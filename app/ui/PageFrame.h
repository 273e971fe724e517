#pragma once
// Base of the main window's pages: a fixed-size white card with a title,
// created hidden. Pages receive the window messages addressed to them as
// events, and the accelerator commands the main window routes to them.

#include <QWidget>

namespace ui {

class PageFrame : public QWidget {
  Q_OBJECT
public:
  // Height of the title strip at the top of the card.
  static constexpr int kTitleHeight = 40;
  static constexpr int kMargin = 18;

  PageFrame(int id, const QString &title, QSize size, QWidget *parent = nullptr);

  int Id() const { return id_; }
  QString Title() const { return title_; }
  // The area below the title, for the page's controls.
  QRect ContentRect() const;

  // Called by the main window right after the page has been shown.
  virtual void Activated() {}
  // Accelerator commands (send, cut, copy, paste, select all); false when
  // the page does not handle the command.
  virtual bool HandleCommand(int) { return false; }

protected:
  void paintEvent(QPaintEvent *) override;
  // Cut, copy or paste in the page's focused text field; false when the
  // focus is not in a text field of this page.
  bool EditCommand(int id);
  // A muted line in the middle of the page (what the page will hold).
  void SetPlaceholder(const QString &text);
  // A short muted line under the title (empty: none).
  void SetSubtitle(const QString &subtitle);

private:
  int id_;
  QString title_;
  QString subtitle_;
};

} // namespace ui
