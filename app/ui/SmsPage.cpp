#include "SmsPage.h"

#include "AddressBookLoader.h"
#include "BackgroundCall.h"
#include "BalanceLabel.h"
#include "BalanceValue.h"
#include "ControlIds.h"
#include "MessageEditor.h"
#include "PicturePreview.h"
#include "RecipientsList.h"
#include "SmsPageDialogs.h"
#include "UiText.h"
#include "WindowMessage.h"

#include "compose/TypeControls.h"
#include "contacts/AddressBookTree.h"
#include "contacts/RecentList.h"
#include "engine/EngineServices.h"
#include "engine/GatewayApi.h"
#include "engine/MessageQueuer.h"
#include "engine/WindowMessages.h"
#include "shell/Settings.h"
#include "store/SmsStore.h"

#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <chrono>
#include <mutex>
#include <set>

namespace ui {

namespace {

// Without the worker nothing can be queued.
class NoQueuer : public engine::MessageQueuer {
public:
  int QueueMessage(int, int, int, int, const std::string &, const std::string &, int,
                   bool) override {
    return -1;
  }
};

// Width of the contact tree and the recipients list.
constexpr int kRecipientsWidth = 196;

template <class W> W *Named(W *w, int id, const QString &accessible) {
  w->setObjectName(QString::number(id));
  w->setAccessibleName(accessible);
  return w;
}

QString PathText(const std::string &path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

// The type list's text of a type the list does not offer (a loaded message).
int ExtraTypeStringId(int type) {
  switch (type) {
  case 3:
    return 1315;
  case 4:
    return 1316;
  case 5:
    return 1317;
  default:
    return 1320;
  }
}

} // namespace

SmsPage::SmsPage(const UiContext &context, QWidget *parent)
    : PageFrame(ids::kPageSms, "SMS", QSize(kWidth, kHeight), parent), context_(context) {
  shell::Settings *settings = context_.settings;
  if (!settings) {
    ownSettings_ = std::make_unique<shell::Settings>();
    settings = ownSettings_.get();
  }
  recent_ = context_.recent;
  if (!recent_) {
    ownRecent_ = std::make_unique<contacts::RecentList>();
    recent_ = ownRecent_.get();
  }
  engine::MessageQueuer *queuer = context_.queuer;
  if (!queuer) {
    ownQueuer_ = std::make_unique<NoQueuer>();
    queuer = ownQueuer_.get();
  }

  BuildControls();

  SmsPageDialogs::Hooks hooks;
  hooks.settings = settings;
  hooks.settingsFile = context_.settingsFile;
  hooks.now = [this] { return Now(); };
  hooks.preview = preview_;
  hooks.outboxChanged = [this] { emit OutboxChanged(); };
  dialogs_ = std::make_unique<SmsPageDialogs>(this, std::move(hooks));
  if (context_.store) {
    model_ = std::make_unique<compose::SmsPageModel>(
        compose::SmsPageServices{*context_.store, *settings, Strings(), *recent_, *queuer,
                                 *dialogs_, [this] { return Now(); }});
  }

  if (context_.settings)
    balance_->ShowBalance(context_.settings->LastBalance,
                          engine::IsWorkingOnLine(*context_.settings));
  Refresh();
}

SmsPage::~SmsPage() {
  // The model and the dialogs go before the controls: what the controls
  // signal on their way out (the editor losing the focus) must not reach
  // them.
  for (QObject *child : findChildren<QObject *>())
    QObject::disconnect(child, nullptr, this, nullptr);
}

std::int64_t SmsPage::Now() const {
  if (now_) return now_();
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

void SmsPage::BuildControls() {
  balance_ = new BalanceLabel(ids::kSmsBalance, this);
  balance_->setGeometry(width() - kMargin - 220, 10, 220, 28);
  balance_->setAccessibleName("Balance");

  // Type, counter and the insert buttons.
  type_ = Named(new QComboBox(this), ids::kSmsType, "Message type");
  type_->setMinimumWidth(150);
  counter_ = Named(new QLabel(this), compose::IdcCounter, "Characters (messages)");
  counter_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  counter_->setMinimumWidth(counter_->fontMetrics().horizontalAdvance("459 (3)") + 4);
  auto *counterCaption = new QLabel("Length:", this);
  counterCaption->setProperty("role", "muted");
  auto *typeRow = new QHBoxLayout;
  typeRow->addWidget(type_);
  typeRow->addStretch(1);
  typeRow->addWidget(counterCaption);
  typeRow->addWidget(counter_);

  struct Insert {
    int id;
    const char *text;
  };
  const Insert inserts[] = {{compose::IdcInsertName, "<< Name"},
                            {compose::IdcInsertTitle, "<< Title"},
                            {compose::IdcInsertSurname, "<< Surname"},
                            {compose::IdcInsertCustom, "<< Custom"},
                            {compose::IdcInsertSignature, "<< Signature"}};
  // The insert buttons stand beside the editor, pointing into it.
  auto *insertColumn = new QVBoxLayout;
  insertColumn->setSpacing(6);
  for (const Insert &i : inserts) {
    auto *button = Named(new QPushButton(i.text, this), i.id, i.text);
    button->setStyleSheet("QPushButton { padding: 4px 6px; text-align: left; }");
    button->setAutoDefault(false);
    insertButtons_.push_back(button);
    insertColumn->addWidget(button);
  }
  insertColumn->addStretch(1);
  connect(insertButtons_[0], &QPushButton::clicked, this,
          [this] { InsertTag(compose::MergeTag::Name); });
  connect(insertButtons_[1], &QPushButton::clicked, this,
          [this] { InsertTag(compose::MergeTag::Title); });
  connect(insertButtons_[2], &QPushButton::clicked, this,
          [this] { InsertTag(compose::MergeTag::Surname); });
  connect(insertButtons_[3], &QPushButton::clicked, this,
          [this] { InsertTag(compose::MergeTag::Custom); });
  connect(insertButtons_[4], &QPushButton::clicked, this, &SmsPage::InsertSignature);

  // The editor, or the file of the binary types with the preview, or
  // neither.
  content_ = new QStackedWidget(this);
  editor_ = Named(new MessageEditor(content_), compose::IdcEditor, "Message");
  editor_->setPlaceholderText("Type your message here");
  content_->addWidget(editor_);
  auto *filePanel = new QWidget(content_);
  browse_ = Named(new QPushButton("Browse ...", filePanel), compose::IdcBrowse, "Browse ...");
  browse_->setAutoDefault(false);
  fileName_ = Named(new QLineEdit(filePanel), compose::IdcFileName, "File name");
  fileName_->setPlaceholderText("File name, then Enter");
  preview_ = new PicturePreview(filePanel);
  Named(preview_, compose::IdcPreview, "Picture preview");
  auto *fileLayout = new QGridLayout(filePanel);
  fileLayout->setContentsMargins(0, 0, 0, 0);
  fileLayout->addWidget(fileName_, 0, 0);
  fileLayout->addWidget(browse_, 0, 1);
  fileLayout->addWidget(preview_, 1, 0, 1, 2, Qt::AlignLeft | Qt::AlignTop);
  fileLayout->setRowStretch(2, 1);
  content_->addWidget(filePanel);
  content_->addWidget(new QWidget(content_));

  auto *composeRow = new QHBoxLayout;
  composeRow->setSpacing(8);
  composeRow->addWidget(content_, 1);
  composeRow->addLayout(insertColumn);
  auto *left = new QVBoxLayout;
  left->setSpacing(8);
  left->addLayout(typeRow);
  left->addLayout(composeRow, 1);

  // The recipients.
  tree_ = new ContactTree(context_.store, recent_, this);
  recipients_ = new RecipientsList(this);
  recipients_->setFixedHeight(64);
  auto *numbersCaption = new QLabel("Numbers:", this);
  numbersCaption->setProperty("role", "muted");
  recipientCount_ = Named(new QLabel(this), ids::kSmsRecipientCount, "Recipient count");
  recipientCount_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto *numbersRow = new QHBoxLayout;
  numbersRow->addWidget(numbersCaption);
  numbersRow->addStretch(1);
  numbersRow->addWidget(recipientCount_);
  auto *right = new QVBoxLayout;
  right->setSpacing(6);
  tree_->setFixedWidth(kRecipientsWidth);
  recipients_->setFixedWidth(kRecipientsWidth);
  right->addWidget(tree_, 1);
  right->addLayout(numbersRow);
  right->addWidget(recipients_);

  // The buttons.
  clear_ = Named(new QPushButton("Clear SMS", this), ids::kSmsClear, "Clear SMS");
  schedule_ = Named(new QPushButton("Schedule ...", this), compose::IdcSchedule, "Schedule ...");
  send_ = Named(new QPushButton(Text(1334), this), compose::IdcSend, "Send");
  send_->setProperty("role", "primary");
  send_->setMinimumWidth(104);
  for (QPushButton *b : {clear_, schedule_, send_})
    b->setAutoDefault(false);
  auto *buttons = new QHBoxLayout;
  buttons->addWidget(clear_);
  buttons->addStretch(1);
  buttons->addWidget(schedule_);
  buttons->addWidget(send_);

  auto *grid = new QGridLayout(this);
  const QRect content = ContentRect();
  grid->setContentsMargins(content.left(), content.top(), width() - content.right() - 1,
                           height() - content.bottom() - 1);
  grid->setHorizontalSpacing(16);
  grid->setVerticalSpacing(8);
  grid->addLayout(left, 0, 0);
  grid->addLayout(right, 0, 1);
  grid->addLayout(buttons, 1, 0, 1, 2);
  grid->setColumnStretch(0, 1);

  connect(editor_, &QPlainTextEdit::textChanged, this, &SmsPage::EditorChanged);
  connect(editor_, &MessageEditor::FocusGained, this, [this] {
    if (!model_ || syncing_) return;
    model_->OnEditorFocus();
    Refresh();
  });
  connect(editor_, &MessageEditor::FocusLost, this, [this](int caret) {
    if (!model_) return;
    model_->OnEditorFocusLost(ToAnsi(editor_->toPlainText().left(caret)).size());
  });
  connect(type_, &QComboBox::currentIndexChanged, this, [this] {
    if (!syncing_) TypeChosen();
  });
  connect(browse_, &QPushButton::clicked, this, &SmsPage::Browse);
  connect(fileName_, &QLineEdit::returnPressed, this, &SmsPage::FileNameEntered);
  connect(clear_, &QPushButton::clicked, this, &SmsPage::Clear);
  connect(schedule_, &QPushButton::clicked, this, [this] { Schedule(); });
  connect(send_, &QPushButton::clicked, this, [this] { Send(); });
  connect(tree_, &ContactTree::SelectionChanged, this, [this] {
    if (syncing_) return;
    PullSelections();
    RefreshRecipientCount();
  });
  connect(tree_, &ContactTree::RecentCleared, this, [this] {
    if (!context_.settings) return;
    auto hold = shell::LockSettings(*context_.settings);
    recent_->SaveTo(*context_.settings);
  });
  connect(recipients_, &RecipientsList::NumbersChanged, this, [this] {
    if (syncing_) return;
    PullSelections();
    RefreshRecipientCount();
  });
}

// ---- Drawing from the model

void SmsPage::FillTypeList() {
  const int type = model_ ? model_->Type() : 0;
  if (type_->count() == 0)
    for (const compose::TypeListEntry &e : compose::kTypeList)
      type_->addItem(Text(e.stringId), e.type);
  // A loaded message of a type the list does not offer gets an item of its
  // own while it is on the page.
  while (type_->count() > static_cast<int>(compose::kTypeList.size()) &&
         type_->itemData(type_->count() - 1).toInt() != type)
    type_->removeItem(type_->count() - 1);
  int index = type_->findData(type);
  if (index < 0) {
    type_->addItem(Text(ExtraTypeStringId(type)), type);
    index = type_->count() - 1;
  }
  type_->setCurrentIndex(index);
}

void SmsPage::Refresh() {
  ++syncing_;
  FillTypeList();
  const compose::TypeControls controls =
      compose::TypeControls::ForType(model_ ? model_->Type() : 0);
  for (QPushButton *b : insertButtons_)
    b->setEnabled(controls.insertButtons && model_);
  content_->setCurrentIndex(controls.editor ? 0 : controls.fileChooser ? 1 : 2);
  preview_->setVisible(controls.preview);
  if (model_) {
    editor_->Load(FromAnsi(model_->EditorText()), static_cast<int>(model_->EditorCaret()));
    counter_->setText(FromAnsi(model_->CounterLabel()));
    send_->setText(FromAnsi(model_->SendButtonText()));
    send_->setEnabled(model_->SendEnabled());
    schedule_->setEnabled(model_->ScheduleEnabled());
  } else {
    counter_->setText("0 (1)");
    send_->setEnabled(false);
    schedule_->setEnabled(false);
  }
  send_->setAccessibleName(send_->text());
  --syncing_;
  RefreshRecipientCount();
}

void SmsPage::RefreshRecipientCount() {
  recipientCount_->setText(QString("Recipients: %1").arg(model_ ? model_->RecipientCount() : 0));
}

void SmsPage::PullSelections() {
  if (!model_) return;
  model_->SetTypedNumbers(recipients_->Numbers());
  model_->SetSelectedContacts(tree_->CheckedContacts());
  model_->SetSelectedRecent(tree_->CheckedRecent());
  std::vector<compose::OutlookRecipient> outlook;
  for (const ContactTree::AddressEntry &e : tree_->CheckedAddressEntries())
    outlook.push_back({e.name, e.number});
  model_->SetSelectedOutlook(std::move(outlook));
}

void SmsPage::PushSelections() {
  if (!model_) return;
  ++syncing_;
  // Contacts added since the tree was filled must be there to be checked;
  // the recent list may have changed.
  tree_->FillOwnNode();
  tree_->FillRecentNode();
  tree_->ClearChecks();
  tree_->CheckContacts(model_->SelectedContacts());
  recipients_->SetNumbers(model_->TypedNumbers());
  fileName_->setText(PathText(model_->FileName()));
  if (model_->FileName().empty()) preview_->Clear();
  --syncing_;
  PullSelections();
}

// ---- User actions

template <class F> auto SmsPage::Guarded(F action, decltype(action()) busyResult) {
  // Boxes keep events coming: a second action waits for the first.
  if (busy_ || !model_) return busyResult;
  busy_ = true;
  struct Release {
    bool &flag;
    ~Release() { flag = false; }
  } release{busy_};
  return action();
}

void SmsPage::EditorChanged() {
  if (syncing_ || !model_) return;
  const QString text = editor_->toPlainText();
  const std::size_t caret = ToAnsi(text.left(editor_->textCursor().position())).size();
  model_->SetEditorText(ToAnsi(text), caret);
  Refresh();
}

void SmsPage::TypeChosen() {
  const int type = type_->currentData().toInt();
  Guarded(
      [&] {
        model_->ChangeType(type);
        return true;
      },
      false);
  Refresh();
}

void SmsPage::InsertTag(compose::MergeTag tag) {
  if (!model_) return;
  model_->InsertTag(tag);
  Refresh();
  editor_->setFocus();
}

void SmsPage::InsertSignature() {
  if (!model_) return;
  model_->InsertSignature();
  Refresh();
  editor_->setFocus();
}

void SmsPage::Browse() {
  Guarded(
      [&] {
        model_->Browse();
        return true;
      },
      false);
  if (!model_) return;
  fileName_->setText(PathText(model_->FileName()));
  if (model_->FileName().empty()) preview_->Clear();
  Refresh();
}

void SmsPage::FileNameEntered() {
  const std::string name = QFile::encodeName(fileName_->text()).toStdString();
  const bool ran = Guarded(
      [&] {
        model_->FileNameEntered(name);
        return true;
      },
      false);
  if (!ran) return;
  // No preview is made for a typed name: an earlier one would show another
  // file.
  preview_->Clear();
  fileName_->setText(PathText(model_->FileName()));
  Refresh();
}

compose::SendOutcome SmsPage::Send() {
  const compose::SendOutcome outcome = Guarded(
      [&] {
        PullSelections();
        return model_->Send();
      },
      compose::SendOutcome::Nothing);
  if (outcome == compose::SendOutcome::Queued || outcome == compose::SendOutcome::Updated)
    PushSelections();
  Refresh();
  return outcome;
}

compose::SendOutcome SmsPage::Schedule() {
  const compose::SendOutcome outcome = Guarded(
      [&] {
        PullSelections();
        return model_->Schedule();
      },
      compose::SendOutcome::Nothing);
  if (outcome == compose::SendOutcome::Queued) PushSelections();
  Refresh();
  return outcome;
}

void SmsPage::Clear() {
  if (!model_ || busy_) return;
  model_->Reset();
  PushSelections();
  Refresh();
}

void SmsPage::AbandonEdit() {
  if (model_ && model_->Editing()) Clear();
}

// ---- Entry points

bool SmsPage::OpenForEditing(int id) {
  if (!model_ || busy_) return false;
  const bool opened = model_->OpenForEditing(id);
  PushSelections();
  Refresh();
  return opened;
}

bool SmsPage::NewMessageFrom(int id) {
  if (!model_ || busy_) return false;
  const bool opened = model_->OpenForResend(id);
  PushSelections();
  Refresh();
  return opened;
}

void SmsPage::NewMessageTo(const Recipients &recipients) {
  if (!model_ || busy_) return;
  model_->Reset();
  std::vector<int> contacts = recipients.contactIds;
  std::set<int> seen(contacts.begin(), contacts.end());
  // The first group ("All Contacts") holds every contact without
  // membership rows of its own.
  const auto first = context_.store->GroupAt(0);
  for (int gid : recipients.groupIds) {
    std::vector<int> members;
    if (first && gid == first->GID) {
      for (const store::ContactRow &c : context_.store->Contacts())
        members.push_back(c.CID);
    } else {
      members = context_.store->GroupMembers(gid);
    }
    for (int cid : members)
      if (seen.insert(cid).second) contacts.push_back(cid);
  }
  model_->SetTypedNumbers(recipients.numbers);
  model_->SetSelectedContacts(std::move(contacts));
  PushSelections();
  Refresh();
}

void SmsPage::SetAddressBookFiller(ContactTree::AddressBookFiller filler) {
  tree_->SetAddressBookFiller(std::move(filler));
}

void SmsPage::UseAddressBooks(AddressBookLoader &loader) {
  loader.SetOwner(window());
  // The node was emptied when the read was asked for: nothing in it is
  // checked when the tree arrives.
  connect(&loader, &AddressBookLoader::TreeReady, tree_,
          [tree = tree_](std::shared_ptr<const contacts::AddressBookTree> book) {
            if (book) tree->ShowAddressBook(book->Root());
          });
  SetAddressBookFiller([loader = &loader](ContactTree &, bool force) { loader->Fill(force); });
}

void SmsPage::Activated() {
  ++syncing_;
  tree_->FillOwnNode();
  // The loader reads again when the source is another than last time.
  const bool source = context_.settings && context_.settings->MAPI_AddressBook;
  if (!tree_->AddressBookFilled() || source != addressBookSource_) tree_->FillAddressBook(false);
  addressBookSource_ = source;
  --syncing_;
  PullSelections();
  Refresh();
  if (editor_->isVisibleTo(this)) editor_->setFocus();
}

bool SmsPage::HandleCommand(int id) {
  if (id == ids::kSendSms) {
    Send();
    return true;
  }
  if (recipients_->hasFocus()) return recipients_->EditCommand(id);
  return EditCommand(id);
}

// ---- Balance

bool SmsPage::event(QEvent *event) {
  if (auto *m = WindowMessageEvent::From(event); m && m->Message() == engine::UM_REFRESH_BALANCE) {
    RefreshBalance();
    return true;
  }
  return PageFrame::event(event);
}

void SmsPage::RefreshBalance() {
  if (balanceStopped_) return;
  // A refresh asked for while one waits on the gateway runs once more after it.
  if (refreshing_) {
    refreshAgain_ = true;
    return;
  }
  refreshing_ = true;
  do {
    refreshAgain_ = false;
    if (balanceStopped_) break;
    ++refreshes_;
    if (context_.settings && engine::IsWorkingOnLine(*context_.settings) && context_.gateway) {
      engine::GatewayApi *gateway = context_.gateway;
      struct Reply {
        int code = -1;
        std::string text;
      };
      const Reply reply = BackgroundCall::Result([gateway] {
        Reply r;
        std::lock_guard unit(gateway->CallLock());
        if (SUCCEEDED(gateway->QueryBalance(&r.text))) r.code = gateway->LastError();
        return r;
      });
      if (reply.code == 0) {
        if (auto tenths = BalanceValue::ParseTenths(reply.text)) {
          auto hold = shell::LockSettings(*context_.settings);
          context_.settings->LastBalance = *tenths;
        }
      }
    }
  } while (refreshAgain_);
  refreshing_ = false;
  balance_->StopFlashing();
  if (context_.settings)
    balance_->ShowBalance(context_.settings->LastBalance,
                          engine::IsWorkingOnLine(*context_.settings));
  emit BalanceRefreshed();
}

} // namespace ui
