// velmar_bench_viewer FOLDER FROM TO SECONDS: writes the period calendar of
// FROM..TO (YYYY-MM-DD, new style) with FOLDER as the program directory (its
// dbase/ and Velmar32.ini already there), has the report viewer show it as
// the program does (TForm2::ShowReport; windowsNT on, as by default: the
// file loaded twice), and prints, in seconds from the moment the report file was closed:
//   painted  the end of the viewer's first paint of the text;
//   whole    the whole document at hand: the load complete and what the
//            viewer holds laid out (a viewer that builds the document in one
//            go lays all of it out, as it does in the background when left
//            alone);
// and the process's peak resident set before the report and at the end:
//   "bytes=N written=T painted=T whole=T peak_kib=N start_kib=N messages=N"
// After SECONDS the run stops where it is and prints whole=-1 (and the peak
// so far). A process of its own, so that the memory is the viewer's. It
// builds against the viewer of earlier commits too (bench/run measures the
// one before a change with it).
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QEvent>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>

#include "app/settings.h"
#include "bench/bench_support.h"
// bench/run builds this file in an earlier commit's tree too, where the Qt
// stand-ins were still in platform/.
#if __has_include("widgets/rich_edit.h")
#include "widgets/rich_edit.h"
#else
#include "platform/rich_edit.h"
#endif
#include "reports/forms/report_viewer.h"
#include "reports/period_calendar.h"
#include "texts/rtf_writer.h"

namespace {

// Notes the end of the first paint of a widget, as velmar_bench_first_paint
// does: the queued call runs once that paint has returned to the event loop.
class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && armed && !seen) {
      seen = true;
      QTimer::singleShot(0, [this] {
        painted = velmar::MonotonicSeconds();
        QCoreApplication::quit();
      });
    }
    return QObject::eventFilter(watched, event);
  }
  bool armed = false;
  bool seen = false;
  double painted = 0;
};

// Waits for a load that goes on after the first paint, where the viewer has
// one.
template <typename Edit>
void FinishLoad(Edit& edit) {
  if constexpr (requires { edit.FinishLoading(); }) edit.FinishLoading();
}

bool ParseDate(const char* text, velmar::u16& day, velmar::u16& month, velmar::u16& year) {
  unsigned y = 0, m = 0, d = 0;
  if (std::sscanf(text, "%u-%u-%u", &y, &m, &d) != 3) return false;
  year = static_cast<velmar::u16>(y);
  month = static_cast<velmar::u16>(m);
  day = static_cast<velmar::u16>(d);
  return true;
}

std::atomic<bool> g_done{false};

// Velmar32.ini applies as at the program's start; the window's part of it
// goes nowhere.
class NoWindow : public velmar::SettingsWindow {
 public:
  int OuterWidth() const override { return 0; }
  int OuterHeight() const override { return 0; }
  int Left() const override { return 0; }
  int Top() const override { return 0; }
  void SetOuterWidth(int) override {}
  void SetOuterHeight(int) override {}
  void SetLeft(int) override {}
  void SetTop(int) override {}
  void SelectPage(velmar::Page) override {}
};

}  // namespace

int main(int argc, char** argv) {
  velmar::u16 d1 = 0, m1 = 0, y1 = 0, d2 = 0, m2 = 0, y2 = 0;
  if (argc != 5 || !ParseDate(argv[2], d1, m1, y1) || !ParseDate(argv[3], d2, m2, y2)) {
    std::fprintf(stderr, "usage: velmar_bench_viewer PROGRAM-DIRECTORY FROM TO SECONDS\n");
    return 2;
  }
  const int seconds = std::atoi(argv[4]);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  velmar::UseProgramDirectory(argv[1]);
  velmar::CountingMessageSink messages;
  NoWindow noWindow;
  velmar::LoadSettings(noWindow);
  velmar::TForm2 viewer;
  FirstPaint firstPaint;
  viewer.RichEdit1->viewport()->installEventFilter(&firstPaint);
  viewer.show();
  QCoreApplication::processEvents();

  const long startKib = velmar::PeakResidentKiB();
  const double begun = velmar::MonotonicSeconds();
  velmar::WritePeriodCalendar(d1, m1, y1, d2, m2, y2);
  const double closed = velmar::MonotonicSeconds();
  const auto bytes = velmar::FileSize(velmar::ReportFilePath());

  // A watchdog for a viewer that takes too long.
  std::thread([&, seconds, bytes, begun, closed, startKib] {
    for (int i = 0; i < seconds * 10 && !g_done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (g_done) return;
    std::printf("bytes=%ju written=%.6f painted=%.6f whole=-1 peak_kib=%ld start_kib=%ld messages=%ld\n",
                bytes, closed - begun, firstPaint.painted > 0 ? firstPaint.painted - closed : -1.0,
                velmar::PeakResidentKiB(), startKib, messages.count);
    std::fflush(stdout);
    _exit(0);
  }).detach();

  firstPaint.armed = true;
  viewer.ShowReport(true);
  QTimer::singleShot(std::max(seconds, 1) * 1000, [] { QCoreApplication::quit(); });
  QCoreApplication::exec();

  FinishLoad(*viewer.RichEdit1);
  (void)viewer.RichEdit1->document()->documentLayout()->documentSize();
  const double whole = velmar::MonotonicSeconds();
  g_done = true;
  std::printf("bytes=%ju written=%.6f painted=%.6f whole=%.6f peak_kib=%ld start_kib=%ld messages=%ld\n", bytes,
              closed - begun, firstPaint.seen ? firstPaint.painted - closed : -1.0, whole - closed,
              velmar::PeakResidentKiB(), startKib, messages.count);
  std::fflush(stdout);
  _exit(0);  // the forms as they are: their teardown is not measured
}
