#pragma once
// The application object as the tray package sees it: the application's icon,
// its application-level window (which carries the taskbar entry) and the
// minimise and restore events. The program implements it and installs one
// with SetApplicationObject before it creates any tray component.
//
// A tray component installs its own handlers into OnMinimize and OnRestore
// when it is created and takes them out when it is destroyed. Raise an event
// through a copy of the handler (the handler may replace it); raising it
// again from inside ShowWindow is harmless.

#include <QCursor>
#include <QIcon>
#include <QObject>
#include <QPoint>
#include <functional>

#include "trayicon/lumora_export.h"

namespace lumora {

// A notification event; sender is the object that raises it.
using NotifyEvent = std::function<void(QObject* sender)>;

class LUMORA_EXPORT ApplicationObject {
 public:
  virtual ~ApplicationObject() = default;
  virtual QIcon Icon() const = 0;                 // the application's icon
  virtual void ShowWindow(int command) = 0;       // 6 minimise, 0 hide, 5 show, 9 restore (taskbar entry goes with the window)
  virtual void SetForeground() = 0;               // bring to the front
  virtual QPoint CursorPos() const { return QCursor::pos(); }
  NotifyEvent OnMinimize;                         // raised by the implementer when the user minimises the application
  NotifyEvent OnRestore;                          // raised when it is restored by the platform
};

// Show commands of ApplicationObject::ShowWindow.
inline constexpr int SwHide = 0;
inline constexpr int SwShow = 5;
inline constexpr int SwMinimize = 6;
inline constexpr int SwRestore = 9;

LUMORA_EXPORT void SetApplicationObject(ApplicationObject* app);  // not owned; nullptr allowed
LUMORA_EXPORT ApplicationObject* GetApplicationObject();          // nullptr when none is installed

}  // namespace lumora
