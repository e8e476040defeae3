// Benchmarks of the Qt side, on the offscreen platform: a one-year period
// calendar loaded into a RichEdit, the same report saved from it as PDF,
// HTML and text (as the report viewer saves it), and (when the program's
// main window is built) the start of a process to the first painted main
// window, measured by velmar_bench_first_paint.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextDocument>
#include <benchmark/benchmark.h>

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <optional>
#include <string>

#include "bench/bench_support.h"
#include "platform/program_directory.h"
#include "reports/forms/report_export.h"
#include "reports/period_calendar.h"
#include "texts/rtf_writer.h"
#include "widgets/rich_edit.h"

namespace velmar {
namespace {

// The one-year calendar of 2025 as year.rtf in the benchmark's own program
// directory; empty when it could not be written.
QString WriteYearReport(benchmark::State& state, std::string_view folderName) {
  const std::string folder = PrepareProgramDirectory(folderName);
  if (folder.empty()) {
    state.SkipWithError("cannot prepare the program directory");
    return {};
  }
  UseProgramDirectory(folder);
  CountingMessageSink sink;
  WritePeriodCalendar(1, 1, 2025, 31, 12, 2025);
  const std::string path = folder + "year.rtf";
  if (sink.count > 0 || std::rename(ReportFilePath().c_str(), path.c_str()) != 0) {
    state.SkipWithError("cannot write the one-year report");
    return {};
  }
  state.counters["bytes"] = static_cast<double>(FileSize(path));
  return QString::fromStdString(path);
}

// Loads the report into a shown RichEdit of 900 x 700 pixels and paints what
// is visible: what the user waits for before the report is on screen.
void BM_RichEditLoadYear(benchmark::State& state) {
  const QString path = WriteYearReport(state, "rich-edit-year");
  if (path.isEmpty()) return;
  RichEdit edit;
  edit.resize(900, 700);
  edit.show();
  QApplication::processEvents();
  bool loaded = true;
  for (auto _ : state) {
    edit.Clear();  // a load anew each time: a file loaded again unchanged is kept as shown
    loaded = edit.LoadFromFile(path) && loaded;
    edit.viewport()->repaint();
  }
  state.counters["characters"] = edit.document()->characterCount();
  if (!loaded) state.SkipWithError("RichEdit could not load the report");
}
BENCHMARK(BM_RichEditLoadYear)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

// The same, and then the layout of the whole document (as the scroll bar's
// range needs it).
void BM_RichEditLoadYearFullLayout(benchmark::State& state) {
  const QString path = WriteYearReport(state, "rich-edit-year-layout");
  if (path.isEmpty()) return;
  RichEdit edit;
  edit.resize(900, 700);
  edit.show();
  QApplication::processEvents();
  bool loaded = true;
  double height = 0;
  for (auto _ : state) {
    edit.Clear();
    loaded = edit.LoadFromFile(path) && loaded;
    height = edit.document()->documentLayout()->documentSize().height();
    edit.viewport()->repaint();
  }
  state.counters["pages_of_700px"] = height / 700.0;
  if (!loaded) state.SkipWithError("RichEdit could not load the report");
}
BENCHMARK(BM_RichEditLoadYearFullLayout)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

// The one-year report loaded whole into a shown RichEdit (the load is not
// timed), then saved as type into year.<suffix> of the benchmark's folder
// through SaveReport, as «Сохранить как...» saves it once the load is in.
// bytes: the size of the file written. The file must begin with head and
// end with tail (blanks at its end aside), so that a save that wrote only
// a part of the report is not timed as a fast one.
void SaveYear(benchmark::State& state, std::string_view folderName, ReportFileType type,
              const QByteArray& head, const QByteArray& tail) {
  const QString report = WriteYearReport(state, folderName);
  if (report.isEmpty()) return;
  RichEdit edit;
  edit.resize(900, 700);
  edit.show();
  QApplication::processEvents();
  if (!edit.LoadFromFile(report) || !edit.FinishLoading()) {
    state.SkipWithError("RichEdit could not load the report");
    return;
  }
  const QString target = QFileInfo(report).absolutePath() + QStringLiteral("/year.") + FileTypeSuffix(type);
  const std::optional<Period> period = YearPeriod(2025);
  QString error;
  bool saved = true;
  for (auto _ : state) {
    saved = SaveReport(edit, type, target, QStringLiteral("Днесловник"), period, &error) && saved;
  }
  if (!saved) {
    state.SkipWithError(("SaveReport failed: " + error.toStdString()).c_str());
    return;
  }
  QFile written(target);
  if (!written.open(QIODevice::ReadOnly)) {
    state.SkipWithError("the saved file cannot be read");
    return;
  }
  const QByteArray bytes = written.readAll();
  state.counters["bytes"] = static_cast<double>(bytes.size());
  if (bytes.isEmpty() || !bytes.startsWith(head) || !bytes.trimmed().endsWith(tail))
    state.SkipWithError("the saved file is not whole");
  written.close();
  QFile::remove(target);
}

void BM_SaveYearPdf(benchmark::State& state) {
  SaveYear(state, "save-year-pdf", ReportFileType::Pdf, "%PDF", "%%EOF");
}
BENCHMARK(BM_SaveYearPdf)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

void BM_SaveYearHtml(benchmark::State& state) {
  SaveYear(state, "save-year-html", ReportFileType::Html, "<!DOCTYPE html>", "</html>");
}
BENCHMARK(BM_SaveYearHtml)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

// The text ends with the report's last line, which varies; any end will do.
void BM_SaveYearText(benchmark::State& state) {
  SaveYear(state, "save-year-text", ReportFileType::Text, "", "");
}
BENCHMARK(BM_SaveYearText)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

#ifdef VELMAR_BENCH_FIRST_PAINT
// From just before the process is spawned to the end of the first paint of
// its main window, by the clock both processes share. The harness prints
// its own milestones; main_ms, app_ms and form_ms are their means, measured
// from the spawn as well.
void BM_StartToFirstPaint(benchmark::State& state) {
  const std::string folder = PrepareProgramDirectory("first-paint");
  if (folder.empty()) {
    state.SkipWithError("cannot prepare the program directory");
    return;
  }
  const std::string harness = BenchProgramFolder() + "velmar_bench_first_paint";
  double mainSum = 0, appSum = 0, formSum = 0;
  for (auto _ : state) {
    int exitCode = -1;
    const double spawned = MonotonicSeconds();
    const std::string out = RunAndCapture(harness, {folder}, exitCode);
    double atMain = 0, atApp = 0, atForm = 0, painted = 0;
    long messages = -1;
    if (exitCode != 0 || std::sscanf(out.c_str(), "main=%lf app=%lf form=%lf painted=%lf messages=%ld",
                                     &atMain, &atApp, &atForm, &painted, &messages) != 5) {
      state.SkipWithError(("velmar_bench_first_paint failed: " + out).c_str());
      return;
    }
    if (messages > 0) {
      state.SkipWithError("the program showed messages at start");
      return;
    }
    state.SetIterationTime(painted - spawned);
    mainSum += atMain - spawned;
    appSum += atApp - spawned;
    formSum += atForm - spawned;
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["main_ms"] = mainSum / n * 1e3;
  state.counters["app_ms"] = appSum / n * 1e3;
  state.counters["form_ms"] = formSum / n * 1e3;
}
BENCHMARK(BM_StartToFirstPaint)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
#endif

}  // namespace
}  // namespace velmar

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
