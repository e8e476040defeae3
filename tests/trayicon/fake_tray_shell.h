#pragma once
// A notification area for tests: it records every command, answers with
// `accept`, and plays mouse gestures on an icon by sending the callback
// message to the window the icon was added with, as the desktop would.

#include <utility>
#include <vector>

#include "trayicon/tray_shell.h"
#include "trayicon/tray_window.h"

namespace lumora {

class FakeTrayShell : public TrayShell {
 public:
  struct Call {
    int command;
    NotifyIconData data;
  };

  bool Execute(int command, const NotifyIconData& data) override {
    calls.push_back({command, data});
    return accept;
  }

  void SetMenu(quintptr identifier, QMenu* menu) override { menus.emplace_back(identifier, menu); }

  // Sends mouse (514, 515, 517, 518, ...) for the icon added with
  // identifier; returns the window procedure's result, -1 when no such icon
  // was added.
  qintptr Click(quintptr identifier, qintptr mouse) {
    for (auto call = calls.rbegin(); call != calls.rend(); ++call) {
      if (call->command == NotifyAdd && call->data.identifier == identifier) {
        return SendWindowMessage(call->data.window, call->data.callbackMessage, identifier, mouse);
      }
    }
    return -1;
  }

  // The calls with the given command.
  std::vector<NotifyIconData> Calls(int command) const {
    std::vector<NotifyIconData> found;
    for (const Call& call : calls) {
      if (call.command == command) found.push_back(call.data);
    }
    return found;
  }

  std::vector<Call> calls;
  std::vector<std::pair<quintptr, QMenu*>> menus;  // SetMenu calls
  bool accept = true;
};

}  // namespace lumora
