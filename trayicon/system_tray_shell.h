#pragma once
// The real notification area: one QSystemTrayIcon per identifier. Add shows
// an icon (as soon as it has an image), modify updates its image, tooltip or
// callback, delete removes it.
// A click on the icon reaches the record's window as the callback message:
// a click as left button up (514), a double click as left double-click (515),
// the context request as right button up (517). Qt reports no right
// double-click, so 518 never comes from here.

#include <QObject>
#include <map>

#include "trayicon/lumora_export.h"
#include "trayicon/tray_shell.h"

class QSystemTrayIcon;

namespace lumora {

class LUMORA_EXPORT SystemTrayShell : public TrayShell {
 public:
  SystemTrayShell() = default;
  ~SystemTrayShell() override;
  SystemTrayShell(const SystemTrayShell&) = delete;
  SystemTrayShell& operator=(const SystemTrayShell&) = delete;

  // False when the desktop has no system tray (add), when the record's window does
  // not exist (add), when the identifier is already shown (add) or unknown
  // (modify, delete), or for an unknown command.
  bool Execute(int command, const NotifyIconData& data) override;

 private:
  struct Entry {
    QSystemTrayIcon* icon = nullptr;
    WindowHandle window = 0;
    unsigned callbackMessage = 0;  // 0: no callback
  };

  void Apply(Entry& entry, const NotifyIconData& data);
  void Activated(quintptr identifier, int reason);
  static void Discard(QSystemTrayIcon* icon);

  std::map<quintptr, Entry> entries_;
};

}  // namespace lumora
