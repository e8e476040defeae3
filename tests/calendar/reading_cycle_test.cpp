#include "calendar/reading_cycle.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "calendar/calendar_arithmetic.h"
#include "calendar/paschalion.h"

namespace velmar {
namespace {

// The figures of three readings' years, counted by hand from the dates:
// 2024: Pascha 5 May, All Saints 30 June; the Sunday after the Exaltation is
//       29 September, so Luke begins on 30 September, in week 15 (a преступка
//       of three weeks); Pascha 2025 is 20 April, the Publican 9 February,
//       the 33rd Sunday.
// 2023: Pascha 16 April, All Saints 11 June; Luke begins on 2 October, week
//       18; the Publican 25 February 2024 is the 38th Sunday.
// 2010: Pascha 4 April, All Saints 30 May; the Exaltation, 27 September, is a
//       Monday, Luke begins on 4 October, week 20 (an отступка of two); the
//       Publican 13 February 2011 is the 38th Sunday.
TEST(ReadingCycle, YearsFiguresAsCountedFromTheDates) {
  struct Row {
    int year, lukanWeek, shift, publican, apostolExtra, gospelExtra;
  };
  const Row rows[] = {
      {2024, 15, 3, 33, 0, 3},
      {2023, 18, 0, 38, 5, 5},
      {2010, 20, -2, 38, 5, 3},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.year);
    const ReadingYear y = ReadingYearOf(r.year);
    EXPECT_EQ(y.lukanStartWeek, r.lukanWeek);
    EXPECT_EQ(y.lukanShift, r.shift);
    EXPECT_EQ(y.publicanSunday, r.publican);
    EXPECT_EQ(y.apostolExtraWeeks, r.apostolExtra);
    EXPECT_EQ(y.gospelExtraWeeks, r.gospelExtra);
  }
}

TEST(ReadingCycle, KnownDaysOfTheYearFromPascha2024) {
  struct Row {
    u16 day, month, year;
    CyclePart part;
    int offset, week, apostol, gospel, matins;
  };
  using P = CyclePart;
  const Row rows[] = {
      {5, 5, 2024, P::Pentecostarion, 0, 0, 0, 0, 0},        // Pascha
      {23, 6, 2024, P::Pentecostarion, 49, 0, 0, 0, 0},      // Pentecost
      {24, 6, 2024, P::AfterPentecost, 0, 1, 1, 1, 0},       // Monday of the Holy Spirit
      {30, 6, 2024, P::AfterPentecost, 0, 1, 1, 1, 1},       // All Saints
      {7, 7, 2024, P::AfterPentecost, 0, 2, 2, 2, 2},
      {29, 9, 2024, P::AfterPentecost, 0, 14, 14, 14, 3},    // the Sunday after the Exaltation
      {30, 9, 2024, P::AfterPentecost, 0, 15, 15, 18, 0},    // Luke begins
      {6, 10, 2024, P::AfterPentecost, 0, 15, 15, 18, 4},
      {16, 12, 2024, P::AfterPentecost, 0, 26, 26, 29, 0},   // Lukan weekdays to the 29th
      {23, 12, 2024, P::AfterPentecost, 0, 27, 27, 14, 0},   // then Mark's weeks before 17
      {30, 12, 2024, P::AfterPentecost, 0, 28, 28, 15, 0},
      {5, 1, 2025, P::AfterPentecost, 0, 28, 28, 31, 6},     // Lukan Sundays to the 31st
      {6, 1, 2025, P::AfterPentecost, 0, 29, 29, 16, 0},
      {12, 1, 2025, P::AfterPentecost, 0, 29, 29, 15, 7},    // then the Sundays Luke passed over
      {13, 1, 2025, P::AfterPentecost, 0, 30, 30, 30, 0},    // Mark goes on with week 30
      {19, 1, 2025, P::AfterPentecost, 0, 30, 30, 16, 8},
      {20, 1, 2025, P::AfterPentecost, 0, 31, 31, 31, 0},
      {26, 1, 2025, P::AfterPentecost, 0, 31, 31, 17, 9},    // the Canaanite woman
      {27, 1, 2025, P::AfterPentecost, 0, 32, 32, 32, 0},
      {2, 2, 2025, P::AfterPentecost, 0, 32, 32, 32, 10},     // Zacchaeus
      {3, 2, 2025, P::AfterPentecost, 0, 33, 33, 33, 0},
      {8, 2, 2025, P::AfterPentecost, 0, 33, 33, 33, 0},
      {9, 2, 2025, P::Triodion, 70, 0, 0, 0, 11},            // the Publican
      {3, 3, 2025, P::Triodion, 48, 0, 0, 0, 0},             // Clean Monday
      {13, 4, 2025, P::Triodion, 7, 0, 0, 0, 0},             // Palm Sunday: its own
      {6, 4, 2025, P::Triodion, 14, 0, 0, 0, 8},             // fifth Sunday of Lent
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.day) + "." + std::to_string(r.month) + "." + std::to_string(r.year));
    const ReadingCycleDay c = ReadingCycle(r.day, r.month, r.year);
    EXPECT_EQ(c.part, r.part);
    EXPECT_EQ(c.offset, r.offset);
    EXPECT_EQ(c.week, r.week);
    EXPECT_EQ(c.apostolWeek, r.apostol);
    EXPECT_EQ(c.gospelWeek, r.gospel);
    EXPECT_EQ(c.matinsGospel, r.matins);
  }
}

