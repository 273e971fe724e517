#include "OutboxCaption.h"

#include "UiText.h"

#include "shell/WinFormat.h"

namespace ui {

QString OutboxCaption::Text(int waiting) {
  if (waiting > kMaxShown) return ui::Text(1138);
  return FromAnsi(shell::WinFormat(AnsiText(1139), waiting));
}

} // namespace ui
