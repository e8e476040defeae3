#include "bench/per_day_period_calendar.h"

#include "calendar/moveable_titles.h"
#include "calendar/paschalion.h"
#include "platform/messages.h"
#include "texts/cp1251.h"
#include "texts/day_entries.h"
#include "texts/day_views.h"
#include "texts/rtf_writer.h"

namespace velmar {
namespace {

// The day block of the period calendar; kept in step with the report's by
// the benchmarks' byte comparison.
void WriteDayBlock(const Date& d, char (&title)[kTitleBufferSize]) {
  const DayMonth old = NewToOldStyle(d.day, d.month, d.year);
  const int w = WeekdayNumber(d.day, d.month, d.year);
  DayColour = DayColourCode(d.day, d.month, d.year, w);
  ReportWrite("\n");
  ReportWrite(DayColour);
  ReportWrite("\n\\b   ");
  ReportWrite(WeekdayNames[static_cast<std::size_t>(w)]);
  ReportWrite(", ");
  ReportWriteNumber(d.day);
  ReportWrite(" ");
  ReportWrite(MonthNames[d.month]);
  ReportWrite(" ");
  ReportWriteNumber(d.year);
  ReportWrite(" г. ("_cp);
  ReportWriteNumber(old.day);
  ReportWrite(" ");
  ReportWrite(MonthNames[old.month]);
  ReportWrite(" ст.ст.)\\par"_cp);
  MoveableDayTitle(d.day, d.month, d.year, title);
  ReportWrite("\n  ");
  ReportWrite(title);
  const int tone = ToneOfDay(d.day, d.month, d.year);
  if (tone >= 1 && tone <= 8) {
    ReportWrite(", глас "_cp);
    ReportWrite(ToneNames[static_cast<std::size_t>(tone)]);
  }
  ReportWrite("\\b0\\par");
  ReportWrite("\n  ================================================\\par");
  WriteEasterEntries(d.day, d.month, d.year);
  WriteEpiphanyEntries(w, old.day, old.month);
  WriteMonthEntries(old.day, old.month);
  ReportWrite("\n\\par\\par");
}

}  // namespace

void WritePeriodCalendarDocumentPerDay(const Period& period) {
  if (!IsValidPeriodDate(period.start) || !IsValidPeriodDate(period.end) ||
      StartsAfterEnd(period)) {
    return;
  }
  DistinctMessagesScope onceEach;
  WriteReportHeader();
  ReportWrite("\n\\b1   Днесловник\\b0  с "_cp);
  ReportWriteNumber(period.start.day);
  ReportWrite(" ");
  ReportWrite(MonthNames[period.start.month]);
  ReportWrite(" ");
  ReportWriteNumber(period.start.year);
  ReportWrite(" г. по "_cp);
  ReportWriteNumber(period.end.day);
  ReportWrite(" ");
  ReportWrite(MonthNames[period.end.month]);
  ReportWrite(" ");
  ReportWriteNumber(period.end.year);
  ReportWrite(" г.\\par"_cp);
  WriteCredits();
  ReportWrite("\n\\par");
  char title[kTitleBufferSize] = {};
  for (Date d = period.start;; d = NextDay(d.day, d.month, d.year)) {
    WriteDayBlock(d, title);
    if (d == period.end) break;
  }
  WriteSignLegend();
  ReportWrite("\n}");
}

void WritePeriodCalendarPerDay(const Period& period) {
  if (!OpenReportFile()) return;
  WritePeriodCalendarDocumentPerDay(period);
  CloseReportFile();
}

}  // namespace velmar
