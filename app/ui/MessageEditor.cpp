#include "MessageEditor.h"

#include <QTextCursor>

#include <algorithm>

namespace ui {

MessageEditor::MessageEditor(QWidget *parent) : QPlainTextEdit(parent) {
  setTabChangesFocus(true);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

int MessageEditor::Caret() const {
  const QTextCursor cursor = textCursor();
  return std::max(cursor.position(), cursor.anchor());
}

void MessageEditor::Load(const QString &text, int caret) {
  if (toPlainText() != text) setPlainText(text);
  QTextCursor cursor = textCursor();
  cursor.setPosition(std::clamp(caret, 0, static_cast<int>(text.size())));
  setTextCursor(cursor);
}

void MessageEditor::focusInEvent(QFocusEvent *event) {
  QPlainTextEdit::focusInEvent(event);
  emit FocusGained();
}

void MessageEditor::focusOutEvent(QFocusEvent *event) {
  emit FocusLost(Caret());
  QPlainTextEdit::focusOutEvent(event);
}

} // namespace ui
