#pragma once
// TTrayIconEx: one icon in the desktop's notification area for the lifetime
// of the component. It turns the tray's mouse callbacks into events, pops a
// menu up at the cursor, takes the application out of the taskbar when it is
// minimised and brings it back on a chosen gesture, and can cycle its icon
// through an image list on a timer.
//
// How the pieces meet: the component names itself to the shell (TrayShell)
// by a unique identifier and gives its hidden window (tray_window.h) as the
// receiver of the callback message 1124. The window's procedure,
// TrayWindowProc, finds the component by the identifier and hands the
// message to OnMessage, which maps the mouse message to a gesture handler:
// first restore, then the menu, then the gesture's own event.

#include <QIcon>
#include <QObject>
#include <QString>
#include <memory>

#include "trayicon/application_object.h"
#include "trayicon/lumora_export.h"
#include "trayicon/tray_shell.h"

class QMenu;
class QTimer;

namespace lumora {

class ImageList;

// The hidden window that receives the callbacks, and its class.
inline constexpr const char* TrayWindowClassName = "Tray Icon Hidden Window Class";
inline constexpr const char* TrayWindowName = "Tray Icon Hidden Window";

// A mouse gesture on the tray icon.
enum TTrayIconExButtonClick : quint8 {
  arLeftClick = 0,
  arLeftDblClick = 1,
  arRightClick = 2,
  arRightDblClick = 3,
  arNone = 4,
};

// A window message as the component handles it.
struct TMessage {
  unsigned Msg = 0;
  quintptr WParam = 0;  // first parameter: the identifier of the icon
  qintptr LParam = 0;   // second parameter: the mouse message
  qintptr Result = 0;
};

class LUMORA_EXPORT TTrayIconEx : public QObject {
  Q_OBJECT

 public:
  // Adds the application's icon to the tray at once, without a tooltip.
  // shell: not owned; nullptr uses the desktop's tray (SystemTrayShell).
  // designMode: every shell call is skipped and reported as successful, and
  // the application's events are left alone.
  explicit TTrayIconEx(QObject* owner, TrayShell* shell = nullptr, bool designMode = false);
  // Stops the animation, deletes the icon from the tray, destroys the hidden
  // window and takes the component's handlers out of the application's
  // events (where they are still its own).
  ~TTrayIconEx() override;

  TTrayIconEx(const TTrayIconEx&) = delete;
  TTrayIconEx& operator=(const TTrayIconEx&) = delete;

  // Properties. The image list and the menu are not owned and must outlive
  // the component (or be set to nullptr first).
  ImageList* Icons() const { return icons_; }
  void SetIcons(ImageList* icons) { icons_ = icons; }
  QMenu* PopupMenu() const { return popupMenu_; }
  // Also hands the menu to trays that show an icon's menu themselves.
  void SetPopupMenu(QMenu* menu);
  TTrayIconExButtonClick RestoreOn() const { return restoreOn_; }          // default arLeftDblClick
  void SetRestoreOn(TTrayIconExButtonClick gesture) { restoreOn_ = gesture; }
  TTrayIconExButtonClick PopupMenuOn() const { return popupMenuOn_; }      // default arNone
  void SetPopupMenuOn(TTrayIconExButtonClick gesture) { popupMenuOn_ = gesture; }
  bool FirstIconAnimate() const { return firstIconAnimate_; }              // default true
  void SetFirstIconAnimate(bool on) { firstIconAnimate_ = on; }
  // The tooltip as the shell last accepted it (at most 63 characters).
  const QString& Hint() const { return hint_; }
  // A tooltip of any length that the desktop's tray shows in place of Hint
  // while it is not empty (Hint stays as it is); sent unless it equals
  // ToolTip, which takes it when the shell accepts it.
  void SetToolTip(const QString& text);
  const QString& ToolTip() const { return toolTip_; }

  // Call once the properties are set: shows image 0 of Icons when a list is
  // set; without a list the tray keeps the application's icon.
  virtual void Loaded();

