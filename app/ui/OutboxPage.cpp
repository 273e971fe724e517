#include "OutboxPage.h"

#include "BackgroundCall.h"
#include "ControlIds.h"
#include "ExpandedChildren.h"
#include "MessageBoxes.h"
#include "OutboxExportDialog.h"
#include "OutboxMenuRules.h"
#include "OutboxTableModel.h"
#include "QtClipboard.h"
#include "QtUserDialogs.h"
#include "StatusIcons.h"
#include "StatusLegendDialog.h"
#include "Theme.h"
#include "UiText.h"
#include "WindowMessage.h"
#include "ThreadHandOver.h"

#include "contacts/OutboxExportDialogModel.h"
#include "engine/EngineServices.h"
#include "engine/LoginOperation.h"
#include "engine/UserPrompt.h"
#include "engine/WindowMessages.h"
#include "shell/Settings.h"
#include "store/DestinationList.h"
#include "store/SmsStore.h"

#include <QAction>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>

namespace ui {

namespace {

// Delete's two questions and the go-online failures.
constexpr int kDeleteCaption = 1417;
constexpr int kDeleteQuestion = 1418;
constexpr int kDeleteServerQuestion = 1424;
constexpr int kQueryFailedCaption = 1412;
constexpr int kQueryFailedSelected = 1413;
constexpr int kSendFailedCaption = 1414;
constexpr int kSendFailedSelected = 1415;
constexpr int kSendFailedAll = 1416;

QEvent::Type RebuildEventType() {
  static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

// The list: Ctrl+A is the page's "Select All" wherever it comes from.
class OutboxListView : public QTableView {
public:
  OutboxListView(QWidget *parent, std::function<void()> selectAll)
      : QTableView(parent), selectAll_(std::move(selectAll)) {}

protected:
  void keyPressEvent(QKeyEvent *event) override {
    if (event->matches(QKeySequence::SelectAll)) {
      selectAll_();
      event->accept();
      return;
    }
    QTableView::keyPressEvent(event);
  }

private:
  std::function<void()> selectAll_;
};

// Marks a handler that may wait (a box, a dialog, a gateway call); events
// that arrive meanwhile must not start another one.
class Busy {
public:
  explicit Busy(bool &flag) : flag_(flag), entered_(!flag) { flag_ = true; }
  ~Busy() {
    if (entered_) flag_ = false;
  }
  bool Entered() const { return entered_; }
  Busy(const Busy &) = delete;
  Busy &operator=(const Busy &) = delete;

private:
  bool &flag_;
  bool entered_;
};

const char *const kListStyle = R"(
QTableView {
  border: 1px solid #D5DDEA; border-radius: 6px; background: #FFFFFF;
  gridline-color: #E8EDF4; color: #1E293B;
  selection-background-color: #2563EB; selection-color: #FFFFFF;
}
QHeaderView::section {
  background: #F1F5F9; color: #1B2A6B; font-weight: 600;
  border: none; border-right: 1px solid #E2E8F0; border-bottom: 1px solid #D5DDEA;
  padding: 2px 6px;
}
)";

template <class W> W *Named(W *widget, int id, const QString &accessible) {
  widget->setObjectName(QString::number(id));
  widget->setAccessibleName(accessible);
  return widget;
}

} // namespace

OutboxPage::Composer OutboxPage::Composer::Of(SmsPage *page) {
  Composer c;
  c.openForEditing = [page](int id) { return page->OpenForEditing(id); };
  c.newMessageFrom = [page](int id) { return page->NewMessageFrom(id); };
  c.newMessageTo = [page](const SmsPage::Recipients &to) { page->NewMessageTo(to); };
  return c;
}

OutboxPage::OutboxPage(const UiContext &context, QWidget *parent)
    : PageFrame(ids::kPageOutbox, "Outbox", QSize(kWidth, kHeight), parent), context_(context) {
  setAccessibleName("Outbox");
  const QRect content = ContentRect();

  // Buttons in the title strip, right-aligned.
  auto button = [this](const QString &text, int id, int right, bool primary = false) {
    auto *b = Named(new QPushButton(text, this), id, text);
    if (primary) b->setProperty("role", "primary");
    b->ensurePolished();
    const int width = std::max(64, b->sizeHint().width());
    b->setGeometry(right - width, 8, width, 27);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
  };
  sendNow_ = button("Send Now", ids::kOutboxSendNow, content.right() + 1, true);
  export_ = button("Export CSV", ids::kOutboxExport, sendNow_->x() - 8);
  help_ = button("Help", ids::kOutboxHelp, export_->x() - 8);
  help_->setToolTip("What the status icons mean");

  model_ = new OutboxTableModel(context_.store, this);
  list_ = Named(new OutboxListView(this, [this] { SelectAll(); }), ids::kOutboxList,
                "Outbox messages");
  list_->setStyleSheet(kListStyle);
  list_->setFont(theme::UiFont(8.5));
  list_->setModel(model_);
  list_->setGeometry(content.left(), content.top(), content.width(), content.height() - 24);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setShowGrid(true);
  list_->setWordWrap(false);
  list_->setTextElideMode(Qt::ElideRight);
  list_->setIconSize(QSize(14, 14));
  list_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  list_->verticalHeader()->hide();
  list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  list_->verticalHeader()->setDefaultSectionSize(kRowHeight);
  QHeaderView *header = list_->horizontalHeader();
  header->setSectionsClickable(true);
  header->setSortIndicatorShown(true);
  header->setHighlightSections(false);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setFixedHeight(22);
  // The columns' widths, widened where the list's font needs more room
  // for the date with its icon, or for a header with its sort arrow.
  QFont bold = list_->font();
  bold.setWeight(QFont::DemiBold);
  const QFontMetrics cells(list_->font());
  const QFontMetrics headers(bold);
  for (int c = 0; c < OutboxOrder::kColumnCount; ++c) {
    int width = std::max(OutboxTableModel::kWidths[c],
                         headers.horizontalAdvance(Text(OutboxTableModel::kHeaderIds[c])) + 28);
    if (c == OutboxOrder::kSent)
      width = std::max(width, cells.horizontalAdvance(FormatText(OutboxTableModel::kDateFormatId,
                                                                 28, 12, 2000, 22, 58)) +
                                  StatusIcons::kSize + 18);
    list_->setColumnWidth(c, width);
  }
  ShowSortIndicator();
  // The selection stays visible when the list loses the focus.
  QPalette palette = list_->palette();
  for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
    palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
  list_->setPalette(palette);

  status_ = Named(new QLabel(this), ids::kOutboxStatus, "Progress");
  status_->setProperty("role", "muted");
  status_->setFont(theme::UiFont(9));
  status_->setGeometry(content.left() + 2, content.bottom() - 19, content.width() - 2, 20);

  connect(list_, &QWidget::customContextMenuRequested, this, &OutboxPage::ShowContextMenu);
  connect(header, &QHeaderView::sectionClicked, this, &OutboxPage::HeaderClicked);
  connect(sendNow_, &QPushButton::clicked, this, &OutboxPage::SendAllNow);
  connect(export_, &QPushButton::clicked, this, &OutboxPage::ExportCsv);
  connect(help_, &QPushButton::clicked, this, &OutboxPage::ShowLegend);
}

OutboxPage::~OutboxPage() = default;

void OutboxPage::SetStatusLine(const QString &text) {
  status_->setText(text);
}

QString OutboxPage::StatusLine() const {
  return status_->text();
}

// ---- Rebuild

void OutboxPage::Rebuild(bool resortOnly) {
  ++rebuilds_;
  if (isHidden()) {
    // Showing the page rebuilds it; until then only the caption follows.
    stale_ = true;
    if (!resortOnly) emit Changed();
    return;
  }
  if (resortOnly && !stale_) {
    model_->Resort();
    return;
  }
  QScrollBar *scroll = list_->verticalScrollBar();
  const int top = scroll->value();
  model_->Rebuild();
  stale_ = false;
  list_->doItemsLayout(); // the scroll range of the new rows, now
  scroll->setValue(top);
  ShowSortIndicator();
  emit Changed();
}

void OutboxPage::RequestRebuild(bool resortOnly) {
  const int wanted = resortOnly ? 1 : 2;
  int seen = pending_.load();
  while (seen < wanted && !pending_.compare_exchange_weak(seen, wanted)) {
  }
  // Only the first request since the page last looked posts an event.
  if (seen == 0) {
    auto *rebuild = new QEvent(RebuildEventType());
    HandOver(); // after the event is made: the window's thread reads it
    QCoreApplication::postEvent(this, rebuild);
  }
}

bool OutboxPage::event(QEvent *event) {
  if (event->type() == RebuildEventType()) {
    const int wanted = pending_.exchange(0);
    if (wanted != 0) Rebuild(wanted == 1);
    return true;
  }
  return PageFrame::event(event);
}

void OutboxPage::HeaderClicked(int column) {
  model_->SortBy(column);
  ShowSortIndicator();
}

void OutboxPage::ShowSortIndicator() {
  const OutboxOrder &order = model_->Order();
  list_->horizontalHeader()->setSortIndicator(
      order.SortColumn(), order.Descending() ? Qt::DescendingOrder : Qt::AscendingOrder);
}

// ---- Selection

void OutboxPage::SelectAll() {
  const int rows = model_->rowCount();
  if (rows == 0) return;
  list_->selectAll();
  list_->selectionModel()->setCurrentIndex(model_->index(rows - 1, 0),
                                           QItemSelectionModel::NoUpdate);
  list_->scrollToTop();
}

std::vector<int> OutboxPage::SelectedIds() const {
  QModelIndexList rows = list_->selectionModel()->selectedRows();
  std::sort(rows.begin(), rows.end(),
            [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
  std::vector<int> ids;
  ids.reserve(static_cast<std::size_t>(rows.size()));
  for (const QModelIndex &row : rows) {
    const int id = model_->IdAt(row.row());
    if (id >= 0) ids.push_back(id);
  }
  return ids;
}

bool OutboxPage::HandleCommand(int id) {
  if (id != ids::kEditSelectAll) return false;
  SelectAll();
  return true;
}

// ---- Context menu

void OutboxPage::ShowContextMenu(const QPoint &at) {
  const QModelIndex index = list_->indexAt(at);
  std::unique_ptr<QMenu> menu = ContextMenu(index.isValid() ? index.row() : -1);
  menu->exec(list_->viewport()->mapToGlobal(at));
}

std::unique_ptr<QMenu> OutboxPage::ContextMenu(int position) {
  auto menu = std::make_unique<QMenu>("Context", this);
  menu->setObjectName(QString::number(ids::kOutboxMenu));
  menu->setAccessibleName("Context");

  const int id = model_->IdAt(position);
  std::optional<int> status;
  if (id >= 0 && context_.store) {
    std::lock_guard table(context_.store->MessageLock());
    if (auto row = context_.store->FindMessage(id)) status = row->Stat;
  }
  const OutboxMenuRules rules = OutboxMenuRules::For(status, Online());
  const std::vector<int> selected = SelectedIds();

  auto add = [&](const QString &text, bool enabled, std::function<void()> command) {
    QAction *action = menu->addAction(text);
    action->setEnabled(enabled);
    connect(action, &QAction::triggered, this, std::move(command));
  };
  add("&Edit message", rules.edit, [this, id] { EditMessage(id); });
  menu->addSeparator();
  add("&Copy", rules.copy, [this, id] { CopyDetails(id); });
  add("&Delete", rules.remove, [this, selected] { DeleteMessages(selected); });
  menu->addSeparator();
  add("Send &Now", rules.sendNow, [this, selected] { SendNow(selected); });
  add("Select All", rules.selectAll, [this] { SelectAll(); });
  add("&Resend this SMS", rules.resend, [this, id] { ResendMessage(id); });
  add("Re&fresh Message Status", rules.refresh, [this, selected] { RefreshStatus(selected); });
  if (rules.offerResendUndelivered) {
    bool anyFailed = false;
    for (const store::MessageRow &child : ExpandedChildren::Of(*context_.store, id))
      anyFailed = anyFailed || ExpandedChildren::IsFailure(child.Stat);
    add("Resend to &undelivered", anyFailed, [this, id] { ResendToUndelivered(id); });
  }
  return menu;
}

// ---- Commands

bool OutboxPage::Online() const {
  return context_.settings ? engine::IsWorkingOnLine(*context_.settings) : true;
}

void OutboxPage::SelectSmsTab() {
  PostWindowMessage(window(), engine::UM_SELECT_TAB, 0, ids::kTabSms);
}

void OutboxPage::EditMessage(int id) {
  if (!context_.store || !composer_.openForEditing) return;
  std::optional<int> status;
  {
    std::lock_guard table(context_.store->MessageLock());
    if (auto row = context_.store->FindMessage(id)) status = row->Stat;
  }
  // The rule is asked again: the worker may have moved the message on
  // since the menu opened.
  if (!OutboxMenuRules::For(status, Online()).edit) return;
  if (composer_.openForEditing(id)) SelectSmsTab();
}

void OutboxPage::ResendMessage(int id) {
  if (composer_.newMessageFrom && composer_.newMessageFrom(id)) SelectSmsTab();
}

void OutboxPage::ResendToUndelivered(int id) {
  if (!context_.store || !composer_.newMessageTo) return;
  SmsPage::Recipients to;
  for (const store::MessageRow &child : ExpandedChildren::Of(*context_.store, id)) {
    if (!ExpandedChildren::IsFailure(child.Stat) || child.To.empty()) continue;
    if (std::optional<int> cid = store::DestinationList::ContactId(child.To)) {
      if (std::find(to.contactIds.begin(), to.contactIds.end(), *cid) == to.contactIds.end())
        to.contactIds.push_back(*cid);
    } else if (std::find(to.numbers.begin(), to.numbers.end(), child.To) == to.numbers.end()) {
      to.numbers.push_back(child.To);
    }
  }
  if (to.numbers.empty() && to.contactIds.empty()) return;
  composer_.newMessageTo(to);
  SelectSmsTab();
}

bool OutboxPage::CopyDetails(int id) {
  if (!context_.store) return false;
  QtClipboard clipboard;
  return context_.store->CopySmsDetails(id, clipboard);
}

void OutboxPage::DeleteMessages(const std::vector<int> &ids) {
  store::SmsStore *store = context_.store;
  if (!store || ids.empty()) return;
  Busy busy(busy_);
  if (!busy.Entered()) return;

  int onServer = 0;
  for (int id : ids) {
    std::lock_guard table(store->MessageLock());
    auto row = store->FindMessage(id);
    if (row && row->Stat == store::StatScheduledOnServer) ++onServer;
  }
  const int count = static_cast<int>(ids.size());
  const QString question = onServer > 0 ? FormatText(kDeleteServerQuestion, count)
                                        : FormatText(kDeleteQuestion, count);
  if (MessageBoxes::Show(window(), question, Text(kDeleteCaption),
                         engine::kBoxYesNo | engine::kBoxIconQuestion) != engine::kAnswerYes)
    return;

  // Split again as the rows are now: a message the worker handed to the
  // gateway while the question was open must be withdrawn there, not only
  // dropped here.
  std::vector<int> withdraw;
  for (int id : ids) {
    std::lock_guard table(store->MessageLock());
    auto row = store->FindMessage(id);
    if (!row) continue;
    if (row->Stat == store::StatScheduledOnServer)
      withdraw.push_back(id);
    else
      store->DeleteSms(id);
  }
  if (!withdraw.empty()) PostList(engine::JobKind::DeleteList, std::move(withdraw), false);
  Rebuild(false);
}

void OutboxPage::SendNow(const std::vector<int> &ids) {
  if (!ids.empty())
    PostOnline(engine::JobKind::SendList, ids, kSendFailedCaption, kSendFailedSelected);
}

void OutboxPage::RefreshStatus(const std::vector<int> &ids) {
  if (!ids.empty())
    PostOnline(engine::JobKind::QueryList, ids, kQueryFailedCaption, kQueryFailedSelected);
}

void OutboxPage::SendAllNow() {
  PostOnline(engine::JobKind::SendList, {-1}, kSendFailedCaption, kSendFailedAll);
}

void OutboxPage::PostOnline(engine::JobKind kind, std::vector<int> ids, int captionId,
                            int textId) {
  Busy busy(busy_);
  if (!busy.Entered()) return;
  bool switched = false;
  if (GoOnlineIfNeeded(captionId, textId, switched)) PostList(kind, std::move(ids), switched);
}

void OutboxPage::PostList(engine::JobKind kind, std::vector<int> ids, bool goOfflineAfter) {
  if (!context_.postList) return;
  auto list = std::make_unique<engine::IdList>();
  list->goOfflineAfter = goOfflineAfter;
  list->ids = std::move(ids);
  context_.postList(kind, std::move(list));
}

bool OutboxPage::GoOnlineIfNeeded(int captionId, int textId, bool &switched) {
  switched = false;
  shell::Settings *settings = context_.settings;
  if (!settings || engine::IsWorkingOnLine(*settings)) return true;
  bool ok = false;
  if (engine::GatewayApi *gateway = context_.gateway) {
    const std::string clientId = settings->client_id;
    const std::string user = settings->Login;
    const std::string password = settings->Password;
    engine::UserPrompt *prompt = context_.prompt;
    ok = BackgroundCall::Result([gateway, clientId, user, password, prompt] {
      return engine::LoginOperation::Login(*gateway, clientId, user, password, prompt, Strings())
          .ok;
    });
  }
  if (!ok) {
    MessageBoxes::Show(window(), Text(textId), Text(captionId),
                       engine::kBoxOk | engine::kBoxIconError);
    engine::SetWorkingOnLine(*settings, false);
    PostWindowMessage(window(), engine::UM_WENT_OFFLINE);
    return false;
  }
  engine::SetWorkingOnLine(*settings, true);
  PostWindowMessage(window(), engine::UM_WENT_ONLINE);
  switched = true;
  return true;
}

void OutboxPage::ExportCsv() {
  if (!context_.store) return;
  Busy busy(busy_);
  if (!busy.Entered()) return;
  QtUserDialogs dialogs(window());
  const std::string prefix = context_.settings ? context_.settings->prefix : std::string();
  contacts::OutboxExportDialogModel model(*context_.store, Names(), Strings(), prefix, dialogs,
                                          SelectedIds());
  if (!model.CanOpen()) return;
  OutboxExportDialog dialog(model, window());
  dialog.exec();
}

void OutboxPage::ShowLegend() {
  StatusLegendDialog dialog(window());
  dialog.exec();
}

// ---- The worker's requests

void QtOutboxRebuilder::SetPage(OutboxPage *page) {
  std::lock_guard<std::mutex> guard(lock_);
  page_ = page;
}

void QtOutboxRebuilder::Rebuild(bool resortOnly) {
  // Under the lock, so the page cannot be detached and destroyed in
  // between; a request still queued when the page goes is dropped with it.
  std::lock_guard<std::mutex> guard(lock_);
  if (page_) page_->RequestRebuild(resortOnly);
}

} // namespace ui
