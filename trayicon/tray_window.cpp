#include "trayicon/tray_window.h"

#include <map>

namespace lumora {

namespace {

struct HiddenWindow {
  QString className;
  QString name;
};

std::map<QString, WindowProc>& Classes() {
  static std::map<QString, WindowProc> classes;
  return classes;
}

std::map<WindowHandle, HiddenWindow>& Windows() {
  static std::map<WindowHandle, HiddenWindow> windows;
  return windows;
}

WindowHandle lastHandle = 0;

bool HasWindows(const QString& className) {
  for (const auto& [handle, window] : Windows()) {
    if (window.className == className) return true;
  }
  return false;
}

}  // namespace

bool RegisterWindowClass(const QString& className, WindowProc procedure) {
  if (className.isEmpty() || procedure == nullptr) return false;
  return Classes().emplace(className, procedure).second;
}

bool UnregisterWindowClass(const QString& className) {
  auto found = Classes().find(className);
  if (found == Classes().end() || HasWindows(className)) return false;
  Classes().erase(found);
  return true;
}

bool IsWindowClassRegistered(const QString& className) { return Classes().count(className) != 0; }

WindowHandle CreateHiddenWindow(const QString& className, const QString& windowName) {
  if (!IsWindowClassRegistered(className)) return 0;
  WindowHandle handle = ++lastHandle;
  Windows().emplace(handle, HiddenWindow{className, windowName});
  return handle;
}

bool DestroyHiddenWindow(WindowHandle window) { return Windows().erase(window) != 0; }

bool IsWindow(WindowHandle window) { return Windows().count(window) != 0; }

QString WindowName(WindowHandle window) {
  auto found = Windows().find(window);
  return found == Windows().end() ? QString() : found->second.name;
}

QString WindowClassName(WindowHandle window) {
  auto found = Windows().find(window);
  return found == Windows().end() ? QString() : found->second.className;
}

qintptr SendWindowMessage(WindowHandle window, unsigned message, quintptr first, qintptr second) {
  auto found = Windows().find(window);
  if (found == Windows().end()) return 0;
  auto procedure = Classes().find(found->second.className);
  if (procedure == Classes().end()) return 0;
  // The procedure may destroy the window; nothing of the registry is used
  // after the call.
  return procedure->second(window, message, first, second);
}

qintptr DefaultWindowProc(WindowHandle, unsigned, quintptr, qintptr) { return 0; }

void UnregisterUnusedWindowClasses() {
  auto& classes = Classes();
  for (auto it = classes.begin(); it != classes.end();) {
    it = HasWindows(it->first) ? std::next(it) : classes.erase(it);
  }
}

}  // namespace lumora
