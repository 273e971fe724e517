#pragma once
// The look of list and table views on the pages and in the dialogs: a thin
// frame, quiet headers and the accent colour for the selection.

#include <QString>

namespace ui::ListLook {

QString StyleSheet();

} // namespace ui::ListLook
