#pragma once
// A message box or question shown to the user on the user-interface thread.
// The calling thread (usually the communications worker) blocks until the
// user has answered.

#include <string>

namespace engine {

// Button and icon styles, with the numbers the Windows message box uses.
inline constexpr unsigned kBoxOk = 0x00;
inline constexpr unsigned kBoxYesNo = 0x04;
inline constexpr unsigned kBoxIconError = 0x10;
inline constexpr unsigned kBoxIconQuestion = 0x20;
inline constexpr unsigned kBoxIconInformation = 0x40;

// Answers.
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

class UserPrompt {
public:
  virtual ~UserPrompt() = default;
  // Shows `text` with `caption` and the style bits above (no owner window)
  // and returns the button the user chose. Texts are Windows-1252.
  virtual int Ask(const std::string &text, const std::string &caption, unsigned style) = 0;
};

} // namespace engine
