#include "AddressesPage.h"

#include "ContactDialog.h"
#include "ContactsExportDialog.h"
#include "ContactsImportDialog.h"
#include "ControlIds.h"
#include "DeleteContactDialog.h"
#include "GroupDialog.h"
#include "GroupListWidget.h"
#include "MemberListModel.h"
#include "MemberListView.h"
#include "MessageBoxes.h"
#include "PopupMenu.h"
#include "QtUserDialogs.h"
#include "Theme.h"
#include "UiText.h"

#include "addresses/AddressesIds.h"
#include "addresses/ContactForm.h"
#include "addresses/ContactRemoval.h"
#include "addresses/DragPayload.h"

#include "engine/UserPrompt.h"
#include "shell/WinFormat.h"
#include "store/SmsStore.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace ui {

namespace {
QPushButton *MakeButton(int id, const QString &text, QWidget *parent) {
  auto *button = new QPushButton(text, parent);
  button->setObjectName(QString::number(id));
  button->setAccessibleName(text);
  return button;
}
} // namespace

AddressesPage::AddressesPage(const UiContext &context, QWidget *parent)
    : PageFrame(ids::kPageAddresses, "Addresses", QSize(kWidth, kHeight), parent),
      context_(context), book_(context.store), dialogs_(std::make_unique<QtUserDialogs>(this)) {
  BuildControls();
  Refresh();
}

AddressesPage::~AddressesPage() {
  // The member list's model reads the page's table: the list goes first.
  delete members_;
}

void AddressesPage::BuildControls() {
  const QRect content = ContentRect();
  constexpr int kLeftWidth = 184;
  constexpr int kGap = 12;
  constexpr int kLabelHeight = 20;
  constexpr int kButtonHeight = 28;
  const int listTop = content.top() + kLabelHeight + 4;
  const int buttonTop = content.bottom() + 1 - kButtonHeight;
  const int listHeight = buttonTop - 8 - listTop;
  const int right = content.left() + kLeftWidth + kGap;
  const int rightWidth = content.right() + 1 - right;

  // Groups.
  auto *groupsLabel = new QLabel("Groups:", this);
  groupsLabel->setGeometry(content.left(), content.top(), kLeftWidth, kLabelHeight);
  groups_ = new GroupListWidget(this);
  groups_->setGeometry(content.left(), listTop, kLeftWidth, listHeight);
  groupsLabel->setBuddy(groups_);
  newGroup_ = MakeButton(ids::kAddrNewGroupButton, "New Group", this);
  newGroup_->setGeometry(content.left(), buttonTop, kLeftWidth, kButtonHeight);

  // Members of the current group.
  auto *membersLabel = new QLabel("Members of Group:", this);
  const int membersLabelWidth = membersLabel->sizeHint().width() + 6;
  membersLabel->setGeometry(right, content.top(), membersLabelWidth, kLabelHeight);
  groupLabel_ = new QLabel(this);
  groupLabel_->setObjectName(QString::number(ids::kAddrGroupLabel));
  groupLabel_->setAccessibleName("Current group");
  groupLabel_->setFont(theme::UiFont(9.5, QFont::DemiBold));
  groupLabel_->setTextFormat(Qt::PlainText);
  groupLabel_->setGeometry(right + membersLabelWidth, content.top(),
                           rightWidth - membersLabelWidth, kLabelHeight);
  members_ = new MemberListView(this);
  model_ = new MemberListModel(table_, members_);
  members_->setModel(model_);
  members_->setGeometry(right, listTop, rightWidth, listHeight);
  members_->header()->resizeSection(0, 132);
  members_->header()->resizeSection(1, 132);
  membersLabel->setBuddy(members_);

  newContact_ = MakeButton(ids::kAddrNewContactButton, "New Contact", this);
  upload_ = MakeButton(ids::kAddrUploadButton, "Upload", this);
  export_ = MakeButton(ids::kAddrExportButton, "Export", this);
  int x = right;
  for (QPushButton *b : {newContact_, upload_, export_}) {
    const int w = std::max(96, b->sizeHint().width());
    b->setGeometry(x, buttonTop, w, kButtonHeight);
    x += w + 8;
  }

  // Quick search, in the title strip.
  searchButton_ = MakeButton(ids::kAddrSearchButton, "Search >>", this);
  const int searchButtonWidth = std::max(88, searchButton_->sizeHint().width());
  searchButton_->setGeometry(width() - kMargin - searchButtonWidth, 8, searchButtonWidth,
                             kButtonHeight);
  searchText_ = new QLineEdit(this);
  searchText_->setObjectName(QString::number(ids::kAddrSearchText));
  searchText_->setAccessibleName("Quick search");
  searchText_->setPlaceholderText("Name, surname or number");
  searchText_->setClearButtonEnabled(true);
  searchText_->setGeometry(searchButton_->x() - 6 - 190, 8, 190, kButtonHeight);
  searchButton_->setEnabled(false);

  connect(groups_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (const int gid = GroupAtRow(row); gid != 0 && gid != currentGid_) ShowGroup(gid);
  });
  connect(groups_, &GroupListWidget::MenuRequested, this, &AddressesPage::ShowGroupMenu);
  groups_->SetDropHandler([this](const QString &payload, int row, bool copy) {
    return DropPayload(payload, row, copy);
  });
  connect(members_, &MemberListView::MenuRequested, this, &AddressesPage::ShowContactMenu);
  connect(members_, &MemberListView::HeaderClicked, this, [this](int column) {
    model_->Reset([&] { table_.SortBy(column); });
    members_->header()->setSortIndicator(
        table_.SortColumn(), table_.Descending() ? Qt::DescendingOrder : Qt::AscendingOrder);
  });
  members_->SetPayload([this](int row) {
    return QString::fromStdString(addresses::DragPayload{row, currentGid_}.Text());
  });
  connect(newGroup_, &QPushButton::clicked, this, [this] { NewGroup(); });
  connect(newContact_, &QPushButton::clicked, this, [this] { NewContact(); });
  connect(upload_, &QPushButton::clicked, this, [this] { ImportCsv(currentGid_); });
  connect(export_, &QPushButton::clicked, this, [this] { ExportCsv(); });
  connect(searchText_, &QLineEdit::textChanged, this,
          [this](const QString &text) { searchButton_->setEnabled(!text.isEmpty()); });
  connect(searchText_, &QLineEdit::returnPressed, this, [this] {
    if (!searchText_->text().isEmpty()) Search();
  });
  connect(searchButton_, &QPushButton::clicked, this, [this] { Search(); });
}

