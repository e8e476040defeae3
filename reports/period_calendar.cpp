#include "reports/period_calendar.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "calendar/cp1251.h"
#include "calendar/moveable_titles.h"
#include "calendar/paschalion.h"
#include "platform/messages.h"
#include "texts/database_cache.h"
#include "texts/day_entries.h"
#include "texts/day_views.h"
#include "texts/rtf_writer.h"

namespace velmar {

int MonthLength(int month, int year) {
  if (month == 2 && IsNewStyleLeap(year) == 1) return 29;
  return MonthLengths[static_cast<std::size_t>(month)];
}

namespace {

// Within one report (its database read once, its settings fixed) a day's
// entries depend only on their section keys and the day colour: each piece
// is rendered once, and written again as it came out. A piece whose
// rendering met a problem is rendered every time, so that its messages are
// asked for as without the pieces.
class EntryPieces {
 public:
  // Keys run from 0 to keys - 1.
  explicit EntryPieces(std::size_t keys) : slots_(keys * 4, -1) {}

  template <typename Render>
  void Write(std::size_t key, Render render) {
    const int colour = DayColour == "\\cf0" ? 0 : DayColour == "\\cf2" ? 2 : DayColour == "\\cf3" ? 3 : -1;
    if (colour < 0 || key >= slots_.size() / 4) {
      render();
      return;
    }
    const std::size_t slot = key * 4 + static_cast<std::size_t>(colour);
    if (slots_[slot] >= 0) {
      ReportWriteKept(pieces_[static_cast<std::size_t>(slots_[slot])]);
      return;
    }
    std::string bytes;
    const std::size_t asked = MessagesAsked();
    {
      ReportCapture capture(bytes);
      render();
    }
    ReportWrite(bytes);
    if (MessagesAsked() != asked) return;
    slots_[slot] = static_cast<std::int32_t>(pieces_.size());
    pieces_.push_back(std::move(bytes));
  }

 private:
  std::vector<std::int32_t> slots_;  // index into pieces_, or -1
  std::deque<std::string> pieces_;   // never moved: the writer may still read them
};

// The pieces of one report: keyed by the two Pascha counts of a day
// (days before: -1..199; days since: 0..400), by weekday and old-style date,
// and by old-style date.
struct ReportPieces {
  static std::size_t EasterKey(int before, int since) {
    if (before < -1 || before > 199 || since < 0 || since > 400) return SIZE_MAX;
    return static_cast<std::size_t>((before + 1) * 401 + since);
  }
  static std::size_t DateKey(int day, int month) { return static_cast<std::size_t>(month * 32 + day); }

  ReportPieces() = default;
  ReportPieces(const ReportPieces&) = delete;
  ReportPieces& operator=(const ReportPieces&) = delete;
  ~ReportPieces() { ReportSettleKept(); }  // the writer may still read them

