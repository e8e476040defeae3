#pragma once
// The notification areas of Linux desktops, as the tray package finds them.
//
// Two kinds exist. The XEmbed system tray (Xfce, MATE, LXDE, trayer, older
// panels) owns the X selection "_NET_SYSTEM_TRAY_S<screen>" and embeds a
// small window per icon. A StatusNotifierItem tray (KDE Plasma, GNOME with
// the AppIndicator extension, waybar, most Wayland panels) is a watcher and
// host on the session bus ("org.kde.StatusNotifierWatcher"); a program
// registers an item there and exports its menu over DBusMenu.
//
// QSystemTrayIcon speaks both, but it chooses once per process: at its first
// use it asks the bus whether a StatusNotifierItem host is registered and
// keeps the answer for good. So the package asks first, never lets Qt ask
// while no tray exists, and puts its first icon into whichever tray is
// there: the kind chosen then (ProcessTrayKind) holds for the whole process,
// as it does for Qt. Panels that restart are followed by Qt itself: an
// XEmbed icon docks again into a new tray manager, a StatusNotifierItem
// registers again with a new watcher.

#include "trayicon/lumora_export.h"

namespace lumora {

enum class TrayKind {
  None,            // no icon was put into a tray yet
  XEmbed,          // the X system tray
  StatusNotifier,  // a StatusNotifierItem host on the session bus
};

// Whether a StatusNotifierWatcher on the session bus says a host is
// registered; asked exactly as Qt asks it (introspection included), so that
// the two agree. Never blocks longer than the bus's answer to two calls.
LUMORA_EXPORT bool StatusNotifierHostAvailable();

// Whether an XEmbed tray manager owns the system-tray selection of the
// default X screen; false on any platform but xcb.
LUMORA_EXPORT bool XEmbedTrayAvailable();

// The kind of tray the process's icons use; None until the first icon is
// put into a tray.
LUMORA_EXPORT TrayKind ProcessTrayKind();

// The kind an icon put into a tray now would use (StatusNotifier before
// XEmbed, as Qt prefers it), or ProcessTrayKind once that is decided; None
// while no tray of a usable kind exists.
LUMORA_EXPORT TrayKind AvailableTrayKind();

// Records the kind of the first icon; later calls are ignored.
LUMORA_EXPORT void SetProcessTrayKind(TrayKind kind);

// Whether the process's icons can be seen and clicked now: a tray of the
// process's kind exists. False before the first icon is in a tray.
LUMORA_EXPORT bool TrayIconsReachable();

}  // namespace lumora
