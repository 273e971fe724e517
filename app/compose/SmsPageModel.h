#pragma once
// The logic of the SMS page: the message editor's text (Windows-1252 bytes)
// and caret, the type, the counter, the insert buttons, the recipients and
// the four kinds of selection, Send, Schedule, the page reset, editing an
// outbox message, and the binary content of the file types. The Qt page is a
// view over it: it passes every user action in and redraws from the getters.

#include "compose/ComposeUi.h"
#include "compose/MergeTags.h"
#include "compose/MessageCounter.h"
#include "compose/ToTextBuilder.h"
#include "compose/TypeControls.h"
#include "engine/MessageQueuer.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace contacts {
class RecentList;
}
namespace shell {
class StringTable;
struct Settings;
} // namespace shell
namespace store {
class SmsStore;
}

namespace compose {

// The page's collaborators; every reference must outlive the model.
struct SmsPageServices {
  store::SmsStore &store;
  shell::Settings &settings; // SpanSMS, Sig, sender_id, ForceSenderID, ...
  const shell::StringTable &strings;
  contacts::RecentList &recent;
  engine::MessageQueuer &queuer;
  ComposeUi &ui;
  // Seconds since 1970-01-01 UTC; the system clock when empty.
  std::function<std::int64_t()> now;
};

// An entry of the Outlook address book chosen as a recipient.
struct OutlookRecipient {
  std::string name;
  std::string number;
};

enum class SendOutcome {
  Nothing,      // no text: the button was not active
  NoRecipients, // "No destination mobile numbers selected"
  Declined,     // the merge question was answered No, or the schedule cancelled
  Updated,      // the edited message was updated
  Queued,       // one message (or one per scheduled time) was queued
  Refused,      // the outbox took no message: the page is left as it was
};

class SmsPageModel {
public:
  // Bytes of a file read for its hexadecimal content; more would be cut by
  // the counter anyway.
  static constexpr std::size_t kMaxContentFileBytes = 64 * 1024;

  explicit SmsPageModel(SmsPageServices services);

  // ---- Editor
  // The editor's text changed (typing, pasting); caret is the editor's caret
  // afterwards. Runs the counter refresh, which may cut the text.
  void SetEditorText(std::string text, std::size_t caret);
  const std::string &EditorText() const { return text_; }
  // The editor's caret after the last change made by the model.
  std::size_t EditorCaret() const { return caret_; }
  // The editor got the focus: limit refresh.
  void OnEditorFocus();
  // The editor lost the focus with the caret (end of selection) here.
  void OnEditorFocusLost(std::size_t caret);
  std::size_t RememberedCaret() const { return rememberedCaret_; }
  // Most characters the editor accepts.
  int EditorLimit() const { return count_.editorLimit; }

  // ---- Counter and buttons
  const std::string &CounterLabel() const { return label_; }
  int CountedLength() const { return count_.length; }
  int Parts() const { return count_.parts; }
  bool TextPresent() const { return !text_.empty(); }
  bool SendEnabled() const { return TextPresent(); }
  bool ScheduleEnabled() const { return TextPresent() && !editing_; }
  // "Send >>" or, while editing an outbox message, "Update >>".
  std::string SendButtonText() const;

  // ---- Type
  int Type() const { return type_; }
  // A new selection in the type list (the Unicode note first, then the
  // controls and the counter).
  void ChangeType(int type);
  TypeControls Controls() const { return TypeControls::ForType(type_); }

  // ---- Insert buttons
  void InsertTag(MergeTag tag);
  void InsertSignature();

  // ---- Recipients
  // Rows of the recipients list (numbers typed in; each passes the digit
  // filter).
  void SetTypedNumbers(const std::vector<std::string> &rows);
  const std::vector<std::string> &TypedNumbers() const { return typed_; }
  void SetSelectedContacts(std::vector<int> cids) { contacts_ = std::move(cids); }
  const std::vector<int> &SelectedContacts() const { return contacts_; }
  // Selected entries of the recent list, by position (0 = most recent).
  void SetSelectedRecent(const std::vector<int> &positions);
  const std::vector<std::string> &SelectedRecentNumbers() const { return recentNumbers_; }
  void SetSelectedOutlook(std::vector<OutlookRecipient> entries) { outlook_ = std::move(entries); }
  const std::vector<OutlookRecipient> &SelectedOutlook() const { return outlook_; }
  // The To text of the current recipients and their number.
  std::string ToText() const;
  int RecipientCount() const;

  // ---- Actions
  SendOutcome Send();
  SendOutcome Schedule();
  // "Clear SMS", and the end of every send.
  void Reset();

  // ---- Outbox messages
  // Loads the message for editing ("Update >>"); false when it is absent.
  bool OpenForEditing(int id);
  // Starts a new message filled from a stored one; false when it is absent.
  bool OpenForResend(int id);
  bool Editing() const { return editing_; }
  int EditingId() const { return editingId_; }

  // ---- Binary content
  const std::string &FileName() const { return fileName_; }
  // "Browse ...": choose a file of the type's kind and import it.
  void Browse();
  // Enter pressed in the file name field.
  void FileNameEntered(const std::string &name);
  // Puts the file's bytes as hex text into the editor; on failure shows the
  // error box and leaves the editor as it was.
  bool ImportFileAsHex(const std::string &name);

private:
  ToTextBuilder BuildTo() const;
  void CounterRefresh();
  void LimitRefresh();
  void Insert(const std::string &piece);
  bool AskMergeQuestion();
  bool AskForceSenderId();
  void RememberRecipients();
  void LoadMessage(int type, const std::string &to, const std::string &msg);
  std::int64_t Now() const;

  SmsPageServices s_;
  MessageCounter counter_;
  std::string text_;
  std::size_t caret_ = 0;
  std::size_t rememberedCaret_ = 0;
  CountResult count_;
  std::string label_;
  bool counting_ = false;
  int type_ = 0;
  bool editing_ = false;
  int editingId_ = 0;
  std::string fileName_;
  std::vector<std::string> typed_;
  std::vector<int> contacts_;
  std::vector<std::string> recentNumbers_;
  std::vector<OutlookRecipient> outlook_;
};

} // namespace compose
