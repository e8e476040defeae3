#pragma once
// Hidden windows that receive the shell's callback messages. A window belongs
// to a registered window class, whose procedure handles every message sent to
// the window. Nothing here appears on screen: the registry only names windows
// and routes messages to their procedures, on the user-interface thread.
//
// Handles are never reused, so a message sent to a destroyed window is lost
// instead of reaching a newer one.

#include <QString>

#include "trayicon/lumora_export.h"
#include "trayicon/tray_shell.h"

namespace lumora {

// A window procedure: returns the message's result.
using WindowProc = qintptr (*)(WindowHandle window, unsigned message, quintptr first, qintptr second);

// Registers a window class; false when the name is empty or taken, or the
// procedure is null.
LUMORA_EXPORT bool RegisterWindowClass(const QString& className, WindowProc procedure);

// Removes a class; false when it is unknown or windows of it still exist.
LUMORA_EXPORT bool UnregisterWindowClass(const QString& className);

LUMORA_EXPORT bool IsWindowClassRegistered(const QString& className);

// Creates a hidden window of a registered class; 0 when the class is unknown.
LUMORA_EXPORT WindowHandle CreateHiddenWindow(const QString& className, const QString& windowName);

// Destroys a window; false when there is no such window.
LUMORA_EXPORT bool DestroyHiddenWindow(WindowHandle window);

LUMORA_EXPORT bool IsWindow(WindowHandle window);

// The window's name and class name; empty for no window.
LUMORA_EXPORT QString WindowName(WindowHandle window);
LUMORA_EXPORT QString WindowClassName(WindowHandle window);

// Hands a message to the window's procedure and returns its result; 0 when
// the window does not exist.
LUMORA_EXPORT qintptr SendWindowMessage(WindowHandle window, unsigned message, quintptr first, qintptr second);

// The default window procedure: handles nothing, returns 0.
LUMORA_EXPORT qintptr DefaultWindowProc(WindowHandle window, unsigned message, quintptr first, qintptr second);

// Unregisters every class that has no window left; used when the package
// is finalised.
LUMORA_EXPORT void UnregisterUnusedWindowClasses();

}  // namespace lumora
