#pragma once
// Helpers shared by the package's tests: an application object that keeps a
// journal of what is done to it, solid-colour icons, and a way to let the
// event loop run for a while.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "trayicon/application_object.h"

namespace lumora {

class JournalApplication : public ApplicationObject {
 public:
  explicit JournalApplication(std::vector<std::string>& journal) : journal_(journal) {}
  QIcon Icon() const override { return icon; }
  void ShowWindow(int command) override {
    journal_.push_back("ShowWindow " + std::to_string(command));
    if (onShowWindow) onShowWindow(command);
  }
  void SetForeground() override { journal_.push_back("SetForeground"); }
  QPoint CursorPos() const override { return QPoint(120, 80); }

  QIcon icon;
  std::function<void(int)> onShowWindow;

 private:
  std::vector<std::string>& journal_;
};

inline QIcon SolidIcon(QRgb colour, int size = 16) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(colour);
  return QIcon(QPixmap::fromImage(image));
}

// Runs the event loop for ms milliseconds, or until done() holds.
inline void RunEventLoop(int ms, const std::function<bool()>& done = [] { return false; }) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms && !done()) {
    QEventLoop loop;
    QTimer::singleShot(1, &loop, &QEventLoop::quit);
    loop.exec();
  }
}

}  // namespace lumora
