#include "calendar/paschalion.h"

#include <gtest/gtest.h>

#include <string>

namespace velmar {
namespace {

std::string Name(const Date& d) {
  return std::to_string(d.day) + "." + std::to_string(d.month) + "." + std::to_string(d.year);
}

TEST(Paschalion, KnownPaschaDates) {
  // Orthodox Pascha, new style, as printed in church calendars; the old-style
  // dates of 1800, 1900 and 2100 from the Julian computus tables.
  struct Row { u16 year, day, month; };
  const Row rows[] = {
      {1800, 20, 4}, {1801, 5, 4},  {1847, 4, 4},  {1888, 6, 5},  {1900, 22, 4},
      {1915, 4, 4},  {2000, 30, 4}, {2001, 15, 4}, {2002, 5, 5},  {2003, 27, 4},
      {2004, 11, 4}, {2005, 1, 5},  {2006, 23, 4}, {2007, 8, 4},  {2008, 27, 4},
      {2009, 19, 4}, {2010, 4, 4},  {2011, 24, 4}, {2012, 15, 4}, {2013, 5, 5},
      {2014, 20, 4}, {2015, 12, 4}, {2016, 1, 5},  {2017, 16, 4}, {2018, 8, 4},
      {2019, 28, 4}, {2020, 19, 4}, {2021, 2, 5},  {2022, 24, 4}, {2023, 16, 4},
      {2024, 5, 5},  {2025, 20, 4}, {2026, 12, 4}, {2027, 2, 5},  {2078, 8, 5},
      {2100, 2, 5},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.year);
    EXPECT_EQ(PaschaNewStyle(r.year), (DayMonth{r.day, r.month}));
  }
  EXPECT_EQ(PaschaOldStyle(1800), (DayMonth{8, 4}));
  EXPECT_EQ(PaschaOldStyle(1900), (DayMonth{9, 4}));
  EXPECT_EQ(PaschaOldStyle(2000), (DayMonth{17, 4}));
  EXPECT_EQ(PaschaOldStyle(2010), (DayMonth{22, 3}));
  EXPECT_EQ(PaschaOldStyle(2100), (DayMonth{18, 4}));
  EXPECT_EQ(PaschaOldStyle(1915), (DayMonth{22, 3}));
  EXPECT_EQ(PaschaOldStyle(2078), (DayMonth{25, 4}));
}

// Every Pascha of 1800..2100 is a Sunday within its windows, and the first
// Sunday after the fourteenth day of the Paschal moon of the Julian 19-year
// cycle (the moon's date taken from the table of Paschal full moons).
TEST(Paschalion, EveryPaschaIsTheRightSunday) {
  // Paschal full moon (old style) by golden number 1..19.
  const DayMonth fullMoon[19] = {{5, 4},  {25, 3}, {13, 4}, {2, 4},  {22, 3}, {10, 4}, {30, 3},
                                 {18, 4}, {7, 4},  {27, 3}, {15, 4}, {4, 4},  {24, 3}, {12, 4},
                                 {1, 4},  {21, 3}, {9, 4},  {29, 3}, {17, 4}};
  for (u16 year = 1800; year <= 2100; ++year) {
    SCOPED_TRACE(year);
    const DayMonth old = PaschaOldStyle(year);
    const DayMonth neu = PaschaNewStyle(year);
    EXPECT_EQ(WeekdayNumber(neu.day, neu.month, year), 1);
    const long p = JulianToSerial(year, old.month, old.day);
    const DayMonth moon = fullMoon[year % 19];
    const long m = JulianToSerial(year, moon.month, moon.day);
    EXPECT_GT(p, m);
    EXPECT_LE(p, m + 7);
    EXPECT_GE(p, JulianToSerial(year, 3, 22));
    EXPECT_LE(p, JulianToSerial(year, 4, 25));
    EXPECT_EQ(DaysSincePascha(neu.day, neu.month, year), 0);
    EXPECT_EQ(DaysBeforePascha(neu.day, neu.month, year), 0);
  }
}

// Walks every day of 1800..2100 counting days since and before Pascha by
// hand, and checks both counts, the tone and the range of values.
TEST(Paschalion, CountsAndToneOverTheWholeRange) {
  Date d{1, 1, 1800};
  int since = 248;  // Pascha 1799 fell on 17 April old style, 28 April new style
  int maxSince = 0;
  int previousTone = ToneOfDay(1, 1, 1800);
  for (;;) {
    const DayMonth p = PaschaNewStyle(d.year);
    const bool isPascha = d.day == p.day && d.month == p.month;
    if (isPascha) since = 0;
    ASSERT_EQ(DaysSincePascha(d.day, d.month, d.year), since) << Name(d);
    maxSince = std::max(maxSince, since);

    const long toPascha = GregorianToSerial(d.year, p.month, p.day) -
                          GregorianToSerial(d.year, d.month, d.day);
    ASSERT_EQ(DaysBeforePascha(d.day, d.month, d.year), toPascha >= 0 ? toPascha : -1) << Name(d);

    const int tone = ToneOfDay(d.day, d.month, d.year);
    const bool sunday = WeekdayNumber(d.day, d.month, d.year) == 1;
    if (since < 7 || (toPascha >= 1 && toPascha <= 7)) {
      ASSERT_EQ(tone, 0) << Name(d);
    } else if (!sunday) {
      ASSERT_EQ(tone, previousTone) << Name(d);  // tones change only on Sundays
    } else if (since == 7) {
      ASSERT_EQ(tone, 1) << Name(d);
    } else {
      ASSERT_EQ(tone, previousTone % 8 + 1) << Name(d);
    }
    previousTone = tone;

    if (d == Date{31, 12, 2100}) break;
    d = NextDay(d.day, d.month, d.year);
    ++since;
  }
  EXPECT_EQ(maxSince, 384);
}

TEST(Paschalion, CountsIn2000) {
  struct Row { u16 d, m, y; int since, before, tone; };
  const Row rows[] = {
      {30, 4, 2000, 0, 0, 0},     {6, 5, 2000, 6, -1, 0},    {7, 5, 2000, 7, -1, 1},
      {8, 6, 2000, 39, -1, 5},    {18, 6, 2000, 49, -1, 7},  {25, 6, 2000, 56, -1, 8},
      {22, 4, 2000, 377, 8, 5},   {23, 4, 2000, 378, 7, 0},  {29, 4, 2000, 384, 1, 0},
      {1, 5, 2000, 1, -1, 0},     {1, 1, 2001, 246, 104, 3},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(Name({r.d, r.m, r.y}));
    EXPECT_EQ(DaysSincePascha(r.d, r.m, r.y), r.since);
    EXPECT_EQ(DaysBeforePascha(r.d, r.m, r.y), r.before);
    EXPECT_EQ(ToneOfDay(r.d, r.m, r.y), r.tone);
  }
}

// Before Pascha of 1800, 1900 and 2100 the count runs from the previous
// Pascha at its true date, so tones change on Sundays in those years too.
TEST(Paschalion, YearsWhereTheOffsetChanges) {
  EXPECT_EQ(DaysSincePascha(7, 1, 1900), 252);  // Pascha 1899: 30 April new style
  EXPECT_EQ(DaysSincePascha(1, 1, 1800), 248);
  EXPECT_EQ(ToneOfDay(7, 1, 1900), 4);
  EXPECT_EQ(ToneOfDay(8, 1, 1900), 4);
  EXPECT_EQ(ToneOfDay(6, 1, 1900), 3);
  EXPECT_EQ(ToneOfDay(7, 1, 2001), 4);
  EXPECT_EQ(ToneOfDay(8, 1, 2001), 4);
  // Pascha 2099 fell on 12 April new style (30 March old style).
  EXPECT_EQ(PaschaNewStyle(2099), (DayMonth{12, 4}));
  EXPECT_EQ(DaysSincePascha(1, 1, 2100),
            GregorianToSerial(2100, 1, 1) - GregorianToSerial(2099, 4, 12));
}

// The fourteen fixed great feasts, by their new-style dates of 1900..2099
// (old style + 13), and no day next to them.
TEST(Paschalion, EveryFixedGreatFeast) {
  struct Row { u16 newDay, newMonth, oldDay, oldMonth; };
  const Row rows[] = {
      {19, 1, 6, 1},   {15, 2, 2, 2},   {7, 4, 25, 3},   {19, 8, 6, 8},  {28, 8, 15, 8},
      {21, 9, 8, 9},   {27, 9, 14, 9},  {4, 12, 21, 11}, {7, 1, 25, 12}, {7, 7, 24, 6},
      {12, 7, 29, 6},  {11, 9, 29, 8},  {14, 10, 1, 10}, {14, 1, 1, 1},
  };
  ASSERT_EQ(GreatFeastDates.size(), std::size(rows));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Row& r = rows[i];
    SCOPED_TRACE(std::to_string(r.newDay) + "." + std::to_string(r.newMonth));
    EXPECT_EQ(GreatFeastDates[i], (DayMonth{r.oldDay, r.oldMonth}));
    for (const u16 year : {u16{1901}, u16{1950}, u16{2001}, u16{2023}, u16{2099}})
      EXPECT_EQ(IsGreatFeast(r.newDay, r.newMonth, year), 1) << year;
    const Date before = PreviousDay(r.newDay, r.newMonth, 2001);
    const Date after = NextDay(r.newDay, r.newMonth, 2001);
    // 2001: Pascha 15 April, Ascension 24 May; no feast stands next to another
    // except 7 and 14 January, a week apart.
    EXPECT_EQ(IsGreatFeast(before.day, before.month, 2001), 0);
    EXPECT_EQ(IsGreatFeast(after.day, after.month, 2001), 0);
  }
  // Bright Week and the Ascension of 2001, and the days around them.
  EXPECT_EQ(IsGreatFeast(14, 4, 2001), 0);
  for (int day = 15; day <= 21; ++day) EXPECT_EQ(IsGreatFeast(static_cast<u16>(day), 4, 2001), 1) << day;
  EXPECT_EQ(IsGreatFeast(22, 4, 2001), 0);
  EXPECT_EQ(IsGreatFeast(23, 5, 2001), 0);
  EXPECT_EQ(IsGreatFeast(24, 5, 2001), 1);
  EXPECT_EQ(IsGreatFeast(25, 5, 2001), 0);
}

