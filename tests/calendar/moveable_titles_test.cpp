#include "calendar/moveable_titles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "calendar/paschalion.h"
#include "texts/cp1251.h"

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
