// Benchmarks of the documents and reports over the full-size synthetic
// database, each in a program directory of its own: the day documents, the
// period calendar of one year (also with the fast notes of the shipped rules
// file) and of 1800..2100 (with one sequential write of as many bytes beside
// it, and the per-day reading of before as a reference), the Paschalion of
// 326..2326, the two searches, and the peak memory of a process that writes
// the whole-span calendar; the one-year calendar as an iCalendar file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "bench/bench_support.h"
#include "bench/make_database.h"
#include "calendar/calendar_arithmetic.h"
#include "platform/program_directory.h"
#include "reports/menologion_search.h"
#include "reports/ical_export.h"
#include "reports/paschalion_table.h"
#include "reports/period_calendar.h"
#include "texts/database_cache.h"
#include "texts/day_readings.h"
#include "texts/day_views.h"
#include "texts/fasting_rules.h"
#include "texts/rtf_writer.h"

namespace velmar {
namespace {

constexpr u16 kYear = 2025;
constexpr Period kOneYear{{1, 1, kYear}, {31, 12, kYear}};
constexpr Period kWholeSpan{{1, 1, 1800}, {31, 12, 2100}};

// Enters the benchmark's own program directory; false (and the benchmark
// skipped) when it could not be prepared.
bool Enter(benchmark::State& state, std::string_view name) {
  const std::string folder = PrepareProgramDirectory(name);
  if (folder.empty()) {
    state.SkipWithError("cannot prepare the program directory");
    return false;
  }
  UseProgramDirectory(folder);
  return true;
}

// A benchmark whose core showed a message timed a document that lacks what
// the message is about: it is skipped with the message.
void RequireNoMessages(benchmark::State& state, const CountingMessageSink& sink) {
  if (sink.count > 0) state.SkipWithError(("the program showed: " + sink.first).c_str());
}

// The quick benchmarks: wall-clock time in milliseconds, five repetitions
// (the table takes their median), only the aggregates on the console.
void Repeated(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->DisplayAggregatesOnly(true);
}

void SetBytes(benchmark::State& state, std::uintmax_t bytes) {
  state.counters["bytes"] = static_cast<double>(bytes);
}

// Today page: 7 January 2025 (25 December old style), one document.
void BM_TodayDocument(benchmark::State& state) {
  if (!Enter(state, "today")) return;
  CountingMessageSink sink;
  const int weekday = WeekdayNumber(7, 1, kYear);
  for (auto _ : state) {
    OpenReportFile();
    WritePageDayDocument(7, 1, kYear, weekday);
    CloseReportFile();
  }
  SetBytes(state, FileSize(ReportFilePath()));
  RequireNoMessages(state, sink);
}
BENCHMARK(BM_TodayDocument)->Apply(Repeated);

// Calendar page: Pascha 2025 (20 April), where both [-0] and [+0] apply.
void BM_CalendarDayDocument(benchmark::State& state) {
  if (!Enter(state, "calendar-day")) return;
  CountingMessageSink sink;
  for (auto _ : state) {
    OpenReportFile();
    WriteCalendarDayDocument(kYear, 4, 20);
    CloseReportFile();
  }
  SetBytes(state, FileSize(ReportFilePath()));
  RequireNoMessages(state, sink);
}
BENCHMARK(BM_CalendarDayDocument)->Apply(Repeated);

void BM_PeriodCalendarYear(benchmark::State& state) {
  if (!Enter(state, "period-year")) return;
  CountingMessageSink sink;
  for (auto _ : state) {
    WritePeriodCalendar(1, 1, kYear, 31, 12, kYear);
  }
  SetBytes(state, FileSize(ReportFilePath()));
  RequireNoMessages(state, sink);
}
BENCHMARK(BM_PeriodCalendarYear)->Apply(Repeated);

// The same year with the fast note of every day from the shipped rules file
// (read once for the report; its rules of rank read the day's entry codes).
// notes: the days that got one.
void BM_PeriodCalendarYearWithFastNotes(benchmark::State& state) {
  if (!Enter(state, "period-year-fasting")) return;
  std::error_code error;
  std::filesystem::copy_file(VELMAR_SHIPPED_FASTING, ProgramDirectory() + "dbase/Fasting.db",
                             std::filesystem::copy_options::overwrite_existing, error);
  if (error) {
    state.SkipWithError("cannot copy the shipped Fasting.db");
    return;
  }
  CountingMessageSink sink;
  for (auto _ : state) {
    WritePeriodCalendar(1, 1, kYear, 31, 12, kYear);
  }
  SetBytes(state, FileSize(ReportFilePath()));
  int notes = 0;
  for (Date d = kOneYear.start;; d = NextDay(d.day, d.month, d.year)) {
    if (!FastNote(d.day, d.month, d.year).empty()) ++notes;
    if (d == kOneYear.end) break;
  }
  state.counters["notes"] = notes;
  RequireNoMessages(state, sink);
  if (notes == 0) state.SkipWithError("no day got a fast note");
}
BENCHMARK(BM_PeriodCalendarYearWithFastNotes)->Apply(Repeated);

// Copies the shipped readings tables into the synthetic database; false
// (and the benchmark skipped) when one is missing.
bool CopyShippedReadings(benchmark::State& state) {
  for (const char* name : {"Zachala.db", "Readings.db", "ReadingsSpecial.db", "ReadingsMenaion.db"}) {
    std::error_code error;
    std::filesystem::copy_file(std::string(VELMAR_SHIPPED_DBASE) + name, ProgramDirectory() + "dbase/" + name,
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
      state.SkipWithError(("cannot copy the shipped " + std::string(name)).c_str());
      return false;
    }
  }
  return true;
}

// The Calendar page's document of a day of Lent with the shipped readings
// tables (read afresh for the document): Wednesday of the fourth week, 26
// March 2025 (13 March old style).
void BM_CalendarDayDocumentWithReadings(benchmark::State& state) {
  if (!Enter(state, "calendar-day-readings") || !CopyShippedReadings(state)) return;
  CountingMessageSink sink;
  for (auto _ : state) {
    OpenReportFile();
    WriteCalendarDayDocument(kYear, 3, 26);
    CloseReportFile();
  }
  SetBytes(state, FileSize(ReportFilePath()));
  RequireNoMessages(state, sink);
}
BENCHMARK(BM_CalendarDayDocumentWithReadings)->Apply(Repeated);

// The one-year period calendar with the readings of every day. readings: the
// days that got one.
void BM_PeriodCalendarYearWithReadings(benchmark::State& state) {
  if (!Enter(state, "period-year-readings") || !CopyShippedReadings(state)) return;
  CountingMessageSink sink;
  for (auto _ : state) {
    WritePeriodCalendar(1, 1, kYear, 31, 12, kYear);
  }
  SetBytes(state, FileSize(ReportFilePath()));
  int days = 0;
  {
    DatabaseSnapshot once;
    for (Date d = kOneYear.start;; d = NextDay(d.day, d.month, d.year)) {
      if (!DayReadingTexts(d.day, d.month, d.year).empty()) ++days;
      if (d == kOneYear.end) break;
    }
  }
  state.counters["readings"] = days;
  RequireNoMessages(state, sink);
  if (days == 0) state.SkipWithError("no day got a reading");
}
BENCHMARK(BM_PeriodCalendarYearWithReadings)->Apply(Repeated);

// Writes the report once and keeps it as reference.rtf, for the comparison
// with the per-day reading; returns its path (empty on failure).
std::string KeepReportAsReference(const Period& period) {
  const Date& s = period.start;
  const Date& e = period.end;
  WritePeriodCalendar(s.day, s.month, s.year, e.day, e.month, e.year);
  const std::string reference = ProgramDirectory() + "reference.rtf";
  if (std::rename(ReportFilePath().c_str(), reference.c_str()) != 0) return {};
  return reference;
}

// Before: the same report with every day reading its three files afresh.
// "identical" is 1 when its bytes equal the report's.
void PerDayReading(benchmark::State& state, std::string_view folder, const Period& period) {
  if (!Enter(state, folder)) return;
  CountingMessageSink sink;
  const std::string reference = KeepReportAsReference(period);
  for (auto _ : state) {
    if (OpenReportFile()) {
      WritePeriodCalendarDocument(period, DatabaseReading::EveryDay);
      CloseReportFile();
    }
  }
  SetBytes(state, FileSize(ReportFilePath()));
  const bool identical = !reference.empty() && SameBytes(reference, ReportFilePath());
  state.counters["identical"] = identical ? 1 : 0;
  std::remove(reference.c_str());
  std::remove(ReportFilePath().c_str());
  RequireNoMessages(state, sink);
  if (!identical) state.SkipWithError("the per-day document differs from the report");
}

void BM_PeriodCalendarYearPerDayReading(benchmark::State& state) {
  PerDayReading(state, "period-year-per-day", kOneYear);
}
BENCHMARK(BM_PeriodCalendarYearPerDayReading)->Apply(Repeated);

// The whole span, and in every iteration one sequential write of as many
// bytes into the same folder. Time: the report (wall clock); report_s and
// seq_s: the means of both; ratio: report over write by wall clock;
// cpu_ratio: the same by the CPU time (user and system) of each, which a
// busy machine disturbs less.
void BM_PeriodCalendarWholeSpan(benchmark::State& state) {
  if (!Enter(state, "period-whole-span")) return;
  CountingMessageSink sink;
  const std::string sequential = ProgramDirectory() + "sequential.bin";
  double reportSeconds = 0, writeSeconds = 0, reportCpu = 0, writeCpu = 0;
  std::uintmax_t bytes = 0;
  for (auto _ : state) {
    // Both writes go into fresh files: removing 230 MB of the iteration
    // before would otherwise be timed as well.
    std::remove(ReportFilePath().c_str());
    std::remove(sequential.c_str());
    const double cpu0 = ProcessCpuSeconds();
    const double start = MonotonicSeconds();
    WritePeriodCalendar(1, 1, 1800, 31, 12, 2100);
    const double report = MonotonicSeconds() - start;
    const double cpu1 = ProcessCpuSeconds();
    state.SetIterationTime(report);
    bytes = FileSize(ReportFilePath());
    const double write = TimeSequentialWrite(sequential, bytes);
    const double cpu2 = ProcessCpuSeconds();
    if (write < 0) {
      state.SkipWithError("the sequential write failed");
      break;
    }
    reportSeconds += report;
    writeSeconds += write;
    reportCpu += cpu1 - cpu0;
    writeCpu += cpu2 - cpu1;
  }
  const double n = static_cast<double>(state.iterations());
  SetBytes(state, bytes);
  if (writeSeconds > 0 && writeCpu > 0) {
    state.counters["report_s"] = reportSeconds / n;
    state.counters["seq_s"] = writeSeconds / n;
    state.counters["ratio"] = reportSeconds / writeSeconds;
    state.counters["report_cpu_s"] = reportCpu / n;
    state.counters["seq_cpu_s"] = writeCpu / n;
    state.counters["cpu_ratio"] = reportCpu / writeCpu;
    std::printf(
        "whole span: report %.3f s (CPU %.3f s), sequential write of %.1f MB %.3f s (CPU %.3f s), "
        "ratio %.2f (CPU %.2f)\n",
        reportSeconds / n, reportCpu / n, static_cast<double>(bytes) / 1e6, writeSeconds / n,
        writeCpu / n, reportSeconds / writeSeconds, reportCpu / writeCpu);
  }
  std::remove(sequential.c_str());
  std::remove(ReportFilePath().c_str());
  RequireNoMessages(state, sink);
}
BENCHMARK(BM_PeriodCalendarWholeSpan)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

// Before, for the whole span: one run (it reads the files 110,000 times).
void BM_PeriodCalendarWholeSpanPerDayReading(benchmark::State& state) {
  PerDayReading(state, "period-whole-span-per-day", kWholeSpan);
}
BENCHMARK(BM_PeriodCalendarWholeSpanPerDayReading)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

void BM_PaschalionReport(benchmark::State& state) {
  if (!Enter(state, "paschalion")) return;
  CountingMessageSink sink;
  for (auto _ : state) {
    WritePaschalionReport(326, 2326, true);
  }
  SetBytes(state, FileSize(ReportFilePath()));
  RequireNoMessages(state, sink);
}
BENCHMARK(BM_PaschalionReport)->Apply(Repeated);

void BM_SearchReport(benchmark::State& state) {
  if (!Enter(state, "search-report")) return;
  CountingMessageSink sink;
  const std::string text = SyntheticSearchText();
  for (auto _ : state) {
    WriteSearchReport(text, kYear);
  }
  SetBytes(state, FileSize(ReportFilePath()));
  RequireNoMessages(state, sink);
}
BENCHMARK(BM_SearchReport)->Apply(Repeated);

void BM_SearchSaints(benchmark::State& state) {
  if (!Enter(state, "search-saints")) return;
  CountingMessageSink sink;
  const std::string text = SyntheticSearchText();
  SaintsSearchResult result;
  for (auto _ : state) {
    result = SearchSaints(text, kYear);
    benchmark::DoNotOptimize(result);
  }
  state.counters["days"] = static_cast<double>(result.items.size());
  state.counters["matches"] = static_cast<double>(result.count);
  RequireNoMessages(state, sink);
  if (result.count == 0) state.SkipWithError("the search text matched nothing");
}
BENCHMARK(BM_SearchSaints)->Apply(Repeated);

// The one-year calendar of 2025 as an iCalendar file, as the report viewer
// saves it: WriteICalendar into a file beside year.ics, renamed over it when
// whole. bytes: the file's size; events: its VEVENTs (365 for the year).
void BM_ICalendarYear(benchmark::State& state) {
  if (!Enter(state, "ical-year")) return;
  CountingMessageSink sink;
  const std::string path = ProgramDirectory() + "year.ics";
  const std::string partial = path + ".part";
  bool written = true;
  for (auto _ : state) {
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (file == nullptr) {
      written = false;
      break;
    }
    bool ok = WriteICalendar(kOneYear, static_cast<long long>(std::time(nullptr)), [&](std::string_view piece) {
      return std::fwrite(piece.data(), 1, piece.size(), file) == piece.size();
    });
    ok = std::fclose(file) == 0 && ok;
    written = ok && std::rename(partial.c_str(), path.c_str()) == 0 && written;
  }
  if (!written) {
    state.SkipWithError("the iCalendar file could not be written");
    return;
  }
  std::ifstream in(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  long events = 0;
  for (std::size_t at = text.find("BEGIN:VEVENT"); at != std::string::npos; at = text.find("BEGIN:VEVENT", at + 1))
    ++events;
  SetBytes(state, text.size());
  state.counters["events"] = static_cast<double>(events);
  std::remove(path.c_str());
  RequireNoMessages(state, sink);
  if (events != 365 || text.rfind("END:VCALENDAR") == std::string::npos)
    state.SkipWithError("the iCalendar file does not hold the 365 days of the year");
}
BENCHMARK(BM_ICalendarYear)->Apply(Repeated);

// Peak memory of a process of its own that writes the whole-span calendar:
// peak_MB is its VmHWM; start_MB its VmHWM before the report.
void BM_PeakMemoryWholeSpan(benchmark::State& state) {
  const std::string folder = PrepareProgramDirectory("peak-memory");
  if (folder.empty()) {
    state.SkipWithError("cannot prepare the program directory");
    return;
  }
  long peak = -1, start = -1, messages = -1;
  for (auto _ : state) {
    int exitCode = -1;
    const std::string out =
        RunAndCapture(BenchProgramFolder() + "velmar_bench_peak_memory", {folder}, exitCode);
    if (exitCode != 0 ||
        std::sscanf(out.c_str(), "peak_kib=%ld start_kib=%ld messages=%ld", &peak, &start,
                    &messages) != 3) {
      state.SkipWithError(("velmar_bench_peak_memory failed: " + out).c_str());
      return;
    }
  }
  state.counters["peak_MB"] = static_cast<double>(peak) / 1024.0;
  state.counters["start_MB"] = static_cast<double>(start) / 1024.0;
  std::remove((folder + "velmar32.tmp").c_str());
  if (messages > 0) state.SkipWithError("the program showed messages while writing the report");
}
BENCHMARK(BM_PeakMemoryWholeSpan)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace velmar

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const velmar::SyntheticDatabase database =
      velmar::MakeSyntheticDatabase(velmar::BenchWorkDirectory() + "/database-size/dbase");
  if (!database.ok) {
    std::fprintf(stderr, "cannot write the synthetic database under %s\n",
                 velmar::BenchWorkDirectory().c_str());
    return 1;
  }
  benchmark::AddCustomContext("database_bytes", std::to_string(database.bytes));
  benchmark::AddCustomContext("month_file_bytes_mean", std::to_string(database.monthBytes / 12));
  benchmark::AddCustomContext("month_entries", std::to_string(database.entries));
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
