#pragma once
// TTrayPaintBox: a tray icon that the application paints itself. On every
// tick of the animation timer it raises OnTimer, in which the application
// paints the next frame on PaintIcon, and then shows PaintIcon in the tray.

#include <memory>

#include "trayicon/icon_ex.h"
#include "trayicon/lumora_export.h"
#include "trayicon/tray_icon_ex.h"

namespace lumora {

class LUMORA_EXPORT TTrayPaintBox : public TTrayIconEx {
  Q_OBJECT

 public:
  // As TTrayIconEx, and creates PaintIcon (32 x 32, transparent).
  explicit TTrayPaintBox(QObject* owner, TrayShell* shell = nullptr, bool designMode = false);
  ~TTrayPaintBox() override;

  // Starts or stops the timer, with or without an image list; the icon is
  // left as it is.
  void SetAnimate(bool on) override;
  // One tick: without OnTimer nothing happens. Otherwise the timer is held
  // off while OnTimer runs, PaintIcon is shown, and the timer goes back to
  // its state before the tick - unless OnTimer called SetAnimate, whose
  // last call then decides.
  void OnAnimation(QObject* sender) override;
  // Shows PaintIcon; the application calls it after clearing PaintIcon.
  virtual void AfterClear();

  // The icon to paint on; owned by the component.
  TIconEx* GetPaintIcon() const { return paintIcon_.get(); }
  // Copies PaintIcon into the tray.
  void Flip();

  NotifyEvent OnTimer;  // sender: the component

 private:
  std::unique_ptr<TIconEx> paintIcon_;
  bool inTick_ = false;
  bool animateAskedInTick_ = false;
  bool animateWish_ = false;
};

namespace traypaintbox {
// Registers TTrayPaintBox on the palette page "System".
LUMORA_EXPORT void Register();
}  // namespace traypaintbox

}  // namespace lumora
