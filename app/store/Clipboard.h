#pragma once
// Where the outbox's copy-details command puts its text: the desktop's
// clipboard in the program, a recorder in tests.

#include <string>

namespace store {

class Clipboard {
public:
  virtual ~Clipboard() = default;
  // Replaces the clipboard's content with this plain text (Windows-1252
  // bytes). False when the clipboard could not be opened or written.
  virtual bool SetText(const std::string &text) = 0;
};

} // namespace store