  // Sends the first 63 characters of text to the tray as the tooltip, unless
  // text equals Hint; Hint takes the sent text only when the shell accepts it.
  virtual void SetHint(const QString& text);
  // The animation interval in milliseconds (default 500).
  virtual int GetInterval() const;
  // ms >= 1; other values are ignored.
  virtual void SetInterval(int ms);
  // Handles the callback message; a message naming another icon is ignored.
  virtual void OnMessage(TMessage& message);
  virtual void LButtonUp();
  virtual void LButtonDblClick();
  virtual void RButtonUp();
  virtual void RButtonDblClick();
  // Starts or stops cycling through Icons; does nothing without a list.
  virtual void SetAnimate(bool on);
  // Whether the animation timer runs.
  virtual bool GetAnimate() const;
  // Pops PopupMenu up at the cursor (returns at once).
  virtual void ShowMenu();
  // Handlers installed into the application's minimise and restore events.
  virtual void TrayIconExMinimize(QObject* sender);
  virtual void TrayIconExRestore(QObject* sender);
  // One animation tick; sender is the timer.
  virtual void OnAnimation(QObject* sender);
  // Minimises and hides the application window (leaving the taskbar), then
  // raises OnMinimize.
  virtual void Minimize();
  // Shows, restores and raises the application window, then raises OnRestore.
  virtual void Restore();

  // Restores when button is RestoreOn, then shows the menu when it is
  // PopupMenuOn.
  void ProcessRnMClicks(TTrayIconExButtonClick button);

  // The hidden window's procedure: message 1124 goes to the OnMessage of the
  // component its first parameter names; everything else to the default.
  static qintptr TrayWindowProc(WindowHandle window, unsigned message, quintptr first, qintptr second);

  // The identifier that names this component to the shell.
  quintptr Identifier() const { return identifier_; }
  // The hidden window receiving the callbacks (0 if it could not be made).
  WindowHandle TrayWindow() const { return trayWindow_; }
  bool DesignMode() const { return designMode_; }
  // The icon the tray shows (or would show).
  const QIcon& CurrentIcon() const { return currentIcon_; }
  // Position in Icons of the icon last shown by the animation.
  int IconIndex() const { return iconIndex_; }

  NotifyEvent OnMinimize;         // after Minimize
  NotifyEvent OnRestore;          // after Restore
  NotifyEvent OnLButtonDblClick;
  NotifyEvent OnRButtonDblClick;
  NotifyEvent OnLButtonUp;
  NotifyEvent OnRButtonUp;

 protected:
  // Pushes the current icon to the tray.
  void SetIcon();
  void SetCurrentIcon(const QIcon& icon) { currentIcon_ = icon; }
  QTimer* AnimationTimer() const { return timer_; }

  bool CreateShellNotify();
  bool ChangeShellNotify(NotifyIconData& data);
  bool DeleteShellNotify();
  // Clears the record and fills its size, window and identifier.
  void PrepareNOTIFYICONDATA(NotifyIconData& data) const;
  // Returns true without calling the shell in design mode, otherwise the
  // shell's answer.
  bool ExecShellNotify(const NotifyIconData& data, int command);
  void CreateTaskWindow();
  void DestroyTaskWindow();

 private:
  struct ApplicationHook;

  void RaiseGesture(TTrayIconExButtonClick gesture, NotifyEvent TTrayIconEx::*event);
  void TakeImage(int index);
  void HookApplication();
  void UnhookApplication();

  QIcon currentIcon_;
  ImageList* icons_ = nullptr;
  QMenu* popupMenu_ = nullptr;
  QTimer* timer_ = nullptr;
  QString hint_;
  QString toolTip_;
  int iconIndex_ = 0;
  WindowHandle trayWindow_ = 0;
  bool firstIconAnimate_ = true;
  TTrayIconExButtonClick restoreOn_ = arLeftDblClick;
  TTrayIconExButtonClick popupMenuOn_ = arNone;

  quintptr identifier_ = 0;
  bool designMode_ = false;
  std::unique_ptr<TrayShell> ownShell_;
  TrayShell* shell_ = nullptr;
  bool inWindowCommand_ = false;  // Minimize or Restore is driving the application window
};

namespace trayiconex {
// Registers TTrayIconEx on the palette page "System".
LUMORA_EXPORT void Register();
}  // namespace trayiconex

}  // namespace lumora
