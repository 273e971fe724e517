#pragma once
// Every message box of the program goes through here: the Qt box with the
// Windows-style button and icon bits of engine/UserPrompt.h, and the test
// hooks (an in-process hook a test installs, and the environment's
// automatic answer of TestTrace). Texts are always shown as plain text
// (they may carry the gateway's words, never markup to render).

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
  bool dontShowAgain = false; // the box carries a "Don't show again" check box
};

// The answer of a box with a "Don't show again" check box.
struct CheckedAnswer {
  int button = 0;
  bool dontShowAgain = false;
};

class MessageBoxes {
public:
  // Shows a modal box and returns the answer (1 OK, 6 Yes, 7 No).
  static int Show(QWidget *owner, const QString &text, const QString &caption, unsigned style);

  // The same with a "Don't show again" check box (unchecked at first):
  // the button and the state of the check box.
  static CheckedAnswer ShowChecked(QWidget *owner, const QString &text, const QString &caption,
                                   unsigned style);

  // In-process tests answer boxes with a hook (null removes it), and the
  // check box with a second hook (none: left unchecked).
  using Hook = std::function<int(const BoxRecord &)>;
  static void SetHook(Hook hook);
  using CheckHook = std::function<bool(const BoxRecord &)>;
  static void SetCheckHook(CheckHook hook);

  // The answer a test hook or the automatic answer gives, or nothing when
  // the box is to be shown. Records the box either way in the trace.
  static std::optional<int> Intercept(const BoxRecord &box);

  // The positive and negative answers of a style.
  static int Affirmative(unsigned style);
  static int Negative(unsigned style);
};

} // namespace ui
