#include "QtClipboard.h"

#include "UiText.h"

#include <QClipboard>
#include <QGuiApplication>

namespace ui {

bool QtClipboard::SetText(const std::string &text) {
  QClipboard *clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  clipboard->setText(FromAnsi(text), QClipboard::Clipboard);
  return true;
}

} // namespace ui
