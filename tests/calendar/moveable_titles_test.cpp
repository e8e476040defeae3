#include "calendar/moveable_titles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "calendar/cp1251.h"
#include "calendar/paschalion.h"

namespace velmar {
namespace {

std::string Title(u16 d, u16 m, u16 y) { return Cp1251ToUtf8(MoveableDayTitle(d, m, y)); }

TEST(MoveableTitles, KnownTitles) {
  struct Row { u16 d, m, y; const char* title; };
  const Row rows[] = {
      {20, 2, 2000, "Неделя о мытаре и фарисее"},
      {21, 2, 2000, "Седмица 1-я предуготовительная"},
      {27, 2, 2000, "Неделя о блудном сыне"},
      {4, 3, 2000, "Суббота мясопустная"},
      {5, 3, 2000, "Неделя о Страшном Суде (мясопустная)"},
      {12, 3, 2000, "Прощеное воскресенье"},
      {13, 3, 2000, "1-я седмица Великого поста, чистый понедельник"},
      {14, 3, 2000, "1-я седмица Великого поста"},
      {19, 3, 2000, "Неделя 1-я Великого поста, Торжество Православия"},
      {20, 3, 2000, "2-я седмица Великого поста"},
      {1, 4, 2000, "3-я седмица Великого поста"},
      {2, 4, 2000, "Неделя 3-я Великого поста, Крестопоклонная"},
      {3, 4, 2000, "4-я седмица Великого поста"},
      {10, 4, 2000, "5-я седмица Великого поста"},
      {15, 4, 2000, "Похвала Пресвятой Богородицы"},
      {16, 4, 2000, "Неделя 5-я Великого поста"},
      {17, 4, 2000, "6-я седмица Великого поста (ваий)"},
      {22, 4, 2000, "Лазарева суббота, воскрешение прав.Лазаря"},
      {23, 4, 2000, "Неделя 6-я Великого поста, Вербное воскресенье"},
      {27, 4, 2000, "Великий Четверг, воспоминание Тайной Вечери"},
      {29, 4, 2000, "Великая Суббота"},
      {30, 4, 2000, "Пасха. Светлое Христово Воскресение"},
      {2, 5, 2000, "Светлая седмица"},
      {7, 5, 2000, "Неделя 2-я по Пасхе, ап.Фомы"},
      {8, 5, 2000, "Седмица 2-я по Пасхе"},
      {9, 5, 2000, "Радоница, поминовение усопших"},
      {21, 5, 2000, "Неделя 4-я по Пасхе,  о расслабленном"},
      {28, 5, 2000, "Неделя 5-я по Пасхе, о самаряныне"},
      {7, 6, 2000, "Отдание Пасхи"},
      {8, 6, 2000, "Вознесение Господне"},
      {9, 6, 2000, "Седмица 6-я по Пасхе"},
      {11, 6, 2000, "Неделя 7-я по Пасхе, Отцев I Вс.Собора"},
      {17, 6, 2000, "Троицкая родительская суббота"},
      {18, 6, 2000, "День Святой Троицы. Пятидесятница"},
      {19, 6, 2000, "День Святого Духа"},
      {20, 6, 2000, "Седмица 1-я по Пятидесятнице"},
      {24, 6, 2000, "Отдание Пятидесятницы"},
      {25, 6, 2000, "Неделя 1-я по Пятидесятнице, всех святых"},
      {26, 6, 2000, "Седмица 2-я по Пятидесятнице"},
      {2, 7, 2000, "Неделя 2-я по Пятидесятнице, русских святых"},
      {9, 7, 2000, "Неделя 3-я по Пятидесятнице"},
      {1, 1, 2001, "Седмица 29-я по Пятидесятнице"},
      {7, 1, 2001, "Неделя 29-я по Пятидесятнице"},
      // Years in which the style offset changes: titles change on Sundays too.
      {7, 1, 1900, "Неделя 29-я по Пятидесятнице"},
      {6, 1, 1900, "Седмица 29-я по Пятидесятнице"},
      {31, 12, 1899, "Неделя 28-я по Пятидесятнице"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.d) + "." + std::to_string(r.m) + "." + std::to_string(r.y));
    EXPECT_EQ(Title(r.d, r.m, r.y), r.title);
  }
}

// Every day of the cycle of 2000 (Pascha on 30 April) by its distance from
// Pascha: the Triodion before it, the Pentecostarion and the first weeks
// after Pentecost, every fixed title and every numbered one.
TEST(MoveableTitles, EveryTitleOfTheCycle) {
  struct Row { int from, to; const char* title; };  // offsets from Pascha
  const Row rows[] = {
      {-70, -70, "Неделя о мытаре и фарисее"},
      {-69, -64, "Седмица 1-я предуготовительная"},
      {-63, -63, "Неделя о блудном сыне"},
      {-62, -58, "Седмица 2-я предуготовительная"},
      {-57, -57, "Суббота мясопустная"},
      {-56, -56, "Неделя о Страшном Суде (мясопустная)"},
      {-55, -50, "Седмица 3-я предуготовительная (сырная)"},
      {-49, -49, "Прощеное воскресенье"},
      {-48, -48, "1-я седмица Великого поста, чистый понедельник"},
      {-47, -43, "1-я седмица Великого поста"},
      {-42, -42, "Неделя 1-я Великого поста, Торжество Православия"},
      {-41, -36, "2-я седмица Великого поста"},
      {-35, -35, "Неделя 2-я Великого поста"},
      {-34, -29, "3-я седмица Великого поста"},
      {-28, -28, "Неделя 3-я Великого поста, Крестопоклонная"},
      {-27, -22, "4-я седмица Великого поста"},
      {-21, -21, "Неделя 4-я Великого поста"},
      {-20, -16, "5-я седмица Великого поста"},
      {-15, -15, "Похвала Пресвятой Богородицы"},
      {-14, -14, "Неделя 5-я Великого поста"},
      {-13, -9, "6-я седмица Великого поста (ваий)"},
      {-8, -8, "Лазарева суббота, воскрешение прав.Лазаря"},
      {-7, -7, "Неделя 6-я Великого поста, Вербное воскресенье"},
      {-6, -6, "Страстная седмица, Великий Понедельник"},
      {-5, -5, "Страстная седмица, Великий Вторник"},
      {-4, -4, "Страстная седмица, Великая Среда"},
      {-3, -3, "Великий Четверг, воспоминание Тайной Вечери"},
      {-2, -2, "Великая Пятница, воспоминание Страстей Господних"},
      {-1, -1, "Великая Суббота"},
      {0, 0, "Пасха. Светлое Христово Воскресение"},
      {1, 6, "Светлая седмица"},
      {7, 7, "Неделя 2-я по Пасхе, ап.Фомы"},
      {8, 8, "Седмица 2-я по Пасхе"},
      {9, 9, "Радоница, поминовение усопших"},
      {10, 13, "Седмица 2-я по Пасхе"},
      {14, 14, "Неделя 3-я по Пасхе, св.жен-мироносиц"},
      {15, 20, "Седмица 3-я по Пасхе"},
      {21, 21, "Неделя 4-я по Пасхе,  о расслабленном"},
      {22, 23, "Седмица 4-я по Пасхе"},
      {24, 24, "Преполовение Пятидесятницы"},
      {25, 27, "Седмица 4-я по Пасхе"},
      {28, 28, "Неделя 5-я по Пасхе, о самаряныне"},
      {29, 30, "Седмица 5-я по Пасхе"},
      {31, 31, "Отдание Преполовения"},
      {32, 34, "Седмица 5-я по Пасхе"},
      {35, 35, "Неделя 6-я по Пасхе, о слепом"},
      {36, 37, "Седмица 6-я по Пасхе"},
      {38, 38, "Отдание Пасхи"},
      {39, 39, "Вознесение Господне"},
      {40, 41, "Седмица 6-я по Пасхе"},
      {42, 42, "Неделя 7-я по Пасхе, Отцев I Вс.Собора"},
      {43, 47, "Седмица 7-я по Пасхе"},
      {48, 48, "Троицкая родительская суббота"},
      {49, 49, "День Святой Троицы. Пятидесятница"},
      {50, 50, "День Святого Духа"},
      {51, 54, "Седмица 1-я по Пятидесятнице"},
      {55, 55, "Отдание Пятидесятницы"},
      {56, 56, "Неделя 1-я по Пятидесятнице, всех святых"},
      {57, 62, "Седмица 2-я по Пятидесятнице"},
      {63, 63, "Неделя 2-я по Пятидесятнице, русских святых"},
      {64, 69, "Седмица 3-я по Пятидесятнице"},
      {70, 70, "Неделя 3-я по Пятидесятнице"},
      {71, 76, "Седмица 4-я по Пятидесятнице"},
      {77, 77, "Неделя 4-я по Пятидесятнице"},
  };
  int expected = -70;
  for (const Row& r : rows) {
    ASSERT_EQ(r.from, expected);  // the table leaves no day out
    for (int offset = r.from; offset <= r.to; ++offset) {
      const DayMonth d = ShiftDate(30, 4, 2000, offset);
      EXPECT_EQ(Title(d.day, d.month, 2000), r.title) << offset;
    }
    expected = r.to + 1;
  }
}

// After Pentecost the weeks are counted by the Sundays since it: the k-th
// Sunday is "Неделя k-я", the days after it "Седмица (k+1)-я", up to the day
// before the next Triodion (3 February 2001, before Pascha on 15 April).
TEST(MoveableTitles, WeeksAfterPentecostCountTheSundays) {
  int sundays = 0;
  for (Date d{19, 6, 2000}; !(d == Date{4, 2, 2001}); d = NextDay(d.day, d.month, d.year)) {
    const bool sunday = WeekdayNumber(d.day, d.month, d.year) == 1;
    if (sunday) ++sundays;
    if (sundays < 3) continue;  // the fixed titles of the first two weeks
    const std::string expected = sunday ? "Неделя " + std::to_string(sundays) + "-я по Пятидесятнице"
                                        : "Седмица " + std::to_string(sundays + 1) + "-я по Пятидесятнице";
    ASSERT_EQ(Title(d.day, d.month, d.year), expected) << d.day << "." << d.month << "." << d.year;
  }
  EXPECT_EQ(sundays, 32);  // the last on 28 January 2001
  EXPECT_EQ(Title(4, 2, 2001), "Неделя о мытаре и фарисее");
}

// Over the whole range: Sundays and only Sundays are called "Неделя" (apart
// from Forgiveness Sunday, Pascha and Pentecost, which have names of their
// own), every title fits the 64-character buffer with room to spare, and the
// weeks after Pentecost never pass 38.
TEST(MoveableTitles, EveryDayOfTheRange) {
  const std::string week = "Неделя";
  std::size_t longest = 0;
  int highestWeek = 0;
  for (Date d{1, 1, 1800};; d = NextDay(d.day, d.month, d.year)) {
    char buffer[kTitleBufferSize];
    std::memset(buffer, 'x', sizeof buffer);
    MoveableDayTitle(d.day, d.month, d.year, buffer);
    const std::size_t length = std::strlen(buffer);
    ASSERT_LT(length, kTitleBufferSize);
    longest = std::max(longest, length);
    const std::string title = Cp1251ToUtf8(buffer);
    const bool sunday = WeekdayNumber(d.day, d.month, d.year) == 1;
    const bool named = title == "Прощеное воскресенье" ||
                       title == "Пасха. Светлое Христово Воскресение" ||
                       title == "День Святой Троицы. Пятидесятница";
    SCOPED_TRACE(std::to_string(d.day) + "." + std::to_string(d.month) + "." +
                 std::to_string(d.year) + " " + title);
    ASSERT_EQ(title.rfind(week, 0) == 0, sunday && !named);
    int n = 0;
    if (std::sscanf(buffer + (sunday ? 7 : 8), "%d", &n) == 1 &&
        title.find("по Пятидесятнице") != std::string::npos) {
      highestWeek = std::max(highestWeek, n);
    }
    if (d == Date{31, 12, 2100}) break;
  }
  EXPECT_EQ(longest, 48u);
  EXPECT_EQ(highestWeek, 38);
}

// Each fixed title of the cycle stands on its day in every year.
TEST(MoveableTitles, FixedTitlesAtTheirOffsets) {
  struct Row { int offset; const char* title; };
  const Row rows[] = {
      {-70, "Неделя о мытаре и фарисее"}, {-49, "Прощеное воскресенье"},
      {-8, "Лазарева суббота, воскрешение прав.Лазаря"}, {-1, "Великая Суббота"},
      {0, "Пасха. Светлое Христово Воскресение"}, {24, "Преполовение Пятидесятницы"},
      {39, "Вознесение Господне"}, {49, "День Святой Троицы. Пятидесятница"},
      {56, "Неделя 1-я по Пятидесятнице, всех святых"},
  };
  for (u16 year = 1800; year <= 2100; ++year) {
    const DayMonth p = PaschaNewStyle(year);
    for (const Row& r : rows) {
      const DayMonth d = ShiftDate(p.day, p.month, year, r.offset);
      ASSERT_EQ(Title(d.day, d.month, year), r.title) << year << " " << r.offset;
    }
  }
}

}  // namespace
}  // namespace velmar
