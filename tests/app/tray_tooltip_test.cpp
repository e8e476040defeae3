#include "app/tray_tooltip.h"

#include <gtest/gtest.h>

namespace velmar {
namespace {

TEST(TrayToolTip, NamesTheDayInBothStylesWithItsFeastAndFast) {
  EXPECT_EQ(TrayToolTip(7, 1, 2025, "Рождество Господа Бога и Спаса нашего Иисуса Христа", "Поста нет"),
            "Днесловник\nВторник, 7 января 2025 г. (25 декабря ст.ст.)\n"
            "Рождество Господа Бога и Спаса нашего Иисуса Христа\nПоста нет");
  // The old-style date of another year and month; no fast note.
  EXPECT_EQ(TrayToolTip(13, 1, 2001, "Прп. Мелании Римляныни", ""),
            "Днесловник\nСуббота, 13 января 2001 г. (31 декабря ст.ст.)\nПрп. Мелании Римляныни");
  EXPECT_EQ(TrayToolTip(1, 9, 2024, "", ""), "Днесловник\nВоскресенье, 1 сентября 2024 г. (19 августа ст.ст.)");
}

TEST(TrayToolTip, ALongCommemorationIsOneLineCutAtAWord) {
  std::string chief;
  for (int i = 0; i < 30; ++i) chief += "Мчч.  Иоанна\n";
  const std::string tip = TrayToolTip(7, 1, 2025, chief, " \tПоста нет \r\n");
  const std::size_t start = tip.find('\n', tip.find('\n') + 1) + 1;
  const std::size_t end = tip.find('\n', start);
  const std::string line = tip.substr(start, end - start);
  EXPECT_TRUE(line.starts_with("Мчч. Иоанна Мчч. Иоанна"));
  // Cut between words: what is kept is followed by a blank in the whole line.
  ASSERT_TRUE(line.ends_with("…")) << line;
  std::string whole;
  for (int i = 0; i < 30; ++i) whole += (i > 0 ? " " : "") + std::string("Мчч. Иоанна");
  const std::string kept = line.substr(0, line.size() - std::string("…").size());
  EXPECT_EQ(whole.compare(0, kept.size(), kept), 0);
  EXPECT_EQ(whole[kept.size()], ' ');
  std::size_t chars = 0;
  for (const char c : line) chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  EXPECT_LE(chars, kToolTipLineChars + 1);
  EXPECT_GT(chars, kToolTipLineChars - 15);
  EXPECT_EQ(tip.substr(end + 1), "Поста нет");
  // Exactly at the limit nothing is cut.
  const std::string hundred(kToolTipLineChars, 'x');
  EXPECT_TRUE(TrayToolTip(7, 1, 2025, hundred, "").ends_with("\n" + hundred));
}

}  // namespace
}  // namespace velmar
