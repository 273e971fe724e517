#pragma once
// The SMS page: the message type, the editor with its counter, the insert
// buttons, the file of the binary types with its picture preview, the
// contact tree, the recipients typed in place, "Send >>" / "Update >>",
// "Schedule ..." and "Clear SMS", and the balance. The rules live in
// compose::SmsPageModel; the page passes every action in and redraws from
// it. It also fetches the balance when the main window's balance cycle ends
// (UM_REFRESH_BALANCE).

#include "ContactTree.h"
#include "PageFrame.h"
#include "UiContext.h"

#include "compose/SmsPageModel.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace ui {

class AddressBookLoader;
class BalanceLabel;
class MessageEditor;
class PicturePreview;
class RecipientsList;
class SmsPageDialogs;

class SmsPage : public PageFrame {
  Q_OBJECT
public:
  static constexpr int kWidth = 632;
  static constexpr int kHeight = 352;

  SmsPage(const UiContext &context, QWidget *parent = nullptr);
  ~SmsPage() override;

  BalanceLabel *Balance() const { return balance_; }
  // Queries the balance while online, stores it in LastBalance and redraws
  // the label; emits BalanceRefreshed either way.
  void RefreshBalance();

  bool HandleCommand(int id) override;
  // The page was switched to: the contact tree is brought up to date, the
  // editor gets the focus and the counters are refreshed.
  void Activated() override;
  int RefreshCount() const { return refreshes_; }

  // ---- Actions (the buttons and Ctrl+S).
  compose::SendOutcome Send();
  compose::SendOutcome Schedule();
  void Clear();
  // The program ends: an edit in progress is abandoned (the message gets
  // its saved status back).
  void AbandonEdit();
  // The program ends: no balance query starts any more (one would wait on
  // the gateway's call lock, which a stuck worker never gives back).
  void StopBalanceRefreshes() { balanceStopped_ = true; }

  // ---- Entry points for the other pages. Each leaves the page showing the
  // message; the caller selects the SMS tab (UM_SELECT_TAB).

  // Recipients of a new message started from elsewhere: typed numbers (rows
  // of the recipients list), contacts and whole groups of the program's own
  // address book (checked in the contact tree).
  struct Recipients {
    std::vector<std::string> numbers;
    std::vector<int> contactIds;
    std::vector<int> groupIds;
  };

  // The Outbox's "Edit message": loads message `id` in editing mode (the
  // store's BeginEditSms, "Update >>" on the Send button, "Schedule ..."
  // disabled). False when the message cannot be opened.
  bool OpenForEditing(int id);
  // The Outbox's "Resend this SMS": a new message filled from message `id`
  // (type, text or binary content, recipients). False when it is absent.
  bool NewMessageFrom(int id);
  // The Addresses page's "New Message" / "New message to group" and the
  // Outbox's "Resend to undelivered": the page is reset and addressed to
  // `recipients`.
  void NewMessageTo(const Recipients &recipients);

  // The desktop address book's hook (the "MAIL CLIENT" node of the tree).
  void SetAddressBookFiller(ContactTree::AddressBookFiller filler);
  // Fills that node from `loader`: when the page is first shown, when it is
  // shown after MAPI_AddressBook chose the other source, and on "Rebuild"
  // (forced). Its failure messages show over this page's window.
  void UseAddressBooks(AddressBookLoader &loader);

  // Seconds since 1970 for the page and its schedule dialog (tests).
  void SetClock(std::function<std::int64_t()> now) { now_ = std::move(now); }

  // ---- The controls and the logic, for tests.
  compose::SmsPageModel *Model() const { return model_.get(); }
  ContactTree *Tree() const { return tree_; }
  RecipientsList *RecipientList() const { return recipients_; }
  MessageEditor *Editor() const { return editor_; }
  QComboBox *TypeList() const { return type_; }
  QLineEdit *FileNameField() const { return fileName_; }
  PicturePreview *Preview() const { return preview_; }
  QLabel *Counter() const { return counter_; }
  QLabel *RecipientCount() const { return recipientCount_; }
  QPushButton *SendButton() const { return send_; }
  QPushButton *ScheduleButton() const { return schedule_; }

signals:
  void BalanceRefreshed();
  // Messages were queued or changed: the Outbox tab caption is due.
  void OutboxChanged();

protected:
  bool event(QEvent *event) override;

private:
  void BuildControls();
  std::int64_t Now() const;
  // The page's selections into the model, and the model's back into the
  // recipients list and the tree.
  void PullSelections();
  void PushSelections();
  // Redraws everything from the model.
  void Refresh();
  void RefreshRecipientCount();
  void FillTypeList();
  void EditorChanged();
  void TypeChosen();
  void FileNameEntered();
  void Browse();
  void InsertTag(compose::MergeTag tag);
  void InsertSignature();
  // Runs a user action that may open boxes; false when another is running.
  template <class F> auto Guarded(F action, decltype(action()) busyResult);

  UiContext context_;
  std::function<std::int64_t()> now_;
  std::unique_ptr<shell::Settings> ownSettings_;
  contacts::RecentList *recent_ = nullptr;
  std::unique_ptr<contacts::RecentList> ownRecent_;
  std::unique_ptr<engine::MessageQueuer> ownQueuer_;
  std::unique_ptr<SmsPageDialogs> dialogs_;
  std::unique_ptr<compose::SmsPageModel> model_;

  BalanceLabel *balance_ = nullptr;
  QComboBox *type_ = nullptr;
  QLabel *counter_ = nullptr;
  std::vector<QPushButton *> insertButtons_;
  QStackedWidget *content_ = nullptr;
  MessageEditor *editor_ = nullptr;
  QPushButton *browse_ = nullptr;
  QLineEdit *fileName_ = nullptr;
  PicturePreview *preview_ = nullptr;
  ContactTree *tree_ = nullptr;
  RecipientsList *recipients_ = nullptr;
  QLabel *recipientCount_ = nullptr;
  QPushButton *clear_ = nullptr;
  QPushButton *schedule_ = nullptr;
  QPushButton *send_ = nullptr;

  int refreshes_ = 0;
  bool refreshing_ = false;
  bool refreshAgain_ = false;
  bool balanceStopped_ = false;
  int syncing_ = 0;
  bool busy_ = false;
  // MAPI_AddressBook when the address-book node was last filled.
  bool addressBookSource_ = false;
};

} // namespace ui
