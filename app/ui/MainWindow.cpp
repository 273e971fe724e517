#include "MainWindow.h"

#include "AddressesPage.h"
#include "AnimatedIndicator.h"
#include "BackgroundCall.h"
#include "BalanceLabel.h"
#include "BalanceRefreshCycle.h"
#include "BannerDownload.h"
#include "BannerLoader.h"
#include "CloseButton.h"
#include "ControlIds.h"
#include "IconFactory.h"
#include "LoginPage.h"
#include "MessageBoxes.h"
#include "MessageDialog.h"
#include "OptionsPage.h"
#include "OutboxCaption.h"
#include "OutboxPage.h"
#include "ProbeServer.h"
#include "ProgressDisplay.h"
#include "ProxySettingsDialog.h"
#include "QtMessagePoster.h"
#include "QtUpdateHost.h"
#include "SkinPainter.h"
#include "SmsPage.h"
#include "TabButton.h"
#include "TestTrace.h"
#include "Theme.h"
#include "TrayController.h"
#include "UiText.h"
#include "VersionDialog.h"
#include "WindowMessage.h"

#include "engine/EngineServices.h"
#include "engine/UserPrompt.h"
#include "engine/WindowMessages.h"
#include "shell/Settings.h"
#include "store/SmsStore.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <QWindow>

