#include "calendar/calendar_arithmetic.h"

#include <gtest/gtest.h>

#include <string>

#include "calendar/cp1251.h"

namespace velmar {
namespace {

// Independent reference: a civil date from a Julian Day Number by the
// published inverse algorithms (Richards, "Mapping Time", 1998), one for each
// calendar. The code under test converts by style offsets instead.
Date FromSerial(long jdn, bool gregorian) {
  long f = jdn + 1401;
  if (gregorian) f += (((4 * jdn + 274277) / 146097) * 3) / 4 - 38;
  const long e = 4 * f + 3;
  const long g = (e % 1461) / 4;
  const long h = 5 * g + 2;
  const long day = (h % 153) / 5 + 1;
  const long month = ((h / 153 + 2) % 12) + 1;
  const long year = e / 1461 - 4716 + (12 + 2 - month) / 12;
  return {static_cast<u16>(day), static_cast<u16>(month), static_cast<u16>(year)};
}

TEST(CalendarArithmetic, LeapYearsOfBothStyles) {
  struct Row { int year, newStyle, oldStyle; };
  const Row rows[] = {
      {1800, 0, 1}, {1900, 0, 1}, {2100, 0, 1}, {2000, 1, 1}, {1804, 1, 1},
      {2001, 0, 0}, {1799, -1, -1}, {2101, -1, -1}, {2096, 1, 1}, {1899, 0, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.year);
    EXPECT_EQ(IsNewStyleLeap(r.year), r.newStyle);
    EXPECT_EQ(IsOldStyleLeap(r.year), r.oldStyle);
  }
}

TEST(CalendarArithmetic, StyleOffsetChangesOnFirstOfMarch) {
  EXPECT_EQ(StyleOffset(1800, 2), 11);
  EXPECT_EQ(StyleOffset(1800, 3), 12);
  EXPECT_EQ(StyleOffset(1900, 2), 12);
  EXPECT_EQ(StyleOffset(1900, 3), 13);
  EXPECT_EQ(StyleOffset(2100, 2), 13);
  EXPECT_EQ(StyleOffset(2100, 3), 14);
  // Outside the range: 12 before 1900, 13 after 2100.
  EXPECT_EQ(StyleOffset(1000, 6), 12);
  EXPECT_EQ(StyleOffset(2300, 6), 13);
}

TEST(CalendarArithmetic, KnownConversions) {
  struct Row { u16 d, m, y, od, om; };
  const Row newToOld[] = {
      {1, 1, 1800, 21, 12}, {28, 2, 1800, 17, 2}, {1, 3, 1800, 18, 2},  {12, 3, 1800, 29, 2},
      {13, 3, 1800, 1, 3},  {1, 3, 1900, 17, 2},  {13, 1, 1900, 1, 1},  {7, 1, 2000, 25, 12},
      {13, 1, 2000, 31, 12}, {14, 1, 2000, 1, 1}, {1, 3, 2100, 16, 2},  {14, 3, 2100, 29, 2},
  };
  for (const Row& r : newToOld) {
    SCOPED_TRACE(std::to_string(r.d) + "." + std::to_string(r.m) + "." + std::to_string(r.y));
    EXPECT_EQ(NewToOldStyle(r.d, r.m, r.y), (DayMonth{r.od, r.om}));
  }
  const Row oldToNew[] = {
      {29, 2, 1800, 12, 3}, {16, 2, 2000, 29, 2}, {17, 2, 2000, 1, 3},
      {25, 12, 2000, 7, 1}, {29, 2, 1900, 13, 3}, {1, 3, 2100, 15, 3},
  };
  for (const Row& r : oldToNew) {
    SCOPED_TRACE(std::to_string(r.d) + "." + std::to_string(r.m) + "." + std::to_string(r.y));
    EXPECT_EQ(OldToNewStyle(r.d, r.m, r.y), (DayMonth{r.od, r.om}));
  }
}

// Every new-style day of 1800..2100: the old-style date agrees with the
// reference algorithm, converts back, steps by one in both directions and
// advances the weekday.
TEST(CalendarArithmetic, EveryDayOfTheRange) {
  Date d{1, 1, 1800};
  long serial = GregorianToSerial(1800, 1, 1);
  int weekday = WeekdayNumber(1, 1, 1800);
  EXPECT_EQ(weekday, 4);  // 1 January 1800 was a Wednesday
  int days = 0;
  for (;; ++serial, ++days) {
    const Date gregorian = FromSerial(serial, true);
    ASSERT_EQ(gregorian, d) << "serial " << serial;
    const Date julian = FromSerial(serial, false);
    const DayMonth old = NewToOldStyle(d.day, d.month, d.year);
    ASSERT_EQ(old, (DayMonth{julian.day, julian.month}))
        << d.day << "." << d.month << "." << d.year;
    if (julian.year >= 1800 && julian.year <= 2100) {
      ASSERT_EQ(OldToNewStyle(julian.day, julian.month, julian.year), (DayMonth{d.day, d.month}))
          << "old style " << julian.day << "." << julian.month << "." << julian.year;
    }
    ASSERT_EQ(WeekdayNumber(d.day, d.month, d.year), weekday);
    if (d == Date{31, 12, 2100}) break;
    const Date next = NextDay(d.day, d.month, d.year);
    ASSERT_EQ(PreviousDay(next.day, next.month, next.year), d);
    d = next;
    weekday = weekday % 7 + 1;
  }
  EXPECT_EQ(days + 1, 109938);
}

// Every old-style day of the old-style years 1800..2100 lands on the right
// new-style date, 29 February of 1800, 1900 and 2100 included.
TEST(CalendarArithmetic, EveryOldStyleDayConverts) {
  for (long serial = JulianToSerial(1800, 1, 1); serial <= JulianToSerial(2100, 12, 31); ++serial) {
    const Date julian = FromSerial(serial, false);
    const Date gregorian = FromSerial(serial, true);
    ASSERT_EQ(OldToNewStyle(julian.day, julian.month, julian.year),
              (DayMonth{gregorian.day, gregorian.month}))
        << julian.day << "." << julian.month << "." << julian.year;
  }
}

TEST(CalendarArithmetic, StepsAcrossMonthAndYearEnds) {
  EXPECT_EQ(NextDay(28, 2, 1900), (Date{1, 3, 1900}));
  EXPECT_EQ(NextDay(28, 2, 2000), (Date{29, 2, 2000}));
  EXPECT_EQ(NextDay(31, 12, 2099), (Date{1, 1, 2100}));
  EXPECT_EQ(PreviousDay(1, 3, 2000), (Date{29, 2, 2000}));
  EXPECT_EQ(PreviousDay(1, 1, 1900), (Date{31, 12, 1899}));
}

TEST(CalendarArithmetic, ShiftDateStaysWithinTheYear) {
  EXPECT_EQ(ShiftDate(10, 3, 2001, -10), (DayMonth{28, 2}));
  EXPECT_EQ(ShiftDate(10, 3, 2000, -10), (DayMonth{29, 2}));
  EXPECT_EQ(ShiftDate(25, 12, 2000, 7), (DayMonth{0, 0}));
  EXPECT_EQ(ShiftDate(5, 4, 2001, 56), (DayMonth{31, 5}));
  EXPECT_EQ(ShiftDate(31, 12, 2001, 0), (DayMonth{31, 12}));
  EXPECT_EQ(ShiftDate(1, 1, 2001, -1), (DayMonth{0, 0}));
  EXPECT_EQ(ShiftDate(1, 2, 2001, -1), (DayMonth{31, 1}));
  EXPECT_EQ(ShiftDate(1, 3, 2001, -28), (DayMonth{1, 2}));
  EXPECT_EQ(ShiftDate(1, 1, 2001, 364), (DayMonth{31, 12}));
  EXPECT_EQ(ShiftDate(1, 1, 2001, 365), (DayMonth{0, 0}));
  // Every shift that stays within a year agrees with day counting.
  for (int n = -400; n <= 400; n += 7) {
    const DayMonth r = ShiftDate(15, 6, 2004, n);
    const long target = GregorianToSerial(2004, 6, 15) + n;
    const Date expected = FromSerial(target, true);
    if (expected.year == 2004) EXPECT_EQ(r, (DayMonth{expected.day, expected.month})) << n;
    else EXPECT_EQ(r, (DayMonth{0, 0})) << n;
  }
}

TEST(CalendarArithmetic, NameTables) {
  EXPECT_EQ(WeekdayNumber(7, 1, 2001), 1);
  const char* const weekdays[] = {"", "Воскресенье", "Понедельник", "Вторник", "Среда",
                                  "Четверг", "Пятница", "Суббота"};
  const char* const months[] = {"", "Января", "Февраля", "Марта", "Апреля", "Мая", "Июня",
                                "Июля", "Августа", "Сентября", "Октября", "Ноября", "Декабря"};
  const char* const shortMonths[] = {"", "Янв", "Февр", "Мар", "Апр", "Мая", "Июн",
                                     "Июл", "Авг", "Сент", "Окт", "Нояб", "Дек"};
  const char* const tones[] = {"отсутствует", "первый", "вторый", "третий", "четвертый",
                               "пятый", "шестый", "седьмый", "осьмый"};
  ASSERT_EQ(WeekdayNames.size(), std::size(weekdays));
  for (std::size_t i = 0; i < WeekdayNames.size(); ++i)
    EXPECT_EQ(Cp1251ToUtf8(WeekdayNames[i]), weekdays[i]) << i;
  ASSERT_EQ(MonthNames.size(), std::size(months));
  for (std::size_t i = 0; i < MonthNames.size(); ++i) {
    EXPECT_EQ(Cp1251ToUtf8(MonthNames[i]), months[i]) << i;
    EXPECT_EQ(Cp1251ToUtf8(MonthShortNames[i]), shortMonths[i]) << i;
  }
  ASSERT_EQ(ToneNames.size(), std::size(tones));
  for (std::size_t i = 0; i < ToneNames.size(); ++i) EXPECT_EQ(Cp1251ToUtf8(ToneNames[i]), tones[i]) << i;
  const int lengths[] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (std::size_t i = 1; i < MonthLengths.size(); ++i) EXPECT_EQ(MonthLengths[i], lengths[i]) << i;
}

}  // namespace
}  // namespace velmar
