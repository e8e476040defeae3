#include "trayicon/tray_icon_ex.h"

#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <map>

#include "trayicon/image_list.h"
#include "trayicon/package.h"
#include "trayicon/system_tray_shell.h"
#include "trayicon/tray_window.h"

namespace lumora {

namespace {

constexpr int DefaultInterval = 500;  // ms

// The live components by identifier: how a callback finds its component.
std::map<quintptr, TTrayIconEx*>& Components() {
  static std::map<quintptr, TTrayIconEx*> components;
  return components;
}

// Identifiers count up from 1 and are never reused, so a late callback for a
// component that is gone finds nothing.
quintptr NextIdentifier() {
  static quintptr last = 0;
  return ++last;
}

}  // namespace

// The handler installed into one of the application's events; it remembers
// its component so that the component can tell its own handler from another.
struct TTrayIconEx::ApplicationHook {
  TTrayIconEx* owner;
  bool restore;
  void operator()(QObject* sender) const {
    if (restore) {
      owner->TrayIconExRestore(sender);
    } else {
      owner->TrayIconExMinimize(sender);
    }
  }
};

TTrayIconEx::TTrayIconEx(QObject* owner, TrayShell* shell, bool designMode)
    : QObject(owner), identifier_(NextIdentifier()), designMode_(designMode) {
  if (shell != nullptr) {
    shell_ = shell;
  } else if (!designMode_) {
    ownShell_ = std::make_unique<SystemTrayShell>();
    shell_ = ownShell_.get();
  }
  Components()[identifier_] = this;

  if (ApplicationObject* app = GetApplicationObject()) currentIcon_ = app->Icon();
  timer_ = new QTimer(this);
  timer_->stop();
  connect(timer_, &QTimer::timeout, this, [this] { OnAnimation(timer_); });
  timer_->setInterval(DefaultInterval);

  CreateTaskWindow();
  CreateShellNotify();
  if (!designMode_) HookApplication();
}

TTrayIconEx::~TTrayIconEx() {
  UnhookApplication();
  timer_->stop();
  DeleteShellNotify();
  DestroyTaskWindow();
  Components().erase(identifier_);
}

void TTrayIconEx::Loaded() {
  if (icons_ == nullptr) return;
  if (icons_->Count() >= 1) currentIcon_ = icons_->GetIcon(0);
  iconIndex_ = 0;
  SetIcon();
}

void TTrayIconEx::SetPopupMenu(QMenu* menu) {
  popupMenu_ = menu;
  if (!designMode_ && shell_ != nullptr) shell_->SetMenu(identifier_, menu);
}

void TTrayIconEx::SetHint(const QString& text) {
  if (text == hint_) return;
  NotifyIconData data;
  PrepareNOTIFYICONDATA(data);
  const QString sent = data.SetTip(text);
  data.flags = NotifyFlagTip;
  if (ChangeShellNotify(data)) hint_ = sent;
}

void TTrayIconEx::SetToolTip(const QString& text) {
  if (text == toolTip_) return;
  NotifyIconData data;
  PrepareNOTIFYICONDATA(data);
  data.longTip = text;
  data.flags = NotifyFlagLongTip;
  if (ChangeShellNotify(data)) toolTip_ = text;
}

int TTrayIconEx::GetInterval() const { return timer_->interval(); }

void TTrayIconEx::SetInterval(int ms) {
  if (ms >= 1) timer_->setInterval(ms);
}

void TTrayIconEx::OnMessage(TMessage& message) {
  if (message.WParam != identifier_) return;
  message.Result = 0;
  switch (message.LParam) {
    case MouseLButtonUp: LButtonUp(); break;
    case MouseLButtonDblClk: LButtonDblClick(); break;
    case MouseRButtonUp: RButtonUp(); break;
    case MouseRButtonDblClk: RButtonDblClick(); break;
    default: break;  // moves and button-down messages
  }
}

void TTrayIconEx::LButtonUp() { RaiseGesture(arLeftClick, &TTrayIconEx::OnLButtonUp); }

void TTrayIconEx::LButtonDblClick() { RaiseGesture(arLeftDblClick, &TTrayIconEx::OnLButtonDblClick); }

void TTrayIconEx::RButtonUp() { RaiseGesture(arRightClick, &TTrayIconEx::OnRButtonUp); }

void TTrayIconEx::RButtonDblClick() { RaiseGesture(arRightDblClick, &TTrayIconEx::OnRButtonDblClick); }

// Restore and menu first, then the gesture's event. Any of them may delete
// the component; nothing of it is used after that.
void TTrayIconEx::RaiseGesture(TTrayIconExButtonClick gesture, NotifyEvent TTrayIconEx::*event) {
  QPointer<TTrayIconEx> alive(this);
  ProcessRnMClicks(gesture);
  if (alive.isNull()) return;
  NotifyEvent handler = this->*event;
  if (handler) handler(this);
}

void TTrayIconEx::ProcessRnMClicks(TTrayIconExButtonClick button) {
  QPointer<TTrayIconEx> alive(this);
  if (button == restoreOn_) Restore();
  if (alive.isNull()) return;
  if (button == popupMenuOn_) ShowMenu();
}

void TTrayIconEx::SetAnimate(bool on) {
  if (icons_ == nullptr) return;
  if (on) {
    iconIndex_ = (firstIconAnimate_ || icons_->Count() == 0) ? 0 : 1;
    TakeImage(iconIndex_);
    SetIcon();
    timer_->start();
  } else {
    timer_->stop();
    iconIndex_ = 0;
    TakeImage(0);
    SetIcon();
  }
}

bool TTrayIconEx::GetAnimate() const { return timer_->isActive(); }

void TTrayIconEx::ShowMenu() {
  if (popupMenu_ == nullptr) return;
  ApplicationObject* app = GetApplicationObject();
  popupMenu_->popup(app != nullptr ? app->CursorPos() : QCursor::pos());
}

// The application raises its events also when our own Minimize or Restore
// changes its window; that echo is ignored.
void TTrayIconEx::TrayIconExMinimize(QObject*) {
  if (!inWindowCommand_) Minimize();
}

void TTrayIconEx::TrayIconExRestore(QObject*) {
  if (!inWindowCommand_) Restore();
}

void TTrayIconEx::OnAnimation(QObject*) {
  if (icons_ == nullptr) return;
  const int count = icons_->Count();
  const int old = iconIndex_;
  ++iconIndex_;
  if (iconIndex_ >= count) iconIndex_ = (firstIconAnimate_ || count == 0) ? 0 : 1;
  if (iconIndex_ == old) return;
  TakeImage(iconIndex_);
  SetIcon();
}

void TTrayIconEx::Minimize() {
  if (ApplicationObject* app = GetApplicationObject()) {
    inWindowCommand_ = true;
    app->ShowWindow(SwMinimize);
    app->ShowWindow(SwHide);
    inWindowCommand_ = false;
  }
  NotifyEvent handler = OnMinimize;
  if (handler) handler(this);
}

void TTrayIconEx::Restore() {
  if (ApplicationObject* app = GetApplicationObject()) {
    inWindowCommand_ = true;
    app->ShowWindow(SwShow);
    app->ShowWindow(SwRestore);
    app->SetForeground();
    inWindowCommand_ = false;
  }
  NotifyEvent handler = OnRestore;
  if (handler) handler(this);
}

qintptr TTrayIconEx::TrayWindowProc(WindowHandle window, unsigned message, quintptr first, qintptr second) {
  if (message != TrayCallbackMessage) return DefaultWindowProc(window, message, first, second);
  auto found = Components().find(first);
  if (found == Components().end()) return 0;  // the component is gone
  TMessage framed{message, first, second, 0};
  found->second->OnMessage(framed);
  return framed.Result;
}

void TTrayIconEx::SetIcon() {
  NotifyIconData data;
  PrepareNOTIFYICONDATA(data);
  data.flags = NotifyFlagIcon;
  data.icon = currentIcon_;
  ChangeShellNotify(data);
}

bool TTrayIconEx::CreateShellNotify() {
  NotifyIconData data;
  PrepareNOTIFYICONDATA(data);
  data.flags = NotifyFlagMessage | NotifyFlagIcon;
  data.callbackMessage = TrayCallbackMessage;
  data.icon = currentIcon_;
  return ExecShellNotify(data, NotifyAdd);
}

bool TTrayIconEx::ChangeShellNotify(NotifyIconData& data) { return ExecShellNotify(data, NotifyModify); }

bool TTrayIconEx::DeleteShellNotify() {
  NotifyIconData data;
  PrepareNOTIFYICONDATA(data);
  return ExecShellNotify(data, NotifyDelete);
}

void TTrayIconEx::PrepareNOTIFYICONDATA(NotifyIconData& data) const {
  data = NotifyIconData{};
  data.size = sizeof(NotifyIconData);
  data.window = trayWindow_;
  data.identifier = identifier_;
}

bool TTrayIconEx::ExecShellNotify(const NotifyIconData& data, int command) {
  if (designMode_) return true;
  return shell_ != nullptr && shell_->Execute(command, data);
}

// A second component finds the class registered already; that is fine.
void TTrayIconEx::CreateTaskWindow() {
  RegisterWindowClass(TrayWindowClassName, &TTrayIconEx::TrayWindowProc);
  trayWindow_ = CreateHiddenWindow(TrayWindowClassName, TrayWindowName);
}

// The class stays registered while other components still have windows.
void TTrayIconEx::DestroyTaskWindow() {
  DestroyHiddenWindow(trayWindow_);
  trayWindow_ = 0;
  UnregisterWindowClass(TrayWindowClassName);
}

// A list without the image asked for leaves the current icon as it is.
void TTrayIconEx::TakeImage(int index) {
  QIcon image = icons_->GetIcon(index);
  if (!image.isNull()) currentIcon_ = image;
}

void TTrayIconEx::HookApplication() {
  ApplicationObject* app = GetApplicationObject();
  if (app == nullptr) return;
  app->OnMinimize = ApplicationHook{this, false};
  app->OnRestore = ApplicationHook{this, true};
}

void TTrayIconEx::UnhookApplication() {
  ApplicationObject* app = GetApplicationObject();
  if (app == nullptr) return;
  auto own = [this](const NotifyEvent& event) {
    const ApplicationHook* hook = event.target<ApplicationHook>();
    return hook != nullptr && hook->owner == this;
  };
  if (own(app->OnMinimize)) app->OnMinimize = nullptr;
  if (own(app->OnRestore)) app->OnRestore = nullptr;
}

namespace trayiconex {
void Register() { RegisterComponent("TTrayIconEx", "System"); }
}  // namespace trayiconex

}  // namespace lumora
