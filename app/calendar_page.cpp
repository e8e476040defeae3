#include "app/calendar_page.h"

#include <algorithm>

#include "calendar/calendar_arithmetic.h"

namespace velmar {

int DayBeforeMonthChange(int day, int monthIndex) {
  switch (monthIndex) {
    case 1:  // February
      return std::min(day, 28);
    case 3:  // April
    case 5:  // June
    case 8:  // September
    case 10:  // November
      return day == 31 ? 30 : day;
    default:
      return day;
  }
}

YearChange YearChangeFor(int fieldYear, int gridDay, int gridMonth) {
  YearChange change;
  change.year = std::clamp(fieldYear, 1800, 2100);
  change.day = gridDay;
  if (gridDay == 29 && gridMonth == 2 && IsNewStyleLeap(change.year) != 1) change.day = 28;
  return change;
}

}  // namespace velmar
