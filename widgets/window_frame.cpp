#include "widgets/window_frame.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWidget>
#include <QWindow>

namespace velmar {
namespace {

// Looks after one window; a child of it, so it goes with it.
class OuterSizeKeeper : public QObject {
 public:
  OuterSizeKeeper(QWidget* window, std::function<QSize()> outerSize, QSize designFrame)
      : QObject(window), window_(window), outerSize_(std::move(outerSize)), designFrame_(designFrame) {
    setObjectName(QStringLiteral("OuterSizeKeeper"));
    window->installEventFilter(this);
  }

  void Apply() {
    const QSize outer = outerSize_();
    const QSize frame = FrameOrDesign(window_, designFrame_);
    const int width = outer.width() > 0 ? outer.width() - frame.width() : window_->width();
    const int height = outer.height() > 0 ? outer.height() - frame.height() : window_->height();
    if (outer.width() > 0) window_->setFixedWidth(std::max(width, 1));
    if (outer.height() > 0) window_->setFixedHeight(std::max(height, 1));
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_) {
      switch (event->type()) {
        case QEvent::Show: {
          Apply();
          // Window managers frame a window some time after it is mapped,
          // later still on a busy machine: look again until the frame is
          // known (for three seconds at most).
          QPointer<OuterSizeKeeper> self(this);
          for (int ms = 50; ms <= 3000; ms += ms < 500 ? 50 : 250)
            QTimer::singleShot(ms, this, [self] {
              if (self != nullptr && self->window_->isVisible() && !WindowFrame(self->window_).isNull())
                self->Apply();
            });
          break;
        }
        case QEvent::Move:
        case QEvent::Resize:
          if (!WindowFrame(window_).isNull()) Apply();
          break;
        default: break;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget* window_;
  std::function<QSize()> outerSize_;
  QSize designFrame_;
};

OuterSizeKeeper* KeeperOf(QWidget* window) {
  return window->findChild<OuterSizeKeeper*>(QStringLiteral("OuterSizeKeeper"), Qt::FindDirectChildrenOnly);
}

}  // namespace

// Asked of the native window: the widget's own copy of the frame is updated
// only on a later move or resize, which a window that the manager framed
// where it was put doesn't get.
QSize WindowFrame(const QWidget* window) {
  const QWindow* native = window->windowHandle();
  if (native == nullptr) return {0, 0};  // never shown
  const QMargins margins = native->frameMargins();
  return {margins.left() + margins.right(), margins.top() + margins.bottom()};
}

// The frame last seen is remembered: a window hidden into the tray, or
// closing, has no frame of its own for a moment, but its outer size is what
// it was.
QSize FrameOrDesign(const QWidget* window, QSize designFrame) {
  static const char* const kLastFrame = "velmarLastFrame";
  const QSize frame = WindowFrame(window);
  if (!frame.isNull()) {
    const_cast<QWidget*>(window)->setProperty(kLastFrame, frame);
    return frame;
  }
  const QVariant last = window->property(kLastFrame);
  return last.isValid() ? last.toSize() : designFrame;
}

bool ProgramsPlaceWindows() {
  return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"), Qt::CaseInsensitive);
}

void KeepOuterSize(QWidget* window, std::function<QSize()> outerSize, QSize designFrame) {
  OuterSizeKeeper* keeper = KeeperOf(window);
  delete keeper;
  keeper = new OuterSizeKeeper(window, std::move(outerSize), designFrame);
  keeper->Apply();
}

bool HasOuterSizeKeeper(const QWidget* window) { return KeeperOf(const_cast<QWidget*>(window)) != nullptr; }

void ApplyOuterSize(QWidget* window) {
  if (OuterSizeKeeper* keeper = KeeperOf(window)) keeper->Apply();
}

}  // namespace velmar
