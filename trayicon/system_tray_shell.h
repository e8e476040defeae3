#pragma once
// The real notification area: one QSystemTrayIcon per identifier. Add makes
// an icon (shown as soon as it has an image), modify updates its image,
// tooltip or callback, delete removes it.
//
// A desktop may have no tray yet when the program starts (autostart at login
// often wins the race with the panel): the shell then keeps what it was told
// and puts the icon into the first tray that appears, with its current image
// and tooltip, within a second or two (desktop_tray.h says how trays are
// found and why the icon waits instead of letting Qt look too early).
//
// Gestures reach the record's window as the callback message, mapped by the
// kind of tray (MouseMessageFor):
// - an XEmbed tray sends real clicks: a click is left button up (514), a
//   double click left double-click (515), the context request right button
//   up (517); the component pops its menu up itself;
// - a StatusNotifierItem host sends actions, not clicks: its primary action
//   ("Activate", a single click on most panels) is the double click that
//   restores on an XEmbed tray (515), its context action right button up
//   (517). The host shows the menu itself: the component's menu is exported
//   to it over DBusMenu (SetMenu), so the host's context action finds it.
// Qt reports no right double-click, so 518 never comes from here.

#include <QObject>
#include <QPointer>
#include <map>

#include "trayicon/desktop_tray.h"
#include "trayicon/lumora_export.h"
#include "trayicon/tray_shell.h"

class QMenu;
class QSystemTrayIcon;
class QTimer;

namespace lumora {

// The mouse message a tray activation stands for on a tray of the given
// kind (QSystemTrayIcon::ActivationReason as int); 0 for none.
LUMORA_EXPORT qintptr MouseMessageFor(TrayKind kind, int reason);

class LUMORA_EXPORT SystemTrayShell : public TrayShell {
 public:
  SystemTrayShell();
  ~SystemTrayShell() override;
  SystemTrayShell(const SystemTrayShell&) = delete;
  SystemTrayShell& operator=(const SystemTrayShell&) = delete;

  // False when the record's window does not exist (add), when the identifier
  // is already known (add) or unknown (modify, delete), or for an unknown
  // command. An add while the desktop has no tray is accepted: the icon
  // waits for one.
  bool Execute(int command, const NotifyIconData& data) override;
  void SetMenu(quintptr identifier, QMenu* menu) override;

  // Whether the icon of the identifier is in a tray (not waiting for one).
  bool IsInTray(quintptr identifier) const;

 private:
  struct Entry {
    QSystemTrayIcon* icon = nullptr;  // nullptr while waiting for a tray
    TrayKind kind = TrayKind::None;
    WindowHandle window = 0;
    unsigned callbackMessage = 0;  // 0: no callback
    QIcon image;
    QString tip;
    QString longTip;  // shown instead of tip while it is not empty
    QPointer<QMenu> menu;
    const QString& ShownTip() const { return longTip.isEmpty() ? tip : longTip; }
  };

  void Apply(Entry& entry, const NotifyIconData& data);
  void PutIntoTray(quintptr identifier, Entry& entry, TrayKind kind);
  void LookForTray();
  void Activated(quintptr identifier, int reason);
  static void Discard(QSystemTrayIcon* icon);

  std::map<quintptr, Entry> entries_;
  QTimer* lookForTray_ = nullptr;  // runs while an icon waits
  QObject* watcherWatch_ = nullptr;  // the bus watcher of StatusNotifierWatchers
};

}  // namespace lumora
