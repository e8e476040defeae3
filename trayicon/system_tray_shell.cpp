#include "trayicon/system_tray_shell.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

#include "trayicon/tray_window.h"

namespace lumora {

namespace {

// How often a waiting icon looks for a tray: a tray that appears is used
// within this time (the bus watcher below is quicker for most panels).
constexpr int kLookForTrayMs = 1000;

}  // namespace

qintptr MouseMessageFor(TrayKind kind, int reason) {
  switch (static_cast<QSystemTrayIcon::ActivationReason>(reason)) {
    case QSystemTrayIcon::Trigger:
      return kind == TrayKind::StatusNotifier ? MouseLButtonDblClk : MouseLButtonUp;
    case QSystemTrayIcon::DoubleClick:
      return MouseLButtonDblClk;
    case QSystemTrayIcon::Context:
      return MouseRButtonUp;
    default:
      return 0;  // the middle click (a host's secondary action) and unknown reasons
  }
}

SystemTrayShell::SystemTrayShell() {
  lookForTray_ = new QTimer();
  lookForTray_->setInterval(kLookForTrayMs);
  QObject::connect(lookForTray_, &QTimer::timeout, lookForTray_, [this] { LookForTray(); });

  // A StatusNotifierWatcher that appears on the bus: look at once (its host
  // may register a moment later; the timer catches that).
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (bus.isConnected()) {
    auto* watch = new QDBusServiceWatcher(QStringLiteral("org.kde.StatusNotifierWatcher"), bus,
                                          QDBusServiceWatcher::WatchForRegistration);
    QObject::connect(watch, &QDBusServiceWatcher::serviceRegistered, watch, [this] {
      if (lookForTray_->isActive()) QTimer::singleShot(100, lookForTray_, [this] { LookForTray(); });
    });
    watcherWatch_ = watch;
  }
}

SystemTrayShell::~SystemTrayShell() {
  for (auto& [identifier, entry] : entries_) Discard(entry.icon);
  delete lookForTray_;
  delete watcherWatch_;
}

bool SystemTrayShell::Execute(int command, const NotifyIconData& data) {
  auto found = entries_.find(data.identifier);
  switch (command) {
    case NotifyAdd: {
      if (found != entries_.end() || !IsWindow(data.window)) return false;
      Entry& entry = entries_[data.identifier];
      entry.window = data.window;
      Apply(entry, data);
      const TrayKind kind = AvailableTrayKind();
      if (kind != TrayKind::None) {
        PutIntoTray(data.identifier, entry, kind);
      } else {
        lookForTray_->start();
      }
      return true;
    }
    case NotifyModify:
      if (found == entries_.end()) return false;
      Apply(found->second, data);
      return true;
    case NotifyDelete:
      if (found == entries_.end()) return false;
      Discard(found->second.icon);
      entries_.erase(found);
      return true;
    default:
      return false;
  }
}

void SystemTrayShell::SetMenu(quintptr identifier, QMenu* menu) {
  auto found = entries_.find(identifier);
  if (found == entries_.end()) return;
  Entry& entry = found->second;
  entry.menu = menu;
  // Only a host that shows the menu itself gets it: on an XEmbed tray Qt
  // would pop it up on the right click, and so would the component.
  if (entry.icon != nullptr && entry.kind == TrayKind::StatusNotifier) entry.icon->setContextMenu(menu);
}

bool SystemTrayShell::IsInTray(quintptr identifier) const {
  auto found = entries_.find(identifier);
  return found != entries_.end() && found->second.icon != nullptr;
}

void SystemTrayShell::Apply(Entry& entry, const NotifyIconData& data) {
  if (data.flags & NotifyFlagMessage) entry.callbackMessage = data.callbackMessage;
  if (data.flags & NotifyFlagIcon) entry.image = data.icon;
  if (data.flags & NotifyFlagTip) entry.tip = data.Tip();
  if (data.flags & NotifyFlagLongTip) entry.longTip = data.longTip;
  if (entry.icon == nullptr) return;  // kept until the icon goes into a tray
  if (data.flags & NotifyFlagIcon) entry.icon->setIcon(entry.image);
  if (data.flags & (NotifyFlagTip | NotifyFlagLongTip)) entry.icon->setToolTip(entry.ShownTip());
  // The desktop shows nothing for an icon without an image; it appears
  // once it gets one.
  if (!entry.icon->isVisible() && !entry.image.isNull()) entry.icon->show();
}

void SystemTrayShell::PutIntoTray(quintptr identifier, Entry& entry, TrayKind kind) {
  // Qt decides the kind when it first makes a tray icon; it asks the bus the
  // same question AvailableTrayKind just asked, so it decides the same way.
  SetProcessTrayKind(kind);
  entry.kind = ProcessTrayKind();
  entry.icon = new QSystemTrayIcon();
  QObject::connect(entry.icon, &QSystemTrayIcon::activated, entry.icon,
                   [this, identifier](QSystemTrayIcon::ActivationReason reason) {
                     Activated(identifier, static_cast<int>(reason));
                   });
  if (entry.kind == TrayKind::StatusNotifier && entry.menu != nullptr) entry.icon->setContextMenu(entry.menu);
  entry.icon->setIcon(entry.image);
  entry.icon->setToolTip(entry.ShownTip());
  if (!entry.image.isNull()) entry.icon->show();
}

void SystemTrayShell::LookForTray() {
  bool waiting = false;
  for (const auto& [identifier, entry] : entries_) waiting = waiting || entry.icon == nullptr;
  if (!waiting) {
    lookForTray_->stop();
    return;
  }
  const TrayKind kind = AvailableTrayKind();
  if (kind == TrayKind::None) return;
  for (auto& [identifier, entry] : entries_) {
    if (entry.icon == nullptr) PutIntoTray(identifier, entry, kind);
  }
  lookForTray_->stop();
}

void SystemTrayShell::Activated(quintptr identifier, int reason) {
  auto found = entries_.find(identifier);
  if (found == entries_.end() || found->second.callbackMessage == 0) return;
  const qintptr mouse = MouseMessageFor(found->second.kind, reason);
  if (mouse == 0) return;
  // The receiver may delete the icon (and even this shell) while handling
  // the message, so nothing here is touched after the call.
  SendWindowMessage(found->second.window, found->second.callbackMessage, identifier, mouse);
}

// Hides the icon at once and deletes it from the event loop: it may be the
// very icon whose activation is being handled.
void SystemTrayShell::Discard(QSystemTrayIcon* icon) {
  if (icon == nullptr) return;
  QObject::disconnect(icon, nullptr, nullptr, nullptr);
  icon->hide();
  icon->deleteLater();
}

}  // namespace lumora
