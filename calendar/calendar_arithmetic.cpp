#include "calendar/calendar_arithmetic.h"

#include "calendar/cp1251.h"

namespace velmar {

const std::array<std::string_view, 8> WeekdayNames = {
    "",
    "Воскресенье"_cp, "Понедельник"_cp, "Вторник"_cp, "Среда"_cp,
    "Четверг"_cp,     "Пятница"_cp,     "Суббота"_cp,
};

const std::array<std::string_view, 13> MonthNames = {
    "",
    "Января"_cp, "Февраля"_cp,  "Марта"_cp,    "Апреля"_cp,  "Мая"_cp,    "Июня"_cp,
    "Июля"_cp,   "Августа"_cp,  "Сентября"_cp, "Октября"_cp, "Ноября"_cp, "Декабря"_cp,
};

const std::array<std::string_view, 13> MonthShortNames = {
    "",
    "Янв"_cp, "Февр"_cp, "Мар"_cp,  "Апр"_cp,  "Мая"_cp,  "Июн"_cp,
    "Июл"_cp, "Авг"_cp,  "Сент"_cp, "Окт"_cp,  "Нояб"_cp, "Дек"_cp,
};

const std::array<std::string_view, 9> ToneNames = {
    "отсутствует"_cp, "первый"_cp, "вторый"_cp, "третий"_cp, "четвертый"_cp,
    "пятый"_cp,       "шестый"_cp, "седьмый"_cp, "осьмый"_cp,
};

namespace {

constexpr bool InRange(int year) { return year >= 1800 && year <= 2100; }

// Month length in the new style (February by the new-style leap test).
int NewStyleMonthLength(int month, int year) {
  if (month == 2 && IsNewStyleLeap(year) == 1) return 29;
  return MonthLengths[static_cast<std::size_t>(month)];
}

}  // namespace

int IsNewStyleLeap(int year) {
  if (!InRange(year)) return -1;
  if (year == 1800 || year == 1900 || year == 2100) return 0;
  return year % 4 == 0 ? 1 : 0;
}

int IsOldStyleLeap(int year) {
  if (!InRange(year)) return -1;
  return year % 4 == 0 ? 1 : 0;
}

int StyleOffset(int year, int month) {
  if (year < 1900) return (year == 1800 && month <= 2) ? 11 : 12;
  if (year == 1900 && month <= 2) return 12;
  if (year == 2100 && month >= 3) return 14;
  return 13;
}

DayMonth NewToOldStyle(u16 day, u16 month, u16 year) {
  const int d = StyleOffset(year, month);
  if (day > d) return {static_cast<u16>(day - d), month};
  const int previous = month == 1 ? 12 : month - 1;
  int length = MonthLengths[static_cast<std::size_t>(previous)];
  if (previous == 2 && IsOldStyleLeap(year) == 1) length = 29;
  return {static_cast<u16>(day + length - d), static_cast<u16>(previous)};
}

DayMonth OldToNewStyle(u16 day, u16 month, u16 year) {
  const int d = StyleOffset(year, month);
  const int length = NewStyleMonthLength(month, year);
  if (day + d > length) {
    return {static_cast<u16>(day + d - length), static_cast<u16>(month == 12 ? 1 : month + 1)};
  }
  return {static_cast<u16>(day + d), month};
}

Date NextDay(u16 day, u16 month, u16 year) {
  if (day == NewStyleMonthLength(month, year)) {
    if (month == 12) return {1, 1, static_cast<u16>(year + 1)};
    return {1, static_cast<u16>(month + 1), year};
  }
  return {static_cast<u16>(day + 1), month, year};
}

Date PreviousDay(u16 day, u16 month, u16 year) {
  if (day == 1) {
    if (month == 1) return {31, 12, static_cast<u16>(year - 1)};
    const int previous = month - 1;
    return {static_cast<u16>(NewStyleMonthLength(previous, year)), static_cast<u16>(previous), year};
  }
  return {static_cast<u16>(day - 1), month, year};
}

namespace {

// Moves a date by n days within its year over the month lengths that
// lengthOf gives; (0, 0) when the walk leaves the year.
template <typename MonthLength>
DayMonth ShiftWithin(u16 day, u16 month, int n, MonthLength lengthOf) {
  if (n >= 0) {
    const int left = lengthOf(month) - day;
    if (n <= left) return {static_cast<u16>(day + n), month};
    int r = n - left;
    int m = month + 1;
    while (m <= 12 && r > lengthOf(m)) {
      r -= lengthOf(m);
      ++m;
    }
    if (m > 12) return {0, 0};
    return {static_cast<u16>(r), static_cast<u16>(m)};
  }
  const int back = -n;
  if (back < day) return {static_cast<u16>(day - back), month};
  int r = back - day;
  int m = month - 1;
  while (m >= 1 && r >= lengthOf(m)) {
    r -= lengthOf(m);
    --m;
  }
  if (m < 1) return {0, 0};
  return {static_cast<u16>(lengthOf(m) - r), static_cast<u16>(m)};
}

}  // namespace

DayMonth ShiftDate(u16 day, u16 month, u16 year, int n) {
  return ShiftWithin(day, month, n, [year](int m) { return NewStyleMonthLength(m, year); });
}

DayMonth ShiftOldStyleDate(u16 day, u16 month, u16 year, int n) {
  return ShiftWithin(day, month, n, [year](int m) {
    if (m == 2 && year % 4 == 0) return 29;
    return static_cast<int>(MonthLengths[static_cast<std::size_t>(m)]);
  });
}

int WeekdayNumber(u16 day, u16 month, u16 year) {
  // Serial day 0 (JDN) was a Monday; Sunday is 1.
  const long serial = GregorianToSerial(year, month, day);
  return static_cast<int>((serial + 1) % 7) + 1;  // serial > 0 for every year used
}

}  // namespace velmar
