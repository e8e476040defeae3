#pragma once
// The notification-area seam. A component describes its tray icon in a
// NotifyIconData record and hands it to a TrayShell with one of three
// commands. The shell answers a mouse gesture on the icon by sending the
// record's callback message to the record's window (tray_window.h), with the
// identifier as first and the mouse message as second parameter.
//
// SystemTrayShell (system_tray_shell.h) is the real shell on QSystemTrayIcon;
// tests use a recording fake.

#include <QIcon>
#include <QString>
#include <QtGlobal>
#include <array>

#include "trayicon/lumora_export.h"

class QMenu;

namespace lumora {

// A hidden window of tray_window.h; 0 is no window.
using WindowHandle = quintptr;

// Commands of TrayShell::Execute.
inline constexpr int NotifyAdd = 0;
inline constexpr int NotifyModify = 1;
inline constexpr int NotifyDelete = 2;

// Flags of NotifyIconData: which fields a command carries.
inline constexpr unsigned NotifyFlagMessage = 1;
inline constexpr unsigned NotifyFlagIcon = 2;
inline constexpr unsigned NotifyFlagTip = 4;
// Carries longTip: a tooltip beyond the 63 characters of tip, for the trays
// of our desktops, which show any length.
inline constexpr unsigned NotifyFlagLongTip = 0x100;

// The callback message (user-message base 1024 + 100).
inline constexpr unsigned TrayCallbackMessage = 1124;

// Mouse messages carried by the callback as its second parameter.
inline constexpr qintptr MouseLButtonUp = 514;
inline constexpr qintptr MouseLButtonDblClk = 515;
inline constexpr qintptr MouseRButtonUp = 517;
inline constexpr qintptr MouseRButtonDblClk = 518;

struct LUMORA_EXPORT NotifyIconData {
  static constexpr int TipCapacity = 64;  // 63 characters and the terminator

  quint32 size = sizeof(NotifyIconData);
  WindowHandle window = 0;    // receives the callback message
  quintptr identifier = 0;    // names the icon; unique per component
  unsigned flags = 0;         // NotifyFlag* bits
  unsigned callbackMessage = 0;
  QIcon icon;
  std::array<char16_t, TipCapacity> tip{};  // zero-terminated
  // With NotifyFlagLongTip: shown in place of tip while it is not empty;
  // lines separated by '\n'.
  QString longTip;

  // Copies the first 63 characters of text into tip (a surrogate pair is
  // never split: the cut falls before it); returns the text as copied.
  QString SetTip(const QString& text);
  // The tip up to its terminator.
  QString Tip() const;
};

class LUMORA_EXPORT TrayShell {
 public:
  virtual ~TrayShell() = default;
  // command: NotifyAdd, NotifyModify or NotifyDelete, for the icon named by
  // data.identifier. Returns whether the shell accepted the command.
  virtual bool Execute(int command, const NotifyIconData& data) = 0;
  // The menu of the icon named by identifier (not owned; nullptr for none),
  // for trays that show an icon's menu themselves. The XEmbed tray doesn't:
  // there the component pops its menu up on the right click. By default
  // nothing is done.
  virtual void SetMenu(quintptr identifier, QMenu* menu) {
    Q_UNUSED(identifier);
    Q_UNUSED(menu);
  }
};

}  // namespace lumora