QPushButton *AddressesPage::Button(int id) const {
  for (QPushButton *b : {newGroup_, newContact_, upload_, export_, searchButton_})
    if (b->objectName().toInt() == id) return b;
  return nullptr;
}

// ---- Showing the address book

void AddressesPage::Refresh() {
  book_.Reload();
  FillGroupList();
  ShowGroup(currentGid_);
}

void AddressesPage::FillGroupList() {
  QSignalBlocker quiet(groups_);
  groups_->clear();
  for (const addresses::GroupEntry &group : book_.Groups())
    groups_->addItem(FromAnsi(addresses::AddressBook::GroupText(group)));
}

void AddressesPage::ShowGroup(int gid) {
  int row = book_.GroupRow(gid);
  if (row < 0) {
    gid = book_.FirstGroupId();
    row = book_.GroupRow(gid);
  }
  currentGid_ = gid;
  model_->Reset([&] { table_.Fill(book_.Members(gid)); });
  groupLabel_->setText(row >= 0 ? FromAnsi(book_.Groups()[static_cast<std::size_t>(row)].name)
                                : QString());
  if (row >= 0 && groups_->currentRow() != row) {
    QSignalBlocker quiet(groups_);
    groups_->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
  }
}

int AddressesPage::GroupAtRow(int row) const {
  const auto &groups = book_.Groups();
  return row >= 0 && row < static_cast<int>(groups.size())
             ? groups[static_cast<std::size_t>(row)].gid
             : 0;
}

bool AddressesPage::IsFirstGroup(int gid) const {
  return gid != 0 && gid == book_.FirstGroupId();
}

std::vector<int> AddressesPage::SelectedContacts() const {
  std::vector<int> cids;
  for (int row : members_->SelectedRows())
    if (const int cid = table_.CidAt(row)) cids.push_back(cid);
  return cids;
}

bool AddressesPage::HaveGroups(int textId) {
  if (book_.Groups().size() >= 2) return true;
  MessageBoxes::Show(this, Text(textId), Text(1173), engine::kBoxOk | engine::kBoxIconInformation);
  return false;
}

