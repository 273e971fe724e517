#pragma once
// The Addresses page: the program's own address book. Groups on the left
// ("%s (%d)", several selectable), the members of the current group on the
// right (Name, Surname, Mobile No.; sortable), the buttons "New Group",
// "New Contact", "Upload" and "Export", the quick search, and a context
// menu on each list. Contacts are copied or moved between groups with Copy,
// Cut and Paste or by dragging them onto a group; "New Message" starts a
// message to the chosen contacts or groups on the SMS page.
//
// The page's logic lives in plain classes (addresses/); the page wires the
// widgets to them and asks the user what they need.

#include "PageFrame.h"
#include "QtUserDialogs.h"
#include "SmsPage.h"
#include "UiContext.h"

#include "addresses/AddressBook.h"
#include "addresses/ContactClipboard.h"
#include "addresses/ContactSearch.h"
#include "addresses/MemberTable.h"

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {

class GroupListWidget;
class MemberListModel;
class MemberListView;


class AddressesPage : public PageFrame {
  Q_OBJECT
public:
  static constexpr int kWidth = 632;
  static constexpr int kHeight = 352;

  explicit AddressesPage(const UiContext &context, QWidget *parent = nullptr);
  ~AddressesPage() override;

  // "New Message" and "New message to group": the main window hands the
  // recipients to the SMS page and selects the SMS tab.
  using NewMessageHandler = std::function<void(const SmsPage::Recipients &)>;
  void SetNewMessageHandler(NewMessageHandler handler) { newMessage_ = std::move(handler); }

  // Reads the address book again and shows the current group.
  void Refresh();
  void Activated() override { Refresh(); }

  // Shows a group's members (a GID; the first group when it is unknown).
  void ShowGroup(int gid);
  // The context menus' commands (ids of addresses/AddressesIds.h), for the
  // row under the cursor of the last menu.
  void GroupCommand(int id);
  void ContactCommand(int id);
  // "Search >>" or Enter in the quick-search field.
  void Search();
  // A contact payload dropped on the group list's row `row`; false when it
  // names no contact of the member list.
  bool DropPayload(const QString &payload, int row, bool copy);

  int CurrentGroup() const { return currentGid_; }
  const addresses::AddressBook &Book() const { return book_; }
  const addresses::MemberTable &Members() const { return table_; }
  const addresses::ContactClipboard &Clipboard() const { return clipboard_; }
  GroupListWidget *GroupList() const { return groups_; }
  MemberListView *MemberList() const { return members_; }
  QLabel *GroupLabel() const { return groupLabel_; }
  QLineEdit *SearchField() const { return searchText_; }
  QPushButton *Button(int id) const;

private:
  void BuildControls();
  void FillGroupList();
  void ShowGroupMenu(int row, QPoint globalPos);
  void ShowContactMenu(int row, QPoint globalPos);
  int GroupAtRow(int row) const;
  bool IsFirstGroup(int gid) const;
  std::vector<int> SelectedContacts() const;
  // False, after "Need a group" with text `textId`, when the group list
  // holds fewer than two groups.
  bool HaveGroups(int textId);

  void NewGroup();
  void RenameGroup(int gid);
  void DeleteGroup(int gid);
  void NewContact();
  void EditContact(int cid);
  // Asks as Delete Contact(s) does after its first question; false when
  // the user cancelled.
  bool RemoveContacts(const std::vector<int> &cids);
  void DeleteContacts();
  void CutContact(int cid);
  void Paste();
  void ImportCsv(int gid);
  void ExportCsv();
  void StartMessage(const SmsPage::Recipients &recipients);

  UiContext context_;
  addresses::AddressBook book_;
  addresses::MemberTable table_;
  addresses::ContactSearch search_;
  addresses::ContactClipboard clipboard_;
  int currentGid_ = 0;
  int menuRow_ = -1;
  NewMessageHandler newMessage_;
  std::unique_ptr<QtUserDialogs> dialogs_;

  GroupListWidget *groups_ = nullptr;
  MemberListView *members_ = nullptr;
  MemberListModel *model_ = nullptr;
  QLabel *groupLabel_ = nullptr;
  QLineEdit *searchText_ = nullptr;
  QPushButton *searchButton_ = nullptr;
  QPushButton *newGroup_ = nullptr;
  QPushButton *newContact_ = nullptr;
  QPushButton *upload_ = nullptr;
  QPushButton *export_ = nullptr;
};

} // namespace ui