namespace ui {

namespace {
struct TabSpec {
  int id;
  int x;
  const char *caption;
};
constexpr int kTabY = 88;
const TabSpec kTabs[4] = {{ids::kTabSms, 24, "SMS"},
                          {ids::kTabAddresses, 340, "Addresses"},
                          {ids::kTabOutbox, 440, "Outbox"},
                          {ids::kTabOptions, 540, "Options"}};

int FloorDiv(int a, int b) {
  int q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}
} // namespace

QPoint MainWindow::PlacePage(QSize skin, QSize page) {
  int x = FloorDiv(skin.width() - page.width(), 2);
  int y = FloorDiv(skin.height() - page.height() - theme::kBandBottom, 2) + theme::kBandBottom;
  return {x, y};
}

MainWindow::MainWindow(const UiContext &context, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), context_(context) {
  setObjectName("MainWindow");
  setAttribute(Qt::WA_OpaquePaintEvent);

  // Icons, title and tray.
  setWindowIcon(IconFactory::Icon(IconFactory::kAppIcon));
  bool ownClient = context_.settings && context_.settings->client_id == shell::kDefaultClientId;
  if (!context_.settings) ownClient = true;
  setWindowTitle(ownClient ? Text(1024) : Text(1025));
  tray_ = std::make_unique<TrayController>(this);
  tray_->SetTip(ownClient ? windowTitle() : Text(221));
  connect(tray_.get(), &TrayController::Command, this, &MainWindow::Command);
  tray_->Add();

  // Skin, banner and size.
  plainSkin_ = SkinPainter::Paint(QSize(theme::kSkinWidth, theme::kSkinHeight));
  skin_ = plainSkin_;
  ReloadBanner();
  setFixedSize(plainSkin_.width() + 2, plainSkin_.height() + 2);
  Centre();

  close_ = new CloseButton(this);
  close_->setObjectName(QString::number(ids::kCloseApp));
  close_->setAccessibleName("Close app");
  close_->move(plainSkin_.width() - 19, 4);
  connect(close_, &CloseButton::clicked, this, [this] { Command(ids::kCloseApp); });

  for (size_t i = 0; i < tabs_.size(); ++i) {
    tabs_[i] = new TabButton(kTabs[i].id, kTabs[i].caption, this);
    tabs_[i]->move(kTabs[i].x, kTabY);
    tabs_[i]->hide();
    int id = kTabs[i].id;
    connect(tabs_[i], &TabButton::clicked, this,
            [this, id] { PostWindowMessage(this, engine::UM_SELECT_TAB, 0, id); });
  }

  const QPoint indicator(plainSkin_.width() - 22, plainSkin_.height() - 22);
  busy_ = new BusyIndicator(this);
  busy_->setObjectName(QString::number(ids::kBusyIndicator));
  busy_->setAccessibleName("Communicating with the server");
  busy_->move(indicator);
  busy_->hide();
  offline_ = new OfflineIndicator(this);
  offline_->setObjectName(QString::number(ids::kOfflineIndicator));
  offline_->move(indicator);
  offline_->setToolTip("Working off-line");
  offline_->setAccessibleName("Working off-line");
  offline_->hide();

  // Pages, hidden, each at its place.
  login_ = new LoginPage(context_, this);
  sms_ = new SmsPage(context_, this);
  if (context_.addressBooks) sms_->UseAddressBooks(*context_.addressBooks);
  addresses_ = new AddressesPage(context_, this);
  outbox_ = new OutboxPage(context_, this);
  options_ = new OptionsPage(context_, this);
  for (PageFrame *p :
       std::initializer_list<PageFrame *>{login_, sms_, addresses_, outbox_, options_})
    p->move(PlacePage(plainSkin_.size(), p->size()));

  bannerDownload_ = std::make_unique<BannerDownload>();
  login_->SetBannerDownload(bannerDownload_.get(), this);
  connect(login_, &LoginPage::LoggedIn, this, [this] { Command(ids::kLoginDone); });
  connect(sms_, &SmsPage::BalanceRefreshed, this, [this] {
    options_->Balance()->StopFlashing();
    options_->ShowBalance();
    RefreshOutboxCaption();
  });
  connect(outbox_, &OutboxPage::Changed, this, &MainWindow::RefreshOutboxCaption);
  connect(options_, &OptionsPage::RefreshRequested, sms_, &SmsPage::RefreshBalance);
  outbox_->SetComposer(OutboxPage::Composer::Of(sms_));
  addresses_->SetNewMessageHandler([this](const SmsPage::Recipients &recipients) {
    sms_->NewMessageTo(recipients);
    PostWindowMessage(this, engine::UM_SELECT_TAB, 0, ids::kTabSms);
  });
  connect(sms_, &SmsPage::OutboxChanged, this, &MainWindow::RefreshOutboxCaption);

  balance_ =
      new BalanceRefreshCycle({[this] { PostWindowMessage(sms_, engine::UM_REFRESH_BALANCE); },
                               [this] { PostWindowMessage(this, engine::UM_BALANCE_CHANGED); },
                               [this] {
                                 sms_->Balance()->StartFlashing();
                                 options_->Balance()->StartFlashing();
                               }},
                              this);
  progress_ = std::make_unique<ProgressDisplay>(
      busy_, [this](const QString &line) { outbox_->SetStatusLine(line); });
  updates_ = std::make_unique<QtUpdateHost>(context_, this, [this] { Command(ids::kExit); });

  CreateShortcuts();
  if (context_.poster) context_.poster->SetTarget(engine::WindowTarget::MainWindow, this);

  ShowPage(Page::Login);
  setFocus();
}

MainWindow::~MainWindow() {
  // No message may reach the window once it starts going away, and the
  // banner download that posts to it is finished first.
  if (context_.poster && context_.poster->Target(engine::WindowTarget::MainWindow) == this)
    context_.poster->SetTarget(engine::WindowTarget::MainWindow, nullptr);
  bannerDownload_.reset();
}

bool MainWindow::ListenForProbe() {
  if (!probe_) probe_ = new ProbeServer([this] { return AnswerProbe(); }, this);
  return probe_->Listen();
}

std::uint32_t MainWindow::AnswerProbe() {
  if (!isVisible() || isMinimized()) showNormal();
  raise();
  activateWindow();
  TestTrace::Step("probe-answered");
  return kProbeAnswer;
}

void MainWindow::Centre() {
  QScreen *screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect area = screen->availableGeometry();
  QRect frame(QPoint(0, 0), size());
  frame.moveCenter(area.center());
  // Keep the window inside the work area.
  if (frame.right() > area.right()) frame.moveRight(area.right());
  if (frame.bottom() > area.bottom()) frame.moveBottom(area.bottom());
  if (frame.left() < area.left()) frame.moveLeft(area.left());
  if (frame.top() < area.top()) frame.moveTop(area.top());
  move(frame.topLeft());
}

TabButton *MainWindow::Tab(int id) const {
  for (TabButton *t : tabs_)
    if (t->Id() == id) return t;
  return nullptr;
}

PageFrame *MainWindow::PageWidget(Page page) const {
  switch (page) {
  case Page::Login:
    return login_;
  case Page::Sms:
    return sms_;
  case Page::Addresses:
    return addresses_;
  case Page::Outbox:
    return outbox_;
  case Page::Options:
    return options_;
  case Page::None:
    break;
  }
  return nullptr;
}

QPoint MainWindow::PagePosition(const PageFrame *page) const {
  return PlacePage(plainSkin_.size(), page->size());
}

void MainWindow::ShowPage(Page page) {
  if (page_ == Page::Options) options_->StorePage();
  if (PageWidget(page_)) PageWidget(page_)->hide();
  page_ = page;
  ++switches_;
  PageFrame *next = PageWidget(page);
  if (!next) return;
  next->move(PagePosition(next));
  next->show();
  next->raise();
  if (page == Page::Options) options_->LoadPage();
  next->Activated();
}

void MainWindow::SelectTab(int tabId) {
  if (tabId == selectedTab_) return;
  Page page;
  switch (tabId) {
  case ids::kTabSms:
    page = Page::Sms;
    break;
  case ids::kTabAddresses:
    page = Page::Addresses;
    break;
  case ids::kTabOutbox:
    page = Page::Outbox;
    break;
  case ids::kTabOptions:
    page = Page::Options;
    break;
  default:
    return;
  }
  if (TabButton *old = Tab(selectedTab_)) old->SetSelected(false);
  ShowPage(page);
  if (TabButton *now = Tab(tabId)) now->SetSelected(true);
  selectedTab_ = tabId;
}

void MainWindow::StoreOptionsIfCurrent() {
  if (page_ == Page::Options) options_->StorePage();
}

void MainWindow::ReloadBanner() {
  hasBanner_ = false;
  QImage banner;
  if (!context_.dataFolder.isEmpty())
    banner = BannerLoader::Load(BannerLoader::PathIn(context_.dataFolder));
  hasBanner_ = !banner.isNull();
  skin_ = SkinPainter::Compose(plainSkin_, banner);
  update();
}

void MainWindow::RefreshOutboxCaption() {
  int waiting = context_.store ? context_.store->CountOutbox() : 0;
  if (TabButton *tab = Tab(ids::kTabOutbox)) tab->setText(OutboxCaption::Text(waiting));
}

void MainWindow::LoginCompleted() {
  options_->LoadPage();
  if (context_.startWorker) context_.startWorker();
  for (TabButton *t : tabs_)
    t->show();
  RefreshOutboxCaption();
  bool online = context_.settings ? engine::IsWorkingOnLine(*context_.settings) : true;
  PostWindowMessage(this, online ? engine::UM_WENT_ONLINE : engine::UM_WENT_OFFLINE);
  // LastBalance may be old (or 0 for a new user): one refresh cycle brings
  // the account's balance.
  if (online) PostWindowMessage(this, engine::UM_BALANCE_CHANGED);
  SelectTab(ids::kTabSms);
}

void MainWindow::CloseApp() {
  // Without a notification area a hidden window could never be brought
  // back, so it is only minimised there.
  if (QSystemTrayIcon::isSystemTrayAvailable())
    hide();
  else
    showMinimized();
  if (context_.commitStore)
    context_.commitStore();
  else if (context_.store)
    context_.store->Commit();
}

void MainWindow::Command(int id) {
  switch (id) {
  case ids::kCloseApp:
    CloseApp();
    break;
  case ids::kLoginDone:
    LoginCompleted();
    break;
  case ids::kExit:
    StoreOptionsIfCurrent();
    hide();
    emit ExitRequested();
    break;
  case ids::kCheckUpdates:
  case ids::kProxySettings:
  case ids::kVersionInfo:
    RunTrayDialog(id);
    break;
  case ids::kSendSms:
  case ids::kEditCut:
  case ids::kEditCopy:
  case ids::kEditPaste:
    if (page_ == Page::Sms) sms_->HandleCommand(id);
    break;
  case ids::kEditSelectAll:
    if (page_ == Page::Outbox) outbox_->HandleCommand(id);
    break;
  default:
    break;
  }
}

void MainWindow::RunTrayDialog(int id) {
  // The tray menu stays usable while a dialog is open or a gateway call
  // waits: its dialogs run one at a time, never inside such a wait.
  if (trayDialogOpen_ || BackgroundCall::Depth() > 0) return;
  trayDialogOpen_ = true;
  if (id == ids::kCheckUpdates)
    CheckForUpdates();
  else if (id == ids::kProxySettings)
    ShowProxySettings();
  else
    ShowVersion();
  trayDialogOpen_ = false;
}

void MainWindow::CheckForUpdates() {
  updates_->Check();
}

void MainWindow::ShowProxySettings() {
  ProxySettingsDialog dialog(context_, isVisible() ? this : nullptr);
  dialog.exec();
}

void MainWindow::ShowVersion() {
  VersionDialog dialog(windowTitle(), context_.gateway, isVisible() ? this : nullptr);
  dialog.exec();
}

void MainWindow::WentOnline(bool online) {
  if (online) {
    offline_->Stop();
    offline_->hide();
  } else {
    offline_->show();
    offline_->Start();
  }
  tray_->SetOnline(online);
  sms_->Balance()->ShowBalance(context_.settings ? context_.settings->LastBalance : 0, online);
  options_->ShowBalance();
}

void MainWindow::DeleteFailed(std::uintptr_t wParam, std::intptr_t lParam) {
  QString text = wParam == 1 ? FormatText(1585, static_cast<int>(lParam)) : Text(1584);
  MessageBoxes::Show(this, text, "Error ...", engine::kBoxOk | engine::kBoxIconError);
}

void MainWindow::TrayNotify(std::uintptr_t wParam, std::intptr_t lParam) {
  if (wParam != kTrayIconId) return;
  if (lParam == kTrayLeftButtonDown) {
    showNormal();
    raise();
    activateWindow();
  } else if (lParam == kTrayRightButtonDown) {
    activateWindow();
    tray_->PopupMenu();
  }
}

void MainWindow::HandleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (progress_->Handle(message, wParam, lParam)) return;
  switch (message) {
  case engine::UM_SELECT_TAB:
    SelectTab(static_cast<int>(lParam));
    break;
  case engine::UM_BALANCE_CHANGED:
    balance_->OnBalanceChanged();
    break;
  case engine::UM_RELOAD_BANNER:
    ReloadBanner();
    break;
  case engine::UM_ACCOUNT_CHANGED:
    options_->GoOffline();
    break;
  case engine::UM_WENT_ONLINE:
    WentOnline(true);
    break;
  case engine::UM_WENT_OFFLINE:
    WentOnline(false);
    break;
  case engine::UM_DELETE_FAILED:
    DeleteFailed(wParam, lParam);
    break;
  case engine::UM_TRAY_NOTIFY:
    TrayNotify(wParam, lParam);
    break;
  default:
    break;
  }
}

