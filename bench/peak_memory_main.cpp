// velmar_bench_peak_memory FOLDER: writes the period calendar of 1800..2100
// with FOLDER as the program directory (its dbase/ already written) and
// prints its peak resident set before and after the report, in KiB:
// "peak_kib=N start_kib=N messages=N". A process of its own, so that the
// figure is the report's and nothing else's.
#include <cstdio>

#include "bench/bench_support.h"
#include "reports/period_calendar.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: velmar_bench_peak_memory PROGRAM-DIRECTORY\n");
    return 2;
  }
  velmar::UseProgramDirectory(argv[1]);
  velmar::CountingMessageSink sink;
  const long start = velmar::PeakResidentKiB();
  velmar::WritePeriodCalendar(1, 1, 1800, 31, 12, 2100);
  const long peak = velmar::PeakResidentKiB();
  std::printf("peak_kib=%ld start_kib=%ld messages=%ld\n", peak, start, sink.count);
  return peak > 0 ? 0 : 1;
}
