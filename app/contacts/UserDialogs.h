#pragma once
// What the program's logic needs from the user interface: message boxes,
// yes/no questions, the message box with a "Don't show again" check box, and
// the file choosers. The Qt pages implement it; tests answer it.
//
// Captions and texts are Windows-1252 bytes (the pages convert them); paths
// are file-system paths and are never converted.

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace contacts {

// Longest path a file field holds (the system's PATH_MAX less the zero). A
// longer path is refused rather than cut, because a cut path names another
// file.
inline constexpr std::size_t kMaxPathLength = 4095;

enum class MessageIcon { None, Information, Warning, Error, Question };

enum class DialogButton { Ok, Cancel, Yes, No };

// The buttons a box offers.
enum class ButtonSet { Ok, OkCancel, YesNo };

// Answer of a box with a "Don't show again" check box: the button pressed
// and the state of the check box when it was pressed.
struct CheckedAnswer {
  DialogButton button = DialogButton::Ok;
  bool dontShowAgain = false;
};

// A file chooser's set-up. `filter` is the program's filter text: label and
// pattern pairs separated by "\n" (ParseFileFilter splits it).
struct FileChoice {
  std::string initialName;      // file name offered at the start (may be empty)
  std::string defaultExtension; // e.g. "*.txt" (may be empty)
  std::string filter;
};

class UserDialogs {
public:
  virtual ~UserDialogs() = default;

  virtual void ShowMessage(const std::string &caption, const std::string &text,
                           MessageIcon icon) = 0;
  // True for Yes.
  virtual bool AskYesNo(const std::string &caption, const std::string &text, MessageIcon icon) = 0;
  virtual CheckedAnswer AskWithDontShowAgain(const std::string &caption, const std::string &text,
                                             ButtonSet buttons, MessageIcon icon) = 0;
  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<std::string> ChooseOpenFile(const FileChoice &choice) = 0;
  virtual std::optional<std::string> ChooseSaveFile(const FileChoice &choice) = 0;
};

// Splits a filter text ("Text Files (*.txt)\n*.txt\nAll Files (*.*)\n*.*\n\n")
// into (label, pattern) pairs; an empty label ends the list, a label without
// a pattern is dropped.
std::vector<std::pair<std::string, std::string>> ParseFileFilter(const std::string &filter);

} // namespace contacts
