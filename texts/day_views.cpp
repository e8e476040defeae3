#include "texts/day_views.h"

#include "calendar/cp1251.h"
#include "calendar/moveable_titles.h"
#include "calendar/paschalion.h"
#include "platform/messages.h"
#include "texts/day_entries.h"
#include "texts/rtf_writer.h"

namespace velmar {

std::uint16_t shownDay = 0;
std::uint16_t shownMonth = 0;

namespace {

constexpr Rgb kBlue{0, 0, 255}, kNavy{0, 0, 128};
constexpr Rgb kPurple{160, 0, 160}, kDarkPurple{112, 0, 112};
constexpr Rgb kRed{255, 0, 0}, kMaroon{128, 0, 0};

bool InGreatLent(int daysBefore) { return daysBefore >= 1 && daysBefore <= 48; }

void WriteEntries(std::uint16_t day, std::uint16_t month, std::uint16_t year, int weekday,
                  const DayMonth& old) {
  WriteEasterEntries(day, month, year);
  WriteEpiphanyEntries(weekday, old.day, old.month);
  WriteMonthEntries(old.day, old.month);
  WriteReadingsEntries(day, month, year);
  WriteFastNoteEntry(day, month, year);
}

// Writes one page's document into the report file and has the host load it;
// false when the report file can't be opened.
bool ShowPageDocument(DayViewHost& host, ViewKind page, const Date& d, int weekday) {
  if (!OpenReportFile()) return false;
  WritePageDayDocument(d.day, d.month, d.year, weekday);
  CloseReportFile();
  host.LoadDayText(page, ReportFilePath());
  const DayMonth old = NewToOldStyle(d.day, d.month, d.year);
  LoadAdditionalInfo(page, old.day, old.month);
  host.SetAdditionalInfo(page, AdditionalInfo[static_cast<std::size_t>(page)]);
  return true;
}

}  // namespace

std::string_view DayColourCode(std::uint16_t day, std::uint16_t month, std::uint16_t year,
                               int weekday) {
  const bool redDay = weekday == 1 || IsGreatFeast(day, month, year) == 1;
  if (InGreatLent(DaysBeforePascha(day, month, year))) return redDay ? "\\cf3" : "\\cf2";
  if (DaysSincePascha(day, month, year) < 7 || redDay) return "\\cf3";
  return "\\cf0";
}

void WriteCalendarDayDocument(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
  const DayMonth old = NewToOldStyle(day, month, year);
  const int w = WeekdayNumber(day, month, year);
  WriteReportHeader();
  DayColour = DayColourCode(day, month, year, w);
  ReportWrite("\n");
  ReportWrite(DayColour);
  ReportWrite("\\b1   ");
  ReportWrite(WeekdayNames[static_cast<std::size_t>(w)]);
  ReportWrite(", ");
  ReportWriteNumber(day);
  ReportWrite(" ");
  ReportWrite(MonthNames[month]);
  ReportWrite(" ");
  ReportWriteNumber(year);
  ReportWrite(" г. ("_cp);
  ReportWriteNumber(old.day);
  ReportWrite(" ");
  ReportWrite(MonthShortNames[old.month]);
  ReportWrite(" ст.ст.)\\par"_cp);
  char title[kTitleBufferSize] = {};
  MoveableDayTitle(day, month, year, title);
  ReportWrite("\n  ");
  ReportWrite(title);
  const int tone = ToneOfDay(day, month, year);
  if (tone != 0) {
    ReportWrite(", глас "_cp);
    ReportWriteNumber(tone);
  }
  ReportWrite("\\b0\\par");
  ReportWrite("\n\\par");
  WriteEntries(day, month, year, w, old);
  ReportWrite("\n}");
}

void WritePageDayDocument(std::uint16_t day, std::uint16_t month, std::uint16_t year,
                          int weekday) {
  const DayMonth old = NewToOldStyle(day, month, year);
  WriteReportHeader();
  DayColour = DayColourCode(day, month, year, weekday);
  ReportWrite("\n");
  ReportWrite(DayColour);
  WriteEntries(day, month, year, weekday, old);
  ReportWrite("\n}");
}

DayCaptions MakeDayCaptions(std::uint16_t day, std::uint16_t month, std::uint16_t year,
                            int weekday) {
  DayCaptions c;
  c.groupColour = kBlue;
  c.labelColour = kNavy;
  if (InGreatLent(DaysBeforePascha(day, month, year))) {
    c.groupColour = kPurple;
    c.labelColour = kDarkPurple;
  }
  if (weekday == 1 || IsGreatFeast(day, month, year) == 1) {
    c.groupColour = kRed;
    c.labelColour = kMaroon;
  }
  c.groupCaption = std::string(WeekdayNames[static_cast<std::size_t>(weekday)]) + ", " +
                   std::to_string(day) + " " + std::string(MonthNames[month]) + " " +
                   std::to_string(year) + std::string(" года"_cp);
  const DayMonth old = NewToOldStyle(day, month, year);
  c.oldStyle = "(" + std::to_string(old.day) + " " + std::string(MonthNames[old.month]) +
               std::string(" ст.ст.)"_cp);
  c.title = MoveableDayTitle(day, month, year) + ",";
  c.tone = std::string("Глас "_cp) +
           std::string(ToneNames[static_cast<std::size_t>(ToneOfDay(day, month, year))]);
  return c;
}

void ShowCalendarDay(DayViewHost& host, std::uint16_t year, std::uint16_t month,
                     std::uint16_t day) {
  if (!OpenReportFile()) return;
  WriteCalendarDayDocument(year, month, day);
  CloseReportFile();
  host.LoadDayText(ViewKind::Calendar, ReportFilePath());
  const DayMonth old = NewToOldStyle(day, month, year);
  LoadAdditionalInfo(ViewKind::Calendar, old.day, old.month);
  host.SetAdditionalInfo(ViewKind::Calendar, AdditionalInfo[3]);
}

void ShowTodayAndTomorrow(DayViewHost& host) {
  host.ClearTodayAndTomorrowTexts();
  const CivilDate now = Today();
  if (now.year < 1800 || now.year > 2100) {
    ShowMessage("Неверно выставлена системная дата!!!"_cp);
    host.Terminate();
  }
  const Date today{now.day, now.month, now.year};
  const Date tomorrow = NextDay(today.day, today.month, today.year);
  const int w = WeekdayNumber(today.day, today.month, today.year);
  const int wTomorrow = w == 7 ? 1 : w + 1;

  host.SetCaptions(ViewKind::Today, MakeDayCaptions(today.day, today.month, today.year, w));
  host.SetCaptions(ViewKind::Tomorrow,
                   MakeDayCaptions(tomorrow.day, tomorrow.month, tomorrow.year, wTomorrow));

  if (!ShowPageDocument(host, ViewKind::Today, today, w)) return;
  if (!ShowPageDocument(host, ViewKind::Tomorrow, tomorrow, wTomorrow)) return;

  host.ResetCalendarControls(now);
  shownDay = now.day;
  shownMonth = now.month;
  host.SetApplicationTitle(std::string("Днесловник - "_cp) +
                           std::string(WeekdayNames[static_cast<std::size_t>(w)]) + ", " +
                           std::to_string(now.day) + " " + std::string(MonthNames[now.month]));
}

}  // namespace velmar