TEST(Paschalion, GreatFeasts) {
  EXPECT_EQ(IsGreatFeast(7, 1, 2001), 1);
  EXPECT_EQ(IsGreatFeast(7, 1, 1950), 1);
  EXPECT_EQ(IsGreatFeast(8, 6, 2000), 1);   // Ascension
  EXPECT_EQ(IsGreatFeast(30, 4, 2000), 1);  // Pascha
  EXPECT_EQ(IsGreatFeast(6, 5, 2000), 1);   // Bright Saturday
  EXPECT_EQ(IsGreatFeast(7, 5, 2000), 0);   // Thomas Sunday
  EXPECT_EQ(IsGreatFeast(23, 4, 2000), 0);  // Palm Sunday
  EXPECT_EQ(IsGreatFeast(18, 6, 2000), 0);  // Pentecost
  EXPECT_EQ(IsGreatFeast(14, 1, 2001), 1);  // Circumcision
  EXPECT_EQ(IsGreatFeast(12, 7, 2001), 1);  // Peter and Paul
  // In 1800..1899 the feasts fall one day earlier in the new style.
  EXPECT_EQ(IsGreatFeast(6, 1, 1850), 1);
  EXPECT_EQ(IsGreatFeast(7, 1, 1850), 0);
  EXPECT_EQ(IsGreatFeast(18, 1, 1850), 1);
  EXPECT_EQ(IsGreatFeast(19, 1, 1850), 0);
  // From March 2100 one day later.
  EXPECT_EQ(IsGreatFeast(8, 4, 2100), 1);  // Annunciation
  EXPECT_EQ(IsGreatFeast(7, 4, 2100), 0);
  EXPECT_EQ(IsGreatFeast(7, 1, 2100), 1);  // offset still 13 in January 2100
  // Every year has exactly 14 + 7 + 1 great-feast days, less coincidences.
  for (u16 year = 1801; year <= 2099; ++year) {
    int count = 0;
    for (Date d{1, 1, year}; d.year == year; d = NextDay(d.day, d.month, d.year))
      count += IsGreatFeast(d.day, d.month, d.year);
    const DayMonth p = PaschaNewStyle(year);
    const long ps = GregorianToSerial(year, p.month, p.day);
    int overlap = 0;  // Annunciation can fall in Bright Week
    const DayMonth a = OldToNewStyle(25, 3, year);
    const long as = GregorianToSerial(year, a.month, a.day);
    if (as >= ps && as < ps + 7) ++overlap;
    ASSERT_EQ(count, 22 - overlap) << year;
  }
}

}  // namespace
}  // namespace velmar