bool MainWindow::event(QEvent *event) {
  if (const WindowMessageEvent *m = WindowMessageEvent::From(event)) {
    HandleMessage(m->Message(), m->WParam(), m->LParam());
    return true;
  }
  return QWidget::event(event);
}

void MainWindow::paintEvent(QPaintEvent *) {
  QPainter p(this);
  p.fillRect(rect(), theme::kEdge);
  p.drawImage(0, 0, skin_);
}

void MainWindow::mousePressEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton && event->position().y() <= theme::kDragHeight) {
    if (windowHandle() && windowHandle()->startSystemMove()) return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    return;
  }
  QWidget::mousePressEvent(event);
}

void MainWindow::mouseMoveEvent(QMouseEvent *event) {
  if (dragging_ && (event->buttons() & Qt::LeftButton)) {
    move(event->globalPosition().toPoint() - dragOffset_);
    return;
  }
  QWidget::mouseMoveEvent(event);
}

void MainWindow::mouseReleaseEvent(QMouseEvent *event) {
  dragging_ = false;
  QWidget::mouseReleaseEvent(event);
}

void MainWindow::CreateShortcuts() {
  struct Key {
    QKeySequence keys;
    int command;
    PageFrame *page;
  };
  const Key keys[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_S), ids::kSendSms, sms_},
      {QKeySequence(Qt::CTRL | Qt::Key_X), ids::kEditCut, sms_},
      {QKeySequence(Qt::SHIFT | Qt::Key_Delete), ids::kEditCut, sms_},
      {QKeySequence(Qt::CTRL | Qt::Key_C), ids::kEditCopy, sms_},
      {QKeySequence(Qt::CTRL | Qt::Key_Insert), ids::kEditCopy, sms_},
      {QKeySequence(Qt::CTRL | Qt::Key_V), ids::kEditPaste, sms_},
      {QKeySequence(Qt::SHIFT | Qt::Key_Insert), ids::kEditPaste, sms_},
      {QKeySequence(Qt::CTRL | Qt::Key_A), ids::kEditSelectAll, outbox_},
  };
  // Accelerators act only while the focus is inside their page.
  for (const Key &k : keys) {
    auto *shortcut = new QShortcut(k.keys, k.page);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    int command = k.command;
    connect(shortcut, &QShortcut::activated, this, [this, command] { Command(command); });
  }
}

} // namespace ui
