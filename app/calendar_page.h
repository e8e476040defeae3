#pragma once
// The Calendar page's month list and year field move the month grid one part
// of its date at a time, and the grid refuses a date that does not exist; so
// before the month or the year changes, the day is moved to one that exists in
// the target month. The rules are those of the page and deliberately simple:
// picking February always leaves at most the 28th, even in a leap year.

namespace velmar {

// The day (1..31) the grid must take before its month becomes monthIndex + 1
// (monthIndex 0 = January .. 11 = December): 28 for February when the day is
// above 28, 30 for April, June, September and November when the day is 31,
// otherwise the day itself.
int DayBeforeMonthChange(int day, int monthIndex);

struct YearChange {
  int year = 0;  // the year field's value clamped to 1800..2100
  int day = 0;   // the day the grid must take first
};

// What applying the year field does to a grid showing gridDay.gridMonth: the
// year is clamped to 1800..2100; a grid on 29 February moves to the 28th when
// that year is not a new-style leap year.
YearChange YearChangeFor(int fieldYear, int gridDay, int gridMonth);

}  // namespace velmar