  EntryPieces easter{201 * 401};
  EntryPieces epiphany{8 * 13 * 32};
  EntryPieces month{13 * 32};
};

Date MoveDays(Date d, int days) {
  for (; days > 0; --days) d = NextDay(d.day, d.month, d.year);
  for (; days < 0; ++days) d = PreviousDay(d.day, d.month, d.year);
  return d;
}

// "7 Января 2001": day, month name in the genitive, year.
void WriteDayMonthYear(const Date& d) {
  ReportWriteNumber(d.day);
  ReportWrite(" ");
  ReportWrite(MonthNames[d.month]);
  ReportWrite(" ");
  ReportWriteNumber(d.year);
}

void WriteDayBlock(const Date& d, char (&title)[kTitleBufferSize], ReportPieces* pieces) {
  const DayMonth old = NewToOldStyle(d.day, d.month, d.year);
  const int w = WeekdayNumber(d.day, d.month, d.year);
  DayColour = DayColourCode(d.day, d.month, d.year, w);
  ReportWrite("\n");
  ReportWrite(DayColour);
  ReportWrite("\n\\b   ");
  ReportWrite(WeekdayNames[static_cast<std::size_t>(w)]);
  ReportWrite(", ");
  WriteDayMonthYear(d);
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
  if (pieces == nullptr) {
    WriteEasterEntries(d.day, d.month, d.year);
    WriteEpiphanyEntries(w, old.day, old.month);
    WriteMonthEntries(old.day, old.month);
  } else {
    pieces->easter.Write(ReportPieces::EasterKey(DaysBeforePascha(d.day, d.month, d.year),
                                                 DaysSincePascha(d.day, d.month, d.year)),
                         [&] { WriteEasterEntries(d.day, d.month, d.year); });
    const std::size_t date = ReportPieces::DateKey(old.day, old.month);
    pieces->epiphany.Write(static_cast<std::size_t>(w) * 13 * 32 + date,
                           [&] { WriteEpiphanyEntries(w, old.day, old.month); });
    pieces->month.Write(date, [&] { WriteMonthEntries(old.day, old.month); });
  }
  WriteReadingsEntries(d.day, d.month, d.year);
  WriteFastNoteEntry(d.day, d.month, d.year);
  ReportWrite("\n\\par\\par");
}

}  // namespace

Period CurrentWeekPeriod(const Date& today) {
  Date start = today;
  while (WeekdayNumber(start.day, start.month, start.year) != 1)
    start = PreviousDay(start.day, start.month, start.year);
  return {start, MoveDays(start, 6)};
}

Period NextWeekPeriod(const Date& today) {
  const int w = WeekdayNumber(today.day, today.month, today.year);
  const Date start = MoveDays(today, 8 - w);
  return {start, MoveDays(start, 6)};
}

Period MonthPeriod(u16 month, u16 year) {
  return {{1, month, year}, {static_cast<u16>(MonthLength(month, year)), month, year}};
}

Period YearPeriod(u16 year) { return {{1, 1, year}, {31, 12, year}}; }

bool StartsAfterEnd(const Period& p) {
  if (p.start.year != p.end.year) return p.start.year > p.end.year;
  if (p.start.month != p.end.month) return p.start.month > p.end.month;
  return p.start.day > p.end.day;
}

bool IsValidPeriodDate(const Date& d) {
  return d.year >= 1800 && d.year <= 2100 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
         d.day <= MonthLength(d.month, d.year);
}

void WritePeriodCalendarDocument(const Period& period, DatabaseReading reading) {
  // A range the dialog could never give would never reach its end.
  if (!IsValidPeriodDate(period.start) || !IsValidPeriodDate(period.end) ||
      StartsAfterEnd(period)) {
    return;
  }
  DistinctMessagesScope onceEach;
  std::optional<DatabaseSnapshot> readOnce;
  std::optional<ReportPieces> pieces;
  if (reading == DatabaseReading::OncePerReport) {
    readOnce.emplace();
    pieces.emplace();
  }
  WriteReportHeader();
  ReportWrite("\n\\b1   Днесловник\\b0  с "_cp);
  WriteDayMonthYear(period.start);
  ReportWrite(" г. по "_cp);
  WriteDayMonthYear(period.end);
  ReportWrite(" г.\\par"_cp);
  WriteCredits();
  ReportWrite("\n\\par");
  char title[kTitleBufferSize] = {};
  for (Date d = period.start;; d = NextDay(d.day, d.month, d.year)) {
    WriteDayBlock(d, title, pieces ? &*pieces : nullptr);
    if (d == period.end) break;
  }
  WriteSignLegend();
  ReportWrite("\n}");
}

void WritePeriodCalendar(u16 startDay, u16 startMonth, u16 startYear, u16 endDay, u16 endMonth,
                         u16 endYear) {
  if (!OpenReportFile()) return;
  WritePeriodCalendarDocument({{startDay, startMonth, startYear}, {endDay, endMonth, endYear}});
  CloseReportFile();
}

}  // namespace velmar
