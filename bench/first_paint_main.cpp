// velmar_bench_first_paint FOLDER: starts as the program starts (the
// application object, Qt's Russian texts, the tray package, the forms in
// their order, the main window shown) on the offscreen platform, with FOLDER
// as the program directory, and ends as soon as the main window has been
// painted for the first time. It prints the CLOCK_MONOTONIC readings of its
// milestones in seconds: "main=T app=T form=T painted=T messages=N".
// Messages the program would have shown are counted instead of shown.
// (Velmar32 itself has no hook to end after its first paint.)
#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <memory>

#include "app/about_box.h"
#include "app/main_window.h"
#include "bench/bench_support.h"
#include "platform/program_directory.h"
#include "trayicon/package.h"
#include "widgets/application.h"

#if __has_include("reports/forms/report_viewer.h")
#include "reports/forms/easter_dlg.h"
#include "reports/forms/report_viewer.h"
#include "reports/forms/search_dlg.h"
#include "reports/forms/velmar_dlg.h"
#define VELMAR_BENCH_REPORT_FORMS 1
#endif

namespace {

// Notes the end of the window's first paint: the paint event is delivered
// while the backing store is painted, and the queued call runs once that
// pass, flush included, has returned to the event loop.
class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      QTimer::singleShot(0, [this] {
        painted = velmar::MonotonicSeconds();
        QCoreApplication::quit();
      });
    }
    return QObject::eventFilter(watched, event);
  }
  double painted = 0;

 private:
  bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  const double atMain = velmar::MonotonicSeconds();
  if (argc != 2) {
    std::fprintf(stderr, "usage: velmar_bench_first_paint PROGRAM-DIRECTORY\n");
    return 2;
  }
  velmar::SetProgramDirectory(argv[1]);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QCoreApplication::setApplicationName(QStringLiteral("Velmar32"));
  int qtArgc = 1;
  velmar::Application app(qtArgc, argv);
  QTranslator qtTexts;
  velmar::SetUpDesktop(qtTexts);
  lumora::InitializePackage();
  velmar::CountingMessageSink messages;
  const double atApp = velmar::MonotonicSeconds();

  FirstPaint firstPaint;
  int result = 1;
  double atForm = 0;
  {
    auto form1 = std::make_unique<velmar::TForm1>();
#ifdef VELMAR_BENCH_REPORT_FORMS
    auto form2 = std::make_unique<velmar::TForm2>();
#endif
    auto aboutBox = std::make_unique<velmar::TAboutBox>();
#ifdef VELMAR_BENCH_REPORT_FORMS
    auto velmarDlg = std::make_unique<velmar::TVelmarDlg>();
    auto easterDlg = std::make_unique<velmar::TEasterDlg>();
    auto searchDlg = std::make_unique<velmar::TSearchDlg>();
#endif
    form1->AboutBox = aboutBox.get();
    form1->installEventFilter(&firstPaint);
    form1->show();
    atForm = velmar::MonotonicSeconds();
    QTimer::singleShot(10000, [] { QCoreApplication::exit(1); });  // never painted
    result = QCoreApplication::exec();
  }
  std::printf("main=%.6f app=%.6f form=%.6f painted=%.6f messages=%ld\n", atMain, atApp, atForm,
              firstPaint.painted, messages.count);
  std::fflush(stdout);
  lumora::FinalizePackage();
  return result;
}
