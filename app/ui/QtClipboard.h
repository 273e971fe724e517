#pragma once
// The desktop's clipboard for the store's copy-details command: the
// Windows-1252 text is placed on it as plain text.

#include "store/Clipboard.h"

namespace ui {

class QtClipboard final : public store::Clipboard {
public:
  bool SetText(const std::string &text) override;
};

} // namespace ui
