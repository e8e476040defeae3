#include "reports/paschalion_table.h"

#include <gtest/gtest.h>

#include "calendar/paschalion.h"
#include "day_test_support.h"

namespace velmar {
namespace {

std::string Row(u16 year, bool oldStyle) {
  const auto column = PaschalionGridColumn(year, oldStyle);
  std::string joined;
  for (std::size_t i = 1; i < column.size(); ++i) {
    if (i > 1) joined += ", ";
    joined += Cp1251ToUtf8(column[i]);
  }
  return joined;
}

TEST(PaschalionTable, KnownYears) {
  // Rows 1..10 of the grid: -70, -56, -49, -7, Pascha, +24, +39, +49, +56, fast.
  EXPECT_EQ(Row(2000, false), "20 Фв, 5 Мр, 12 Мр, 23 Ап, 30 Ап, 24 Мая, 8 Ин, 18 Ин, 25 Ин, 16 дн.");
  EXPECT_EQ(Row(2000, true), "7 Фв, 21 Фв, 28 Фв, 10 Ап, 17 Ап, 11 Мая, 26 Мая, 5 Ин, 12 Ин, 16 дн.");
  EXPECT_EQ(Row(1900, true), "30 Ян, 13 Фв, 20 Фв, 2 Ап, 9 Ап, 3 Мая, 18 Мая, 28 Мая, 4 Ин, 24 дн.");
  EXPECT_EQ(Row(1900, false), "11 Фв, 25 Фв, 4 Мр, 15 Ап, 22 Ап, 16 Мая, 31 Мая, 10 Ин, 17 Ин, 24 дн.");
  EXPECT_EQ(Row(2026, false), "1 Фв, 15 Фв, 22 Фв, 5 Ап, 12 Ап, 6 Мая, 21 Мая, 31 Мая, 7 Ин, 34 дн.");
  // The fast ends on 28 June old style: 33 days in 1000, not 34.
  EXPECT_EQ(Row(1000, true), "21 Ян, 4 Фв, 11 Фв, 24 Мр, 31 Мр, 24 Ап, 9 Мая, 19 Мая, 26 Мая, 33 дн.");
  EXPECT_EQ(Cp1251ToUtf8(PaschalionGridColumn(2000, false)[0]), "2000 г.");
}

TEST(PaschalionTable, MonthAbbreviationsAndOffsets) {
  const char* const names[] = {"", "Ян", "Фв", "Мр", "Ап", "Мая", "Ин", "Ил", "Ав", "Ст", "Окт", "Нб", "Дк"};
  ASSERT_EQ(PaschalionMonthAbbreviations.size(), std::size(names));
  for (std::size_t i = 0; i < PaschalionMonthAbbreviations.size(); ++i)
    EXPECT_EQ(Cp1251ToUtf8(PaschalionMonthAbbreviations[i]), names[i]) << i;
  const int offsets[] = {-70, -56, -49, -7, 0, 24, 39, 49, 56};
  ASSERT_EQ(kPaschalionOffsets.size(), std::size(offsets));
  for (std::size_t i = 0; i < kPaschalionOffsets.size(); ++i) EXPECT_EQ(kPaschalionOffsets[i], offsets[i]);
  EXPECT_EQ(Cp1251ToUtf8(PaschalionDateText({31, 12})), "31 Дк");
  EXPECT_EQ(Cp1251ToUtf8(PaschalionDateText({0, 0})), "0 ");  // a shift out of the year
}

// The fast counted day by day, from the Monday after All Saints to the eve of
// the Apostles' feast (28 June old style, as a new-style date), in every year;
// the same number in both styles.
TEST(PaschalionTable, FastLengthEveryYear) {
  int shortest = 100, longest = 0;
  for (u16 year = 1800; year <= 2100; ++year) {
    const DayMonth p = PaschaNewStyle(year);
    const DayMonth monday = ShiftDate(p.day, p.month, year, 57);
    const DayMonth eve = OldToNewStyle(28, 6, year);
    int days = 1;
    for (Date d{monday.day, monday.month, year}; !(d.day == eve.day && d.month == eve.month);
         d = NextDay(d.day, d.month, d.year))
      ++days;
    ASSERT_EQ(PaschalionDates(year, false).fastLength, days) << year;
    ASSERT_EQ(PaschalionDates(year, true).fastLength, days) << year;
    shortest = std::min(shortest, days);
    longest = std::max(longest, days);
  }
  EXPECT_EQ(shortest, 8);
  EXPECT_EQ(longest, 42);
  for (u16 year = 326; year <= 2326; ++year)
    ASSERT_LE(PaschalionDates(year, true).fastLength, 42) << year;
  EXPECT_EQ(PaschalionDates(1668, true).fastLength, 42);  // Pascha on 22 March old style
}

// Old-style dates of the table step over old-style months: every column sits
// at its offset from Pascha in Julian days.
TEST(PaschalionTable, OldStyleColumnsAtTheirOffsets) {
  for (u16 year = 326; year <= 2326; year += 7) {
    const PaschalionYear y = PaschalionDates(year, true);
    const DayMonth p = PaschaOldStyle(year);
    const long ps = JulianToSerial(year, p.month, p.day);
    for (std::size_t i = 0; i < kPaschalionOffsets.size(); ++i)
      ASSERT_EQ(JulianToSerial(year, y.dates[i].month, y.dates[i].day) - ps, kPaschalionOffsets[i])
          << year << " " << i;
  }
}

TEST(PaschalionTable, YearLimits) {
  EXPECT_EQ(ClampGridYear(2099), 2097);
  EXPECT_EQ(ClampGridYear(1700), 1800);
  EXPECT_EQ(ClampGridYear(1950), 1950);
  int first = 1700, last = 1600;
  ClampPaschalionYears(first, last, false);
  EXPECT_EQ(first, 1800);
  EXPECT_EQ(last, 1800);
  first = 300, last = 3000;
  ClampPaschalionYears(first, last, true);
  EXPECT_EQ(first, 326);
  EXPECT_EQ(last, 2326);
  first = 2200, last = 2300;
  ClampPaschalionYears(first, last, false);
  EXPECT_EQ(first, 2100);
  EXPECT_EQ(last, 2100);
}

TEST(PaschalionTable, ReportDocument) {
  ResetSettings();
  const std::string one = testing::Capture([] { WritePaschalionDocument(2000, 2000, false); });
  EXPECT_NE(one.find("\n\\b1   Православная Пасхалия\\b0  (2000 - 2000 гг.) "
                     "по Григорианскому календарю (н.ст.)\\par\n  Составлено"),
            std::string::npos);
  EXPECT_NE(one.find("\n\\trowd\\trgaph100\\cellx900\\cellx1800\\cellx2700\\cellx3600\\cellx4500"
                     "\\cellx5400\\cellx6300\\cellx7200\\cellx8100\\cellx9000\n\\pard"
                     "\n\\intbl \\b гг.\\cell Мыт.\\cell Мясоп.\\cell Прощ.\\cell Ваий\\cell "
                     "\\cf1Пасха\\cf0\\cell Преп.\\cell Возн.\\cell Пятид.\\cell \\cf0 П.пост\\b0\\cell\\row"
                     "\n\\intbl\\b 2000\\b0\\cell 20 Фв\\cell 5 Мр\\cell 12 Мр\\cell 23 Ап\\cell "
                     "\\cf1 30 Ап\\cf0\\cell 24 Мая\\cell 8 Ин\\cell 18 Ин\\cell \\cf0 16 дн.\\cell\\row"
                     "\n\\pard\n\\par\n\\fs19\n  \\b Мыт.\\b0  - Неделя о Мытаре и фарисее\\par"),
            std::string::npos);
  // The column holds Meatfare Sunday, and so its legend says.
  EXPECT_NE(one.find("\n  \\b Мыт.\\b0  - Неделя о Мытаре и фарисее\\par"
                     "\n  \\b Мясоп.\\b0  - Неделя мясопустная\\par"
                     "\n  \\b Прощ.\\b0  - Прощенное воскресенье\\par"),
            std::string::npos);
  EXPECT_EQ(one.rfind("\n  \\cf0\\b П.пост\\b0  - продолжительность Петрова поста\\par\n\\par\n}"),
            one.size() - std::string("\n  \\cf0\\b П.пост\\b0  - продолжительность Петрова поста"
                                     "\\par\n\\par\n}").size());
  const std::string old = testing::Capture([] { WritePaschalionDocument(1000, 1000, true); });
  EXPECT_NE(old.find("(1000 - 1000 гг.) по Юлианскому календарю (ст.ст.)\\par"), std::string::npos);
  EXPECT_NE(old.find("\\cf1 31 Мр\\cf0\\cell 24 Ап\\cell 9 Мая\\cell 19 Мая\\cell \\cf0 33 дн."),
            std::string::npos);
  const std::string all = testing::Capture([] { WritePaschalionDocument(1800, 2100, false); });
  std::size_t rows = 0;
  for (std::size_t at = all.find("\n\\intbl\\b "); at != std::string::npos;
       at = all.find("\n\\intbl\\b ", at + 1))
    ++rows;
  EXPECT_EQ(rows, 301u);
  const std::string none = testing::Capture([] { WritePaschalionDocument(2001, 2000, false); });
  EXPECT_EQ(none.find("\n\\intbl\\b "), std::string::npos);
}

}  // namespace
}  // namespace velmar
