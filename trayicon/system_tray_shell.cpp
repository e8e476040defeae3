#include "trayicon/system_tray_shell.h"

#include <QSystemTrayIcon>

#include "trayicon/tray_window.h"

namespace lumora {

SystemTrayShell::~SystemTrayShell() {
  for (auto& [identifier, entry] : entries_) Discard(entry.icon);
}

bool SystemTrayShell::Execute(int command, const NotifyIconData& data) {
  auto found = entries_.find(data.identifier);
  switch (command) {
    case NotifyAdd: {
      if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
      if (found != entries_.end() || !IsWindow(data.window)) return false;
      Entry entry;
      entry.icon = new QSystemTrayIcon();
      entry.window = data.window;
      const quintptr identifier = data.identifier;
      QObject::connect(entry.icon, &QSystemTrayIcon::activated, entry.icon,
                       [this, identifier](QSystemTrayIcon::ActivationReason reason) {
                         Activated(identifier, static_cast<int>(reason));
                       });
      entries_.emplace(identifier, entry);
      Apply(entries_[identifier], data);
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

void SystemTrayShell::Apply(Entry& entry, const NotifyIconData& data) {
  if (data.flags & NotifyFlagMessage) entry.callbackMessage = data.callbackMessage;
  if (data.flags & NotifyFlagIcon) entry.icon->setIcon(data.icon);
  if (data.flags & NotifyFlagTip) entry.icon->setToolTip(data.Tip());
  // The desktop shows nothing for an icon without an image; it appears
  // once it gets one.
  if (!entry.icon->isVisible() && !entry.icon->icon().isNull()) entry.icon->show();
}

void SystemTrayShell::Activated(quintptr identifier, int reason) {
  auto found = entries_.find(identifier);
  if (found == entries_.end() || found->second.callbackMessage == 0) return;
  qintptr mouse = 0;
  switch (static_cast<QSystemTrayIcon::ActivationReason>(reason)) {
    case QSystemTrayIcon::Trigger: mouse = MouseLButtonUp; break;
    case QSystemTrayIcon::DoubleClick: mouse = MouseLButtonDblClk; break;
    case QSystemTrayIcon::Context: mouse = MouseRButtonUp; break;
    default: return;
  }
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
