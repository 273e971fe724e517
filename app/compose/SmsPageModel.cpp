#include "compose/SmsPageModel.h"

#include "compose/BinaryContent.h"
#include "compose/MergeTags.h"
#include "compose/RecipientFilter.h"
#include "compose/ToTextBuilder.h"
#include "contacts/RecentList.h"
#include "engine/ScheduledQueueing.h"
#include "shell/Settings.h"
#include "shell/StringTable.h"
#include "store/SmsStore.h"

#include <algorithm>
#include <chrono>
#include <mutex>

namespace compose {
namespace {

constexpr int kStatusPending = 0;

constexpr const char *kRefusedCaption = "Send failed";
constexpr const char *kRefusedText =
    "The message could not be added to the outbox. Nothing was sent; the message is still on "
    "the page.";

// The contact id of an "A<cid>" destination token, or -1.
int ContactOfToken(std::string_view token) {
  if (token.size() < 2 || token.size() > 10 || token[0] != 'A') {
    return -1;
  }
  int cid = 0;
  for (char c : token.substr(1)) {
    if (c < '0' || c > '9') {
      return -1;
    }
    cid = cid * 10 + (c - '0');
  }
  return cid;
}

} // namespace

SmsPageModel::SmsPageModel(SmsPageServices services) : s_(std::move(services)) {
  CounterRefresh();
}

std::int64_t SmsPageModel::Now() const {
  if (s_.now) {
    return s_.now();
  }
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// ---- Editor and counter

void SmsPageModel::CounterRefresh() {
  if (counting_) {
    return; // our own cut changed the text
  }
  counting_ = true;
  count_ = counter_.Count(text_, type_, s_.settings.SpanSMS);
  if (count_.cut) {
    text_.resize(count_.keep);
    caret_ = std::min(caret_, text_.size());
  }
  label_ = MessageCounter::Label(count_.length, count_.parts);
  counting_ = false;
}

void SmsPageModel::LimitRefresh() {
  CounterRefresh();
  const auto limit = static_cast<std::size_t>(std::max(count_.editorLimit, 0));
  rememberedCaret_ = std::min({rememberedCaret_, limit, text_.size()});
  caret_ = rememberedCaret_;
}

void SmsPageModel::SetEditorText(std::string text, std::size_t caret) {
  if (counting_) {
    return;
  }
  text_ = std::move(text);
  caret_ = std::min(caret, text_.size());
  CounterRefresh();
}

void SmsPageModel::OnEditorFocus() {
  LimitRefresh();
}

void SmsPageModel::OnEditorFocusLost(std::size_t caret) {
  rememberedCaret_ = std::min(caret, text_.size());
}

std::string SmsPageModel::SendButtonText() const {
  return s_.strings.Get(editing_ ? 1335 : 1334);
}

// ---- Type

void SmsPageModel::ChangeType(int type) {
  if (type == kTypeUnicode && !s_.settings.DontShowUnicodeWarningAgain) {
    if (counter_.PlainParts(text_) != counter_.UnicodeParts(text_)) {
      const contacts::CheckedAnswer answer =
          s_.ui.AskWithDontShowAgain(s_.strings.Get(1348), s_.strings.Get(1349),
                                     contacts::ButtonSet::Ok, contacts::MessageIcon::Information);
      auto hold = shell::LockSettings(s_.settings);
      s_.settings.DontShowUnicodeWarningAgain = answer.dontShowAgain;
    }
  }
  type_ = type;
  CounterRefresh();
  LimitRefresh();
}

// ---- Insert buttons

void SmsPageModel::Insert(const std::string &piece) {
  if (!Controls().insertButtons || piece.empty()) {
    return;
  }
  const std::size_t at = std::min(rememberedCaret_, text_.size());
  text_.insert(at, piece);
  rememberedCaret_ = at + piece.size();
  caret_ = rememberedCaret_;
  CounterRefresh();
  OnEditorFocus(); // the editor gets the focus back
}

void SmsPageModel::InsertTag(MergeTag tag) {
  Insert(MergeTagText(s_.strings, tag));
}

void SmsPageModel::InsertSignature() {
  Insert(s_.settings.Sig);
}

// ---- Recipients

void SmsPageModel::SetTypedNumbers(const std::vector<std::string> &rows) {
  typed_.clear();
  typed_.reserve(rows.size());
  for (const std::string &row : rows) {
    typed_.push_back(FilterRecipientInput(row));
  }
}

void SmsPageModel::SetSelectedRecent(const std::vector<int> &positions) {
  recentNumbers_.clear();
  for (int position : positions) {
    std::string number = s_.recent.Number(position);
    if (!number.empty()) {
      recentNumbers_.push_back(std::move(number));
    }
  }
}

ToTextBuilder SmsPageModel::BuildTo() const {
  ToTextBuilder to;
  for (const std::string &n : typed_) {
    to.AddTypedNumber(n);
  }
  for (int cid : contacts_) {
    to.AddContact(cid);
  }
  for (const std::string &n : recentNumbers_) {
    to.AddRecentNumber(n);
  }
  for (const OutlookRecipient &o : outlook_) {
    to.AddOutlookNumber(o.number);
  }
  return to;
}

std::string SmsPageModel::ToText() const {
  return BuildTo().Text();
}

int SmsPageModel::RecipientCount() const {
  return BuildTo().Count();
}

void SmsPageModel::RememberRecipients() {
  for (const std::string &n : typed_) {
    if (!n.empty()) {
      s_.recent.Add({}, {}, n);
    }
  }
  for (int cid : contacts_) {
    std::string name, surname, mobile;
    if (s_.store.ContactNameAndMobile(cid, name, surname, mobile) && !mobile.empty()) {
      s_.recent.Add(name, surname, mobile);
    }
  }
  for (const OutlookRecipient &o : outlook_) {
    s_.recent.Add(o.name, {}, o.number);
  }
  auto hold = shell::LockSettings(s_.settings);
  s_.recent.SaveTo(s_.settings);
}

// ---- Checks

bool SmsPageModel::AskMergeQuestion() {
  if (outlook_.empty() || !NeedsMergeWarning(s_.strings, type_, text_)) {
    return true;
  }
  return s_.ui.AskYesNo(s_.strings.Get(1347), s_.strings.Get(1346),
                        contacts::MessageIcon::Question);
}

bool SmsPageModel::AskForceSenderId() {
  const shell::Settings &st = s_.settings;
  if (!st.CanUseForceSenderIDFeature || st.sender_id.empty() || st.ForceSenderID ||
      st.DontShowForceSenderIDMsgAgain) {
    return false;
  }
  const contacts::CheckedAnswer answer =
      s_.ui.AskWithDontShowAgain(s_.strings.Get(1350), s_.strings.Get(1351),
                                 contacts::ButtonSet::YesNo, contacts::MessageIcon::Question);
  {
    auto hold = shell::LockSettings(s_.settings);
    s_.settings.DontShowForceSenderIDMsgAgain = answer.dontShowAgain;
  }
  return answer.button == contacts::DialogButton::Yes;
}

// ---- Actions

SendOutcome SmsPageModel::Send() {
  if (!TextPresent()) {
    return SendOutcome::Nothing;
  }
  const std::string text = text_;
  const ToTextBuilder to = BuildTo();
  if (to.Count() <= 0) {
    s_.ui.ShowMessage(s_.strings.Get(1331), s_.strings.Get(1332), contacts::MessageIcon::Warning);
    return SendOutcome::NoRecipients;
  }
  if (!AskMergeQuestion()) {
    return SendOutcome::Declined;
  }
  if (editing_) {
    s_.store.UpdateSms(editingId_, type_, to.Text(), text);
    RememberRecipients();
    Reset();
    s_.ui.RefreshOutboxCaption();
    return SendOutcome::Updated;
  }
  const bool force = AskForceSenderId();
  if (s_.queuer.QueueMessage(kStatusPending, static_cast<int>(Now()), type_, 0, to.Text(), text, 0,
                             force) <= 0) {
    s_.ui.ShowMessage(kRefusedCaption, kRefusedText, contacts::MessageIcon::Error);
    return SendOutcome::Refused;
  }
  RememberRecipients();
  Reset();
  s_.ui.RefreshOutboxCaption();
  return SendOutcome::Queued;
}

SendOutcome SmsPageModel::Schedule() {
  if (!ScheduleEnabled()) {
    return SendOutcome::Nothing;
  }
  const std::string text = text_;
  const ToTextBuilder to = BuildTo();
  if (to.Count() <= 0) {
    s_.ui.ShowMessage(s_.strings.Get(1331), s_.strings.Get(1332), contacts::MessageIcon::Warning);
    return SendOutcome::NoRecipients;
  }
  if (!AskMergeQuestion()) {
    return SendOutcome::Declined;
  }
  const std::optional<ScheduleChoice> choice = s_.ui.AskSchedule();
  if (!choice || choice->sendTimes.empty()) {
    return SendOutcome::Declined;
  }
  engine::ScheduledMessage message;
  message.type = type_;
  message.to = to.Text();
  message.text = text;
  message.forceSenderId = AskForceSenderId();
  message.uploadToServer = choice->upload;
  message.uploadDays = choice->uploadDays;
  if (engine::ScheduledQueueing::Queue(s_.queuer, message, choice->sendTimes).empty()) {
    s_.ui.ShowMessage(kRefusedCaption, kRefusedText, contacts::MessageIcon::Error);
    return SendOutcome::Refused;
  }
  RememberRecipients();
  Reset();
  s_.ui.RefreshOutboxCaption();
  return SendOutcome::Queued;
}

void SmsPageModel::Reset() {
  if (editing_) {
    s_.store.RestoreEditedSms();
    editing_ = false;
    editingId_ = 0;
  }
  text_.clear();
  caret_ = 0;
  CounterRefresh();
  rememberedCaret_ = 0;
  typed_.clear();
  contacts_.clear();
  recentNumbers_.clear();
  outlook_.clear();
  fileName_.clear();
}

// ---- Outbox messages

void SmsPageModel::LoadMessage(int type, const std::string &to, const std::string &msg) {
  type_ = type;
  std::size_t start = 0;
  while (start <= to.size()) {
    std::size_t end = to.find(',', start);
    if (end == std::string::npos) {
      end = to.size();
    }
    const std::string_view token = std::string_view(to).substr(start, end - start);
    start = end + 1;
    if (token.empty()) {
      continue;
    }
    if (const int cid = ContactOfToken(token); cid >= 0) {
      contacts_.push_back(cid);
    } else {
      typed_.emplace_back(token);
    }
  }
  text_ = msg;
  caret_ = 0;
  rememberedCaret_ = 0;
  CounterRefresh();
}

bool SmsPageModel::OpenForEditing(int id) {
  Reset();
  const std::optional<store::MessageRow> row = s_.store.BeginEditSms(id);
  if (!row) {
    return false;
  }
  editing_ = true;
  editingId_ = id;
  LoadMessage(row->Type, row->To, row->Msg);
  return true;
}

bool SmsPageModel::OpenForResend(int id) {
  Reset();
  std::optional<store::MessageRow> row;
  {
    std::lock_guard lock(s_.store.MessageLock());
    row = s_.store.FindMessage(id);
  }
  if (!row) {
    return false;
  }
  LoadMessage(row->Type, row->To, row->Msg);
  return true;
}

// ---- Binary content

bool SmsPageModel::ImportFileAsHex(const std::string &name) {
  const HexImport result = compose::ImportFileAsHex(name, kMaxContentFileBytes);
  if (!result.ok) {
    s_.ui.ShowMessage(s_.strings.Get(1339), HexImportErrorText(s_.strings, name, result.error),
                      contacts::MessageIcon::Error);
    return false;
  }
  text_ = result.hex;
  caret_ = 0;
  rememberedCaret_ = 0;
  CounterRefresh();
  return true;
}

void SmsPageModel::Browse() {
  const FileKind kind = FileKindForType(type_);
  contacts::FileChoice choice;
  choice.defaultExtension = s_.strings.Get(kind.extensionId);
  choice.filter = s_.strings.Get(kind.filterId);
  const std::optional<std::string> chosen = s_.ui.ChooseOpenFile(choice);
  if (!chosen) {
    return;
  }
  if (chosen->size() > contacts::kMaxPathLength) {
    // Cutting the path would name another file: refuse it like a file that
    // cannot be reached.
    s_.ui.ShowMessage(s_.strings.Get(1339), HexImportErrorText(s_.strings, *chosen, HexNoLength),
                      contacts::MessageIcon::Error);
    fileName_.clear();
    return;
  }
  fileName_ = *chosen;
  if (!IsFileContentType(type_)) {
    return;
  }
  if (!ImportFileAsHex(fileName_)) {
    fileName_.clear();
    return;
  }
  if (type_ == 4) {
    s_.ui.ShowPicturePreview(fileName_);
  }
}

void SmsPageModel::FileNameEntered(const std::string &name) {
  fileName_ = name.substr(0, contacts::kMaxPathLength);
  if (name.size() > contacts::kMaxPathLength) {
    s_.ui.ShowMessage(s_.strings.Get(1339), HexImportErrorText(s_.strings, name, HexNoLength),
                      contacts::MessageIcon::Error);
    fileName_.clear();
    return;
  }
  if (IsFileContentType(type_) && !ImportFileAsHex(fileName_)) {
    fileName_.clear();
  }
}

} // namespace compose