// ---- Context menus

void AddressesPage::ShowGroupMenu(int row, QPoint globalPos) {
  menuRow_ = row;
  const int selected = static_cast<int>(groups_->SelectedRows().size());
  const int id = PopupMenu::Run(
      this, "Groups", addresses::GroupMenuItems(),
      [&](int item) { return addresses::GroupItemEnabled(item, row, selected); }, globalPos);
  if (id) GroupCommand(id);
}

void AddressesPage::ShowContactMenu(int row, QPoint globalPos) {
  menuRow_ = row;
  const int id = PopupMenu::Run(
      this, "Contacts", addresses::ContactMenuItems(),
      [&](int item) { return addresses::ContactItemEnabled(item, row, clipboard_.Empty()); },
      globalPos);
  if (id) ContactCommand(id);
}

void AddressesPage::GroupCommand(int id) {
  if (!context_.store) return;
  const int gid = GroupAtRow(menuRow_);
  switch (id) {
  case ids::kMenuNewGroup:
    NewGroup();
    break;
  case ids::kMenuRenameGroup:
    if (gid) RenameGroup(gid);
    break;
  case ids::kMenuDeleteGroup:
    if (gid) DeleteGroup(gid);
    break;
  case ids::kMenuUploadContacts:
    if (gid) ImportCsv(gid);
    break;
  case ids::kMenuSelectAllGroups:
    groups_->selectAll();
    break;
  case ids::kMenuNewMessageToGroup: {
    SmsPage::Recipients recipients;
    for (int row : groups_->SelectedRows())
      if (const int selected = GroupAtRow(row)) recipients.groupIds.push_back(selected);
    StartMessage(recipients);
    break;
  }
  default:
    break;
  }
}

void AddressesPage::ContactCommand(int id) {
  if (!context_.store) return;
  const int cid = table_.CidAt(menuRow_);
  switch (id) {
  case ids::kMenuNewContact:
    NewContact();
    break;
  case ids::kMenuEditContact:
    if (cid) EditContact(cid);
    break;
  case ids::kMenuDeleteContacts:
    DeleteContacts();
    break;
  case ids::kMenuCopy:
    if (cid) clipboard_.Take(*context_.store, cid, addresses::ContactClipboard::Mode::Copied);
    break;
  case ids::kMenuCut:
    if (cid) CutContact(cid);
    break;
  case ids::kMenuPaste:
    Paste();
    break;
  case ids::kMenuUploadCsv:
    ImportCsv(currentGid_);
    break;
  case ids::kMenuSelectAllContacts:
    members_->selectAll();
    break;
  case ids::kMenuNewMessage: {
    SmsPage::Recipients recipients;
    recipients.contactIds = SelectedContacts();
    StartMessage(recipients);
    break;
  }
  default:
    break;
  }
}

// ---- Group commands

void AddressesPage::NewGroup() {
  if (!context_.store) return;
  GroupDialog dialog(false, {}, this);
  if (dialog.exec() != QDialog::Accepted) return;
  context_.store->AddGroup(dialog.Name());
  Refresh();
}

void AddressesPage::RenameGroup(int gid) {
  const int row = book_.GroupRow(gid);
  if (row < 0) return;
  GroupDialog dialog(true, book_.Groups()[static_cast<std::size_t>(row)].name, this);
  if (dialog.exec() != QDialog::Accepted) return;
  context_.store->RenameGroup(gid, dialog.Name());
  Refresh();
}

void AddressesPage::DeleteGroup(int gid) {
  const int row = book_.GroupRow(gid);
  if (row < 0) return;
  const addresses::GroupEntry &group = book_.Groups()[static_cast<std::size_t>(row)];
  const int answer = MessageBoxes::Show(this, FormatText(1177, group.name, group.count), Text(1176),
                                        engine::kBoxYesNo | engine::kBoxIconQuestion);
  if (answer != engine::kAnswerYes) return;
  context_.store->DeleteGroup(gid);
  Refresh();
}

// ---- Contact commands

void AddressesPage::NewContact() {
  if (!context_.store || !HaveGroups(1171)) return;
  addresses::ContactForm form(book_.Groups());
  form.CheckGroup(currentGid_);
  ContactDialog dialog(false, form, this);
  if (dialog.exec() != QDialog::Accepted) return;
  form.Save(*context_.store, 0);
  Refresh();
}

