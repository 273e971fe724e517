#pragma once
// MainWindow: the program's only top-level window. A fixed-size skinned
// window without a system frame that hosts the login page and the four tab
// pages (SMS, Addresses, Outbox, Options), the tab buttons, the close
// button, the busy and offline indicators and the tray icon. It receives
// the worker's window messages as events, owns the balance refresh cycle and
// answers the single-instance probe.

#include "UiContext.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>

namespace ui {

class AddressesPage;
class BalanceRefreshCycle;
class BannerDownload;
class BusyIndicator;
class CloseButton;
class LoginPage;
class OfflineIndicator;
class OptionsPage;
class OutboxPage;
class PageFrame;
class ProbeServer;
class ProgressDisplay;
class SmsPage;
class TabButton;
class TrayController;
class QtUpdateHost;

class MainWindow : public QWidget {
  Q_OBJECT
public:
  enum class Page { None, Login, Sms, Addresses, Outbox, Options };

  explicit MainWindow(const UiContext &context, QWidget *parent = nullptr);
  ~MainWindow() override;

  // Starts answering the single-instance probe; false when the socket could
  // not be made (the program runs on without it).
  bool ListenForProbe();
  // The probe's handler: shows, raises and activates the window.
  std::uint32_t AnswerProbe();

  // A command id (close button, login done, tray menu, accelerators).
  void Command(int id);
  // UM_SELECT_TAB.
  void SelectTab(int tabId);
  void ShowPage(Page page);
  // Runs the Options page's StorePage when it is the current page (exit and
  // session end).
  void StoreOptionsIfCurrent();
  // Re-reads the banner file and repaints (UM_RELOAD_BANNER).
  void ReloadBanner();
  void RefreshOutboxCaption();

  Page CurrentPage() const { return page_; }
  int SelectedTab() const { return selectedTab_; }
  TabButton *Tab(int id) const;
  PageFrame *PageWidget(Page page) const;
  QPoint PagePosition(const PageFrame *page) const;
  LoginPage *Login() const { return login_; }
  SmsPage *Sms() const { return sms_; }
  OutboxPage *Outbox() const { return outbox_; }
  OptionsPage *Options() const { return options_; }
  AddressesPage *Addresses() const { return addresses_; }
  BusyIndicator *Busy() const { return busy_; }
  OfflineIndicator *Offline() const { return offline_; }
  TrayController *Tray() const { return tray_.get(); }
  BalanceRefreshCycle *BalanceCycle() const { return balance_; }
  ProgressDisplay *Progress() const { return progress_.get(); }
  QtUpdateHost *Updates() const { return updates_.get(); }
  const QImage &Skin() const { return skin_; }
  bool HasBanner() const { return hasBanner_; }
  QString Title() const { return windowTitle(); }
  int PageSwitches() const { return switches_; }

  // Page position rule: centred horizontally, and vertically in the band
  // below y = 109 (integer division rounding toward minus infinity).
  static QPoint PlacePage(QSize skin, QSize page);

signals:
  // Exit from the tray menu: the event loop should end.
  void ExitRequested();

protected:
  bool event(QEvent *event) override;
  void paintEvent(QPaintEvent *) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;

private:
  void HandleMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
  void LoginCompleted();
  void CloseApp();
  void RunTrayDialog(int id);
  void CheckForUpdates();
  void ShowProxySettings();
  void ShowVersion();
  void WentOnline(bool online);
  void DeleteFailed(std::uintptr_t wParam, std::intptr_t lParam);
  void TrayNotify(std::uintptr_t wParam, std::intptr_t lParam);
  void CreateShortcuts();
  void Centre();

  UiContext context_;
  QImage plainSkin_;
  QImage skin_;
  bool hasBanner_ = false;
  Page page_ = Page::None;
  int selectedTab_ = 0;
  int switches_ = 0;
  CloseButton *close_;
  std::array<TabButton *, 4> tabs_{};
  BusyIndicator *busy_;
  OfflineIndicator *offline_;
  LoginPage *login_;
  SmsPage *sms_;
  AddressesPage *addresses_;
  OutboxPage *outbox_;
  OptionsPage *options_;
  BalanceRefreshCycle *balance_;
  std::unique_ptr<ProgressDisplay> progress_;
  std::unique_ptr<TrayController> tray_;
  ProbeServer *probe_ = nullptr;
  std::unique_ptr<BannerDownload> bannerDownload_;
  std::unique_ptr<QtUpdateHost> updates_;
  bool trayDialogOpen_ = false;
  bool dragging_ = false;
  QPoint dragOffset_;
};

} // namespace ui
