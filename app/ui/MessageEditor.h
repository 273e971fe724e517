#pragma once
// The SMS page's message editor: plain text that reports when it gets and
// loses the focus (the page refreshes the limit and remembers the caret).

#include <QPlainTextEdit>

namespace ui {

class MessageEditor : public QPlainTextEdit {
  Q_OBJECT
public:
  explicit MessageEditor(QWidget *parent = nullptr);

  // The caret (end of the selection) in characters.
  int Caret() const;
  // Replaces the text without undo history and puts the caret at `caret`.
  void Load(const QString &text, int caret);

signals:
  void FocusGained();
  void FocusLost(int caret);

protected:
  void focusInEvent(QFocusEvent *event) override;
  void focusOutEvent(QFocusEvent *event) override;
};

} // namespace ui
