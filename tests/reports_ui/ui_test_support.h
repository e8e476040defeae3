#pragma once
// Driving the modal report dialogs from a test, and setting up a program
// directory with a database for the report commands.

#include <QDialog>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "day_test_support.h"
#include "platform/clock.h"
#include "texts/rtf_writer.h"

namespace velmar::testing {

// Runs one step each time the dialog is up; every step ends by closing the
// dialog. A dialog shown more often than there are steps is closed by its
// close box.
class ModalDriver {
 public:
  ModalDriver(QDialog& dialog, std::vector<std::function<void()>> steps)
      : dialog_(dialog), steps_(std::move(steps)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start(5);
  }
  std::size_t StepsRun() const { return next_; }
  std::size_t ExtraShows() const { return extra_; }

 private:
  void Tick() {
    if (!dialog_.isVisible() || busy_) return;
    busy_ = true;
    if (next_ < steps_.size()) {
      steps_[next_++]();
    } else {
      ++extra_;
      dialog_.close();
    }
    busy_ = false;
  }

  QDialog& dialog_;
  std::vector<std::function<void()>> steps_;
  QTimer timer_;
  std::size_t next_ = 0;
  std::size_t extra_ = 0;
  bool busy_ = false;
};

// Types a number into a spin edit as the user would, without leaving it.
inline void TypeInto(QSpinBox* spin, const QString& text) {
  spin->findChild<QLineEdit*>()->setText(text);
}

// The report file's bytes as UTF-8; empty when there is none.
inline std::string ReportText() {
  return Cp1251ToUtf8(ReadFileBytes(ReportFilePath()));
}

// Fixes the system date for the lifetime of the object.
class FixedToday {
 public:
  explicit FixedToday(CivilDate date) { SetFixedToday(date); }
  ~FixedToday() { SetFixedToday(std::nullopt); }
};

}  // namespace velmar::testing
