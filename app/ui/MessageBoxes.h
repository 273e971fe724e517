#pragma once
// Every message box of the program goes through here: the Qt box with the
// Windows-style button and icon bits of engine/UserPrompt.h, and the test
// hooks (an in-process hook a test installs, and the environment's
// automatic answer of TestTrace).

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace ui {

inline constexpr unsigned kBoxIconWarning = 0x30;

struct BoxRecord {
  QString caption;
  QString text;
  QString address; // the link line of the message dialog, else empty
  unsigned style = 0;
};

class MessageBoxes {
public:
  // Shows a modal box and returns the answer (1 OK, 6 Yes, 7 No).
  static int Show(QWidget *owner, const QString &text, const QString &caption, unsigned style);

  // In-process tests answer boxes with a hook (null removes it).
  using Hook = std::function<int(const BoxRecord &)>;
  static void SetHook(Hook hook);

  // The answer a test hook or the automatic answer gives, or nothing when
  // the box is to be shown. Records the box either way in the trace.
  static std::optional<int> Intercept(const BoxRecord &box);

  // The positive and negative answers of a style.
  static int Affirmative(unsigned style);
  static int Negative(unsigned style);
};

} // namespace ui
