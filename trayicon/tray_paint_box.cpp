#include "trayicon/tray_paint_box.h"

#include <QPointer>
#include <QTimer>

#include "trayicon/package.h"

namespace lumora {

TTrayPaintBox::TTrayPaintBox(QObject* owner, TrayShell* shell, bool designMode)
    : TTrayIconEx(owner, shell, designMode), paintIcon_(std::make_unique<TIconEx>()) {}

TTrayPaintBox::~TTrayPaintBox() = default;

void TTrayPaintBox::SetAnimate(bool on) {
  if (inTick_) {
    animateAskedInTick_ = true;
    animateWish_ = on;
    return;
  }
  if (on) {
    AnimationTimer()->start();
  } else {
    AnimationTimer()->stop();
  }
}

void TTrayPaintBox::OnAnimation(QObject*) {
  if (!OnTimer || inTick_) return;
  QTimer* timer = AnimationTimer();
  const bool wasEnabled = timer->isActive();
  timer->stop();
  inTick_ = true;
  animateAskedInTick_ = false;

  QPointer<TTrayPaintBox> alive(this);
  NotifyEvent handler = OnTimer;
  handler(this);
  if (alive.isNull()) return;

  inTick_ = false;
  Flip();
  const bool enable = animateAskedInTick_ ? animateWish_ : wasEnabled;
  if (enable) timer->start();
}

void TTrayPaintBox::AfterClear() { Flip(); }

void TTrayPaintBox::Flip() {
  SetCurrentIcon(paintIcon_->Handle());
  SetIcon();
}

namespace traypaintbox {
void Register() { RegisterComponent("TTrayPaintBox", "System"); }
}  // namespace traypaintbox

}  // namespace lumora
