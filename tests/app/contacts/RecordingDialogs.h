#pragma once
// A UserDialogs that records every box it is asked to show and answers from
// a script: questions and file choosers take the next scripted answer.

#include "contacts/UserDialogs.h"

#include <deque>
#include <string>
#include <vector>

namespace testing_dialogs {

struct ShownBox {
  std::string kind; // "message", "yesno", "checked", "open", "save"
  std::string caption;
  std::string text;
  contacts::MessageIcon icon = contacts::MessageIcon::None;
  contacts::ButtonSet buttons = contacts::ButtonSet::Ok;
  contacts::FileChoice choice;
};

template <class Base = contacts::UserDialogs> class RecordingDialogsT : public Base {
public:
  std::vector<ShownBox> shown;
  std::deque<bool> yesNoAnswers;                      // default: Yes
  std::deque<contacts::CheckedAnswer> checkedAnswers; // default: Yes/Ok, box clear
  std::deque<std::optional<std::string>> files;       // default: cancelled

  void ShowMessage(const std::string &caption, const std::string &text,
                   contacts::MessageIcon icon) override {
    shown.push_back({"message", caption, text, icon, contacts::ButtonSet::Ok, {}});
  }
  bool AskYesNo(const std::string &caption, const std::string &text,
                contacts::MessageIcon icon) override {
    shown.push_back({"yesno", caption, text, icon, contacts::ButtonSet::YesNo, {}});
    if (yesNoAnswers.empty()) {
      return true;
    }
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
  }
  contacts::CheckedAnswer AskWithDontShowAgain(const std::string &caption, const std::string &text,
                                               contacts::ButtonSet buttons,
                                               contacts::MessageIcon icon) override {
    shown.push_back({"checked", caption, text, icon, buttons, {}});
    if (checkedAnswers.empty()) {
      return {buttons == contacts::ButtonSet::YesNo ? contacts::DialogButton::Yes
                                                    : contacts::DialogButton::Ok,
              false};
    }
    const contacts::CheckedAnswer answer = checkedAnswers.front();
    checkedAnswers.pop_front();
    return answer;
  }
  std::optional<std::string> ChooseOpenFile(const contacts::FileChoice &choice) override {
    return Choose("open", choice);
  }
  std::optional<std::string> ChooseSaveFile(const contacts::FileChoice &choice) override {
    return Choose("save", choice);
  }

  // Boxes of one kind.
  std::vector<ShownBox> Of(const std::string &kind) const {
    std::vector<ShownBox> out;
    for (const ShownBox &b : shown) {
      if (b.kind == kind) {
        out.push_back(b);
      }
    }
    return out;
  }

private:
  std::optional<std::string> Choose(const char *kind, const contacts::FileChoice &choice) {
    ShownBox box;
    box.kind = kind;
    box.choice = choice;
    shown.push_back(box);
    if (files.empty()) {
      return std::nullopt;
    }
    std::optional<std::string> answer = files.front();
    files.pop_front();
    return answer;
  }
};

using RecordingDialogs = RecordingDialogsT<>;

} // namespace testing_dialogs
