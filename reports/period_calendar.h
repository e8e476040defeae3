#pragma once
// The period calendar: one day block for every day of a stretch of new-style
// dates — weekday and both styles of the date, the moveable-day title and the
// tone, the day's commemorations and its fast note — as one RTF document.

#include "calendar/calendar_arithmetic.h"

namespace velmar {

// The five period kinds of the dialog, in list order.
enum class PeriodKind { CurrentWeek = 0, NextWeek = 1, Month = 2, Year = 3, Period = 4 };

struct Period {
  Date start;
  Date end;
};

// Sunday to Saturday of the week that holds today.
Period CurrentWeekPeriod(const Date& today);
// Sunday to Saturday of the week after today's (from a Sunday, seven days on).
Period NextWeekPeriod(const Date& today);
// The whole new-style month, or year.
Period MonthPeriod(u16 month, u16 year);
Period YearPeriod(u16 year);

// True when the start lies after the end (by year, then month, then day).
bool StartsAfterEnd(const Period& period);

// New-style month length (February 29 in new-style leap years).
int MonthLength(int month, int year);

// How a report reads the database: each file once for the whole report (what
// the program does), or afresh for every day (kept to measure the gain).
enum class DatabaseReading { OncePerReport, EveryDay };

// True for a valid new-style date of 1800..2100.
bool IsValidPeriodDate(const Date& d);

// Writes the calendar of start..end (inclusive, new style, start not after
// end) into the open report stream; nothing for an invalid range. Each distinct database message is shown
// once per document.
void WritePeriodCalendarDocument(const Period& period,
                                 DatabaseReading reading = DatabaseReading::OncePerReport);

// Writes the period calendar into the report file ("Cannot open temporary
// output file." when it can't be opened). Arguments: start day, month, year,
// end day, month, year.
void WritePeriodCalendar(u16 startDay, u16 startMonth, u16 startYear, u16 endDay, u16 endMonth,
                         u16 endYear);

}  // namespace velmar