// A year with a long winter (2023: five weeks left over for both tables):
// the Apostol steps back to the weeks 13..17 before Zacchaeus' week.
TEST(ReadingCycle, ApostolStepsBackInALongWinter) {
  // The Publican 25 February 2024 (the 38th Sunday); Zacchaeus 18 February.
  struct Row {
    u16 day, month;
    int apostol, gospel;
  };
  const Row rows[] = {
      {7, 1, 31, 31},   // Sunday of week 31: both tables' own
      {14, 1, 13, 13},  // the block of week 32..36: 13..17
      {28, 1, 15, 15},
      {11, 2, 17, 17},  // the Canaanite woman
      {18, 2, 32, 32},  // Zacchaeus
      {29, 1, 16, 30},  // Monday of week 35: the Apostol's block, Mark's 30th
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.day) + "." + std::to_string(r.month));
    const ReadingCycleDay c = ReadingCycle(r.day, r.month, 2024);
    EXPECT_EQ(c.apostolWeek, r.apostol);
    EXPECT_EQ(c.gospelWeek, r.gospel);
  }
}

// Over every readings' year of 1800..2100: the parts follow each other day by
// day; after Pentecost each Sunday and weekday reads a table week 1..33; Luke
// begins on the Monday after the Sunday after the Exaltation; the Sundays of
// Luke 18..31 come in order and each once; the last three Sundays before the
// Publican read 17 (when weeks are left over), 32 and the Publican's own; the
// Lukan table's weekdays are each read once; and the Matins Gospels follow
// the cycle of eleven from All Saints to the fifth Sunday of Lent.
TEST(ReadingCycle, EveryYearOf1800To2100KeepsTheTablesInOrder) {
  for (int year = 1800; year <= 2099; ++year) {
    SCOPED_TRACE(year);
    const long pascha = PaschaSerialOf(year);
    const long next = PaschaSerialOf(year + 1);
    const ReadingYear y = ReadingYearOf(year);
    std::vector<int> lukanSundays;
    std::multiset<int> lukanWeekdays;
    int lastSundayGospel = 0, previousMatins = 0;
    long lukeStart = 0;
    for (long s = pascha; s < next; ++s) {
      // Serial -> Gregorian date through the known serial of 1 January.
      int gy = year;
      while (GregorianToSerial(gy + 1, 1, 1) <= s) ++gy;
      long rest = s - GregorianToSerial(gy, 1, 1);
      int gm = 1;
      while (gm < 12 && GregorianToSerial(gy, gm + 1, 1) - GregorianToSerial(gy, 1, 1) <= rest) ++gm;
      const u16 gd = static_cast<u16>(s - GregorianToSerial(gy, gm, 1) + 1);
      const u16 m = static_cast<u16>(gm), yy = static_cast<u16>(gy);
      if (yy > 2100) break;
      const ReadingCycleDay c = ReadingCycle(gd, m, yy);
      const long since = s - pascha;
      if (since <= 49) {
        ASSERT_EQ(c.part, CyclePart::Pentecostarion);
        ASSERT_EQ(c.offset, since);
        continue;
      }
      if (next - s <= 70) {
        ASSERT_EQ(c.part, CyclePart::Triodion);
        ASSERT_EQ(c.offset, next - s);
      } else {
        ASSERT_EQ(c.part, CyclePart::AfterPentecost);
        ASSERT_GE(c.apostolWeek, 1);
        ASSERT_LE(c.apostolWeek, 33);
        ASSERT_GE(c.gospelWeek, 1);
        ASSERT_LE(c.gospelWeek, 33);
        if (c.week == y.lukanStartWeek && c.weekday == 2) lukeStart = s;
        if (c.weekday == 1) {
          if (c.week >= y.lukanStartWeek && c.gospelWeek >= 18 && c.gospelWeek <= 31)
            lukanSundays.push_back(c.gospelWeek);
          lastSundayGospel = c.gospelWeek;
          if (next - s == 77) {
            ASSERT_EQ(c.gospelWeek, 32);
            ASSERT_EQ(c.apostolWeek, 32);
          }
          if (next - s == 84 && y.gospelExtraWeeks > 0) {
            ASSERT_EQ(c.gospelWeek, 17);
          }
        } else if (c.week >= y.lukanStartWeek) {
          if (c.gospelWeek >= 18) lukanWeekdays.insert(c.gospelWeek);
        }
        if (c.week < y.lukanStartWeek) {
          ASSERT_LE(c.gospelWeek, 17);
        }
      }
      if (c.weekday == 1 && c.matinsGospel != 0) {
        if (previousMatins != 0) {
          ASSERT_EQ(c.matinsGospel, previousMatins % 11 + 1);
        }
        previousMatins = c.matinsGospel;
      } else if (c.weekday == 1) {
        ASSERT_TRUE(c.part == CyclePart::Triodion && c.offset == 7);  // Palm Sunday
      }
    }
    EXPECT_EQ(lastSundayGospel, 32);
    // The Monday after the first Sunday after 14 September old style.
    const long exaltation = JulianToSerial(year, 9, 14);
    long sunday = exaltation + 1;
    while ((sunday + 1) % 7 != 0) ++sunday;
    EXPECT_EQ(lukeStart, sunday + 1);
    for (std::size_t i = 0; i < lukanSundays.size(); ++i) EXPECT_EQ(lukanSundays[i], 18 + static_cast<int>(i));
    for (int w = 18; w <= 33; ++w) EXPECT_EQ(lukanWeekdays.count(w), 6u) << "week " << w;
  }
}

}  // namespace
}  // namespace velmar
