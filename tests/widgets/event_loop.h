#pragma once
// Runs the event loop in tests that wait for work done in steps on it.

#include <QApplication>
#include <QElapsedTimer>
#include <functional>

namespace velmar::testing {

// Runs the event loop until done() or a minute has passed; false then.
inline bool ProcessUntil(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > 60'000) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  return true;
}

}  // namespace velmar::testing