void AddressesPage::EditContact(int cid) {
  addresses::ContactForm form(book_.Groups());
  if (!form.Load(*context_.store, cid)) return;
  ContactDialog dialog(true, form, this);
  if (dialog.exec() != QDialog::Accepted) return;
  form.Save(*context_.store, cid);
  Refresh();
}

bool AddressesPage::RemoveContacts(const std::vector<int> &cids) {
  addresses::ContactRemoval removal(*context_.store, currentGid_, IsFirstGroup(currentGid_));
  bool fromAllGroups = false;
  if (removal.NeedsScopeQuestion(cids)) {
    DeleteContactDialog scope(this);
    if (scope.exec() != QDialog::Accepted) return false;
    fromAllGroups = scope.FromAllGroups();
  }
  removal.Remove(cids, fromAllGroups);
  return true;
}

void AddressesPage::DeleteContacts() {
  const std::vector<int> cids = SelectedContacts();
  if (cids.empty()) return;
  const int answer = MessageBoxes::Show(
      this, FromAnsi(shell::WinFormat(AnsiText(1179), static_cast<int>(cids.size()))), Text(1178),
      engine::kBoxYesNo | engine::kBoxIconQuestion);
  if (answer != engine::kAnswerYes) return;
  if (RemoveContacts(cids)) Refresh();
}

void AddressesPage::CutContact(int cid) {
  // A cut the user called off leaves the clipboard as it was: a cut
  // contact that is still in its group must not be pasted as a second one.
  const addresses::ContactClipboard before = clipboard_;
  if (!clipboard_.Take(*context_.store, cid, addresses::ContactClipboard::Mode::Cut)) return;
  if (!RemoveContacts({cid})) {
    clipboard_ = before;
    return;
  }
  Refresh();
}

void AddressesPage::Paste() {
  clipboard_.Paste(*context_.store, currentGid_);
  Refresh();
}

void AddressesPage::StartMessage(const SmsPage::Recipients &recipients) {
  if (newMessage_) newMessage_(recipients);
}

// ---- Search

void AddressesPage::Search() {
  const auto &contacts = book_.Contacts();
  const std::optional<std::size_t> found = search_.Find(ToAnsi(searchText_->text()), contacts);
  if (!found) return;
  const int cid = contacts[*found].CID;
  auto rowOf = [this, cid] {
    const auto &rows = table_.Rows();
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (rows[i].cid == cid) return static_cast<int>(i);
    return -1;
  };
  int row = rowOf();
  if (row < 0) {
    // Not in the group shown: every contact is in the first group's list.
    ShowGroup(book_.FirstGroupId());
    row = rowOf();
  }
  if (row >= 0) members_->SelectOnly(row);
}

// ---- Drag and drop

bool AddressesPage::DropPayload(const QString &payload, int row, bool copy) {
  if (!context_.store) return false;
  const std::optional<addresses::DragPayload> drag =
      addresses::DragPayload::Parse(payload.toStdString());
  const int target = GroupAtRow(row);
  // The payload names a row of the member list as it is shown now.
  if (!drag || drag->gid != currentGid_ || target == 0) return false;
  const int cid = table_.CidAt(drag->row);
  if (cid == 0) return false;
  if (copy)
    context_.store->EnsureMembership(cid, target);
  else
    context_.store->MoveContact(cid, target, drag->gid);
  Refresh();
  return true;
}

// ---- CSV exchange

void AddressesPage::ImportCsv(int gid) {
  if (!context_.store || !HaveGroups(1172)) return;
  contacts::ContactsImportDialogModel model(*context_.store, Strings(), *dialogs_, gid);
  ContactsImportDialog dialog(model, this);
  if (dialog.exec() == QDialog::Accepted) Refresh();
}

void AddressesPage::ExportCsv() {
  if (!context_.store) return;
  const std::vector<int> selected = SelectedContacts();
  contacts::ContactsExportDialogModel model(*context_.store, Strings(), *dialogs_, selected);
  if (!model.CanOpen(static_cast<int>(book_.Groups().size()))) return;
  ContactsExportDialog dialog(model, !selected.empty(), this);
  dialog.exec();
}

} // namespace ui
