#include "PopupMenu.h"

#include <QAction>
#include <QMenu>

namespace ui {

namespace {
PopupMenu::Hook &CurrentHook() {
  static PopupMenu::Hook hook;
  return hook;
}
} // namespace

void PopupMenu::SetHook(Hook hook) {
  CurrentHook() = std::move(hook);
}

int PopupMenu::Exec(QMenu &menu, QPoint globalPos) {
  if (CurrentHook()) {
    // As on the screen, a disabled item cannot be chosen.
    const int id = CurrentHook()(menu);
    for (QAction *action : menu.actions())
      if (id != 0 && action->objectName().toInt() == id) return action->isEnabled() ? id : 0;
    return 0;
  }
  QAction *chosen = menu.exec(globalPos);
  return chosen && chosen->isEnabled() ? chosen->objectName().toInt() : 0;
}

int PopupMenu::Run(QWidget *owner, const QString &title,
                   std::span<const addresses::MenuItem> items,
                   const std::function<bool(int id)> &enabled, QPoint globalPos) {
  QMenu menu(title, owner);
  for (const addresses::MenuItem &item : items) {
    if (item.id == 0) {
      menu.addSeparator();
      continue;
    }
    QAction *action = menu.addAction(item.text);
    action->setObjectName(QString::number(item.id));
    action->setEnabled(enabled(item.id));
  }
  return Exec(menu, globalPos);
}

} // namespace ui
