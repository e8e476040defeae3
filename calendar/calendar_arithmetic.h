#pragma once
// Calendar arithmetic of the two styles: the old style (Julian calendar,
// "ст.ст.") and the new style (Gregorian calendar, "н.ст."). Dates are three
// separate small integers, day 1..31, month 1..12 and year; whether a date is
// old or new style is said by the operation that takes it. The program works on
// the years 1800..2100, where every conversion here is exact.
//
// The name tables hold Windows-1251 text.

#include <array>
#include <cstdint>
#include <string_view>

namespace velmar {

using u16 = std::uint16_t;

struct DayMonth {
  u16 day = 0;
  u16 month = 0;
  friend bool operator==(const DayMonth&, const DayMonth&) = default;
};

struct Date {
  u16 day = 0;
  u16 month = 0;
  u16 year = 0;
  friend bool operator==(const Date&, const Date&) = default;
};

// Month lengths indexed 1..12 (index 0 unused); February is 28 here and each
// operation substitutes 29 by the leap test of the style it works in.
inline constexpr std::array<u16, 13> MonthLengths = {0, 31, 28, 31, 30, 31, 30,
                                                     31, 31, 30, 31, 30, 31};

// Weekday names indexed 1 (Sunday) .. 7 (Saturday); index 0 is empty.
extern const std::array<std::string_view, 8> WeekdayNames;
// Month names in the genitive, capitalised ("Января"), indexed 1..12.
extern const std::array<std::string_view, 13> MonthNames;
// Short month names ("Янв", "Февр", ...), indexed 1..12.
extern const std::array<std::string_view, 13> MonthShortNames;
// Ordinal of the tone in its church form, indexed 0 (no tone) .. 8.
extern const std::array<std::string_view, 9> ToneNames;

// 1 when the year is leap in the new style, 0 when common, -1 outside 1800..2100.
int IsNewStyleLeap(int year);
// 1 when the year is leap in the old style, 0 when common, -1 outside 1800..2100.
int IsOldStyleLeap(int year);

// Days by which the new style runs ahead of the old style for a date of the
// given year and month (the month in the style the date is given in):
// 11 until February 1800, 12 until February 1900, 13 until February 2100, 14 after.
int StyleOffset(int year, int month);

// New-style date -> old-style day and month. New-style 1..d January land in the
// old-style December of the previous year; only the month (12) tells it.
DayMonth NewToOldStyle(u16 day, u16 month, u16 year);

// Old-style date -> new-style day and month. Old-style dates late in December
// land in January of the following new-style year; only the month (1) tells it.
DayMonth OldToNewStyle(u16 day, u16 month, u16 year);

// The following and the preceding new-style day.
Date NextDay(u16 day, u16 month, u16 year);
Date PreviousDay(u16 day, u16 month, u16 year);

// The new-style date moved by n days (n may be negative) within its year;
// (0, 0) when the move leaves the year.
DayMonth ShiftDate(u16 day, u16 month, u16 year, int n);

// The old-style date moved by n days within its old-style year (February 29
// in every year divisible by 4, any year); (0, 0) when the move leaves the year.
DayMonth ShiftOldStyleDate(u16 day, u16 month, u16 year, int n);

// Weekday of a new-style (proleptic Gregorian) date: 1 = Sunday .. 7 = Saturday.
int WeekdayNumber(u16 day, u16 month, u16 year);

// Serial day numbers (Julian Day Number, days since 1 January 4713 BC, Julian)
// of a Gregorian and of a Julian date; valid for any year from 1 on.
constexpr long GregorianToSerial(int year, int month, int day) {
  const long a = (14 - month) / 12;                    // 1 for Jan/Feb, else 0
  const long y = year + 4800L - a;                     // years since 4801 BC
  const long m = month + 12 * a - 3;                   // [0, 11], March first
  return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}
constexpr long JulianToSerial(int year, int month, int day) {
  const long a = (14 - month) / 12;
  const long y = year + 4800L - a;
  const long m = month + 12 * a - 3;
  return day + (153 * m + 2) / 5 + 365 * y + y / 4 - 32083;
}

}  // namespace velmar
