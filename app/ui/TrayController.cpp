#include "TrayController.h"

#include "ControlIds.h"
#include "IconFactory.h"
#include "WindowMessage.h"

#include "engine/WindowMessages.h"

#include <QAction>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QMenu>
#include <QSystemTrayIcon>

namespace ui {

TrayController::TrayController(QObject *window, QObject *parent)
    : QObject(parent), window_(window), menu_(std::make_unique<QMenu>()),
      iconId_(IconFactory::kTrayOnline),
      trayWasAvailable_(QSystemTrayIcon::isSystemTrayAvailable()) {
  menu_->setObjectName("Taskbar");
  menu_->setTitle("Taskbar");
  auto add = [this](int id, const QString &text) {
    QAction *a = menu_->addAction(text);
    a->setObjectName(QString::number(id));
    connect(a, &QAction::triggered, this, [this, id] { emit Command(id); });
    return a;
  };
  add(ids::kVersionInfo, "Display version information");
  add(ids::kCheckUpdates, "Check for latest updates");
  add(ids::kProxySettings, "Proxy Settings");
  menu_->addSeparator();
  QAction *exit = add(ids::kExit, "Exit");
  QFont bold = exit->font();
  bold.setBold(true);
  exit->setFont(bold);
  menu_->setDefaultAction(exit);

  QDBusConnection bus = QDBusConnection::sessionBus();
  if (bus.isConnected()) {
    busWatch_ = new QDBusServiceWatcher(QString::fromLatin1(kWatcherService), bus,
                                        QDBusServiceWatcher::WatchForRegistration, this);
    connect(busWatch_, &QDBusServiceWatcher::serviceRegistered, this,
            &TrayController::TrayReturned);
  } else {
    watch_.setInterval(kWatchMs);
    connect(&watch_, &QTimer::timeout, this, &TrayController::WatchTray);
    watch_.start();
  }
}

TrayController::~TrayController() {
  if (icon_) {
    icon_->hide();
    icon_->setContextMenu(nullptr);
  }
}

QAction *TrayController::Action(int id) const {
  return menu_->findChild<QAction *>(QString::number(id));
}

void TrayController::SetTip(const QString &tip) {
  tip_ = tip.left(kMaxTip);
  if (icon_) icon_->setToolTip(tip_);
}

void TrayController::SetOnline(bool online) {
  int id = online ? IconFactory::kTrayOnline : IconFactory::kTrayOffline;
  if (id == iconId_) return;
  iconId_ = id;
  if (icon_) icon_->setIcon(IconFactory::Icon(iconId_));
}

void TrayController::Add() {
  ++adds_;
  // Without a notification area there is nothing to add the icon to; the
  // watch adds it when one appears.
  if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
  if (!icon_) {
    icon_ = std::make_unique<QSystemTrayIcon>();
    icon_->setContextMenu(menu_.get());
    connect(icon_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
              if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                PostWindowMessage(window_, engine::UM_TRAY_NOTIFY, kTrayIconId,
                                  kTrayLeftButtonDown);
            });
  }
  icon_->setIcon(IconFactory::Icon(iconId_));
  icon_->setToolTip(tip_);
  icon_->hide();
  icon_->show();
}

void TrayController::PopupMenu() {
  menu_->popup(QCursor::pos());
  menu_->activateWindow();
}

void TrayController::TrayReturned() {
  // A restarted desktop shell forgets the icons it showed.
  Add();
}

void TrayController::WatchTray() {
  bool available = QSystemTrayIcon::isSystemTrayAvailable();
  if (available && !trayWasAvailable_) Add();
  trayWasAvailable_ = available;
}

} // namespace ui
