#pragma once
// Context menus built from a list of items with ids (objectName = id) and
// shown at the cursor. In-process tests answer them with a hook instead:
// the hook sees the built menu (texts, order, enabled items) and returns
// the id to run (0 for none; a disabled item counts as none).

#include "addresses/MenuRules.h"

#include <QPoint>
#include <QString>

#include <functional>
#include <span>

class QMenu;
class QWidget;

namespace ui {

class PopupMenu {
public:
  // Shows the menu and returns the chosen item's id, 0 when none.
  static int Exec(QMenu &menu, QPoint globalPos);
  // Builds a menu of these items (id 0: a separator), each enabled as
  // `enabled` says, shows it and returns the chosen id.
  static int Run(QWidget *owner, const QString &title, std::span<const addresses::MenuItem> items,
                 const std::function<bool(int id)> &enabled, QPoint globalPos);

  using Hook = std::function<int(QMenu &)>;
  static void SetHook(Hook hook);
};

} // namespace ui
