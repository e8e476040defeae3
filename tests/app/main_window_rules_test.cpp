// Rules of the main window that need no window: the Calendar page's day
// clamping, the Paschalion caption column, the shell messages.
#include <gtest/gtest.h>

#include <string>

#include "app/calendar_page.h"
#include "app/main_window_layout.h"
#include "app/shell_messages.h"
#include "calendar/cp1251.h"

namespace velmar {
namespace {

TEST(CalendarPage, MonthChangeMovesTheDayIntoTheTargetMonth) {
  struct Row { int day, monthIndex, expected; const char* what; };
  const Row rows[] = {
      {31, 1, 28, "31 January -> February"},
      {29, 1, 28, "29 February of a leap year -> February"},
      {30, 1, 28, "30 March -> February"},
      {28, 1, 28, "28th stays"},
      {31, 3, 30, "31 March -> April"},
      {31, 5, 30, "-> June"},
      {31, 8, 30, "-> September"},
      {31, 10, 30, "-> November"},
      {30, 3, 30, "30th stays in April"},
      {31, 4, 31, "31 March -> May"},
      {31, 0, 31, "-> January"},
      {31, 11, 31, "-> December"},
      {1, 1, 1, "1st anywhere"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(DayBeforeMonthChange(r.day, r.monthIndex), r.expected);
  }
}

TEST(CalendarPage, YearChangeClampsTheYearAndLeavesNoTwentyNinthOfFebruary) {
  struct Row { int field, day, month, year, newDay; const char* what; };
  const Row rows[] = {
      {1900, 29, 2, 1900, 28, "29 Feb 2000 -> 1900 (not leap)"},
      {2004, 29, 2, 2004, 29, "29 Feb 2000 -> 2004 keeps the 29th"},
      {2100, 29, 2, 2100, 28, "2100 is not leap"},
      {2150, 15, 6, 2100, 15, "above the range"},
      {1700, 15, 6, 1800, 15, "below the range"},
      {1700, 29, 2, 1800, 28, "1800 is not leap either"},
      {2001, 29, 3, 2001, 29, "29 March is no concern"},
      {2001, 28, 2, 2001, 28, "28 February stays"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    const YearChange change = YearChangeFor(r.field, r.day, r.month);
    EXPECT_EQ(change.year, r.year);
    EXPECT_EQ(change.day, r.newDay);
  }
}

TEST(MainWindowLayout, CaptionColumnFollowsTheOuterWidth) {
  EXPECT_EQ(PaschalionCaptionColumnWidth(371), 106);
  EXPECT_EQ(PaschalionCaptionColumnWidth(600), 335);
  EXPECT_FALSE(LongPaschalionCaptions(449));
  EXPECT_TRUE(LongPaschalionCaptions(450));
  EXPECT_EQ(Cp1251ToUtf8(PaschalionRowCaption(1, false)), "Мытаря");
  EXPECT_EQ(Cp1251ToUtf8(PaschalionRowCaption(1, true)), "Неделя о мытаре и фарисее");
  EXPECT_EQ(Cp1251ToUtf8(PaschalionRowCaption(5, false)), "ПАСХА");
  EXPECT_EQ(Cp1251ToUtf8(PaschalionRowCaption(8, true)), "Св. Троица (Пятидесятница)");
  EXPECT_EQ(Cp1251ToUtf8(PaschalionRowCaption(10, true)), "Длительность Петрова поста");
  EXPECT_TRUE(PaschalionRowCaption(0, false).empty());
  EXPECT_TRUE(PaschalionRowCaption(11, true).empty());
}

TEST(ShellMessages, DocumentMessagesNameTheFileOnlyWhenItIsMissing) {
  EXPECT_EQ(DocumentOpenMessage(2, "docs/nativity.html"), "File docs/nativity.html not found");
  EXPECT_EQ(DocumentOpenMessage(3, "docs/nativity.html"), "Path not found");
  EXPECT_EQ(DocumentOpenMessage(11, "x"), "Bad format");
  EXPECT_EQ(DocumentOpenMessage(31, "x"),
            "There is no application associated with the given filename extension.");
  EXPECT_EQ(DocumentOpenMessage(33, "x"), "");
  EXPECT_EQ(DocumentOpenMessage(0, "x"), "");
  EXPECT_EQ(ShellOpenMessage(2), "File not found");
  EXPECT_EQ(ShellOpenMessage(3), "Path not found");
  EXPECT_EQ(ShellOpenMessage(42), "");
}

TEST(ShellMessages, ReportsSayItInRussianWithTheFullPathAndKeepTheOriginalLine) {
  const std::string path = "/opt/velmar32/docs/nativity.html";
  const std::string none = Cp1251ToUtf8(DocumentOpenReport(31, "docs/nativity.html", Utf8ToCp1251(path)));
  EXPECT_EQ(none.rfind("Нет программы, которая открывает файлы такого типа: «" + path + "».", 0), 0u) << none;
  EXPECT_TRUE(none.ends_with("\n\nThere is no application associated with the given filename extension."));
  EXPECT_EQ(Cp1251ToUtf8(DocumentOpenReport(2, "docs/nativity.html", Utf8ToCp1251(path))),
            "Не найден файл «" + path + "».\n\nFile docs/nativity.html not found");
  EXPECT_EQ(DocumentOpenReport(33, "docs/nativity.html", path), "");
  const std::string editor = Cp1251ToUtf8(SettingsEditReport(31, "/home/u/.config/velmar32/Velmar32.ini"));
  EXPECT_NE(editor.find("Не найден текстовый редактор"), std::string::npos);
  EXPECT_NE(editor.find("«/home/u/.config/velmar32/Velmar32.ini»"), std::string::npos);
  EXPECT_TRUE(editor.ends_with("\n\nThere is no application associated with the given filename extension."));
  EXPECT_TRUE(Cp1251ToUtf8(SettingsEditReport(2, "x")).ends_with("\n\nFile not found"));
  EXPECT_EQ(SettingsEditReport(0, "x"), "");
}

}  // namespace
}  // namespace velmar
