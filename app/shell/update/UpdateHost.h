#pragma once
// What the update check needs from the window side: the progress dialog,
// timed waits and downloads that run while the event loop keeps going, the
// messages, and the program's exit. Waits and downloads report back later
// through UpdateCheck::WaitOver and UpdateCheck::DownloadOver; everything
// else is done when the call returns (messages are modal).

#include <filesystem>
#include <string>

namespace update {

class UpdateHost {
public:
  virtual ~UpdateHost() = default;

  // The progress dialog "Checking for updates ...": created and shown,
  // its current step set, its "Cancel" disabled, hidden, destroyed.
  virtual void ShowProgress() = 0;
  virtual void SetStep(int step) = 0;
  virtual void DisableCancel() = 0;
  virtual void HideProgress() = 0;
  virtual void CloseProgress() = 0;

  // Calls UpdateCheck::WaitOver after about this many milliseconds.
  virtual void Wait(int milliseconds) = 0;
  // Downloads `address` to `destination`, stopping when the check's cancel
  // flag is set; with `showSize` the dialog's size field follows the bytes
  // received. Calls UpdateCheck::DownloadOver with the result.
  virtual void Download(const std::string &address, const std::filesystem::path &destination,
                        bool showSize) = 0;

  // The message dialog with a clickable address line: string ids of the
  // caption and the text, and a web address (8-bit program text) ...
  virtual void ShowFailure(int captionId, int textId, const std::string &address) = 0;
  // ... or a local file, shown and opened as a "file://" address.
  virtual void ShowFileFailure(int captionId, int textId, const std::filesystem::path &file) = 0;
  // A plain message box (string ids).
  virtual void ShowNotice(int textId, int captionId) = 0;

  // Ends the program the way the tray menu's "Exit" does.
  virtual void ExitProgram() = 0;
};

} // namespace update
