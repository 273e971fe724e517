#pragma once
// The user dialogs of the plain logic (contacts/UserDialogs.h) over Qt:
// message boxes through MessageBoxes (so the test hooks answer them), and
// the platform's file choosers. Texts arrive as Windows-1252; paths stay in
// the file system's encoding. Tests answer the file choosers with a hook.

#include "contacts/UserDialogs.h"

#include <functional>
#include <optional>
#include <string>

class QString;
class QWidget;

namespace ui {

namespace userdialogs {

void ShowMessage(QWidget *owner, const std::string &caption, const std::string &text,
                 contacts::MessageIcon icon);
bool AskYesNo(QWidget *owner, const std::string &caption, const std::string &text,
              contacts::MessageIcon icon);
contacts::CheckedAnswer AskWithDontShowAgain(QWidget *owner, const std::string &caption,
                                             const std::string &text, contacts::ButtonSet buttons,
                                             contacts::MessageIcon icon);
std::optional<std::string> ChooseFile(QWidget *owner, const contacts::FileChoice &choice,
                                      bool save);
// The program's filter text as a Qt name filter ("CSV Files (*.csv);;All
// Files (*)").
QString NameFilter(const std::string &filter);

// Tests answer the file choosers: the hook gets the set-up and whether a
// file is saved, and returns the path (nothing: cancelled). Null removes it.
using FileHook = std::function<std::optional<std::string>(const contacts::FileChoice &, bool save)>;
void SetFileHook(FileHook hook);

} // namespace userdialogs

// Implements the dialogs of an interface derived from contacts::UserDialogs.
template <class Base> class QtUserDialogsT : public Base {
public:
  explicit QtUserDialogsT(QWidget *owner) : owner_(owner) {}

  void ShowMessage(const std::string &caption, const std::string &text,
                   contacts::MessageIcon icon) override {
    userdialogs::ShowMessage(owner_, caption, text, icon);
  }
  bool AskYesNo(const std::string &caption, const std::string &text,
                contacts::MessageIcon icon) override {
    return userdialogs::AskYesNo(owner_, caption, text, icon);
  }
  contacts::CheckedAnswer AskWithDontShowAgain(const std::string &caption, const std::string &text,
                                               contacts::ButtonSet buttons,
                                               contacts::MessageIcon icon) override {
    return userdialogs::AskWithDontShowAgain(owner_, caption, text, buttons, icon);
  }
  std::optional<std::string> ChooseOpenFile(const contacts::FileChoice &choice) override {
    return userdialogs::ChooseFile(owner_, choice, false);
  }
  std::optional<std::string> ChooseSaveFile(const contacts::FileChoice &choice) override {
    return userdialogs::ChooseFile(owner_, choice, true);
  }

protected:
  QWidget *owner_;
};

// The plain contacts dialogs (exports, imports).
using QtUserDialogs = QtUserDialogsT<contacts::UserDialogs>;

} // namespace ui
