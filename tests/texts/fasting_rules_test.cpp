// The rules file Fasting.db on small hand-made files: periods, selectors,
// precedence, the entry codes of a day, bad lines, the setting, and the fast
// note in the documents.
#include "texts/fasting_rules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "day_test_support.h"
#include "platform/messages.h"
#include "reports/period_calendar.h"
#include "texts/database_cache.h"
#include "texts/day_entries.h"
#include "texts/day_views.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;
using testing::Capture;

constexpr const char* kBadLine = "Error in input file Fasting.db.";

struct Day {
  u16 year, month, day;  // new style
  const char* note;      // UTF-8; "" for none
};

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Writes a database file from UTF-8 lines joined by CR LF.
void WriteDatabaseFile(const fs::path& path, const std::string& utf8) {
  std::string crlf;
  for (const char c : Utf8ToCp1251(utf8)) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  WriteBytes(path, crlf);
}

class FastingRulesTest : public ::testing::Test {
 protected:
  FastingRulesTest() { fs::create_directories(dir_.path() / "dbase"); }
  void Rules(const std::string& utf8) { WriteDatabaseFile(Dbase() / "Fasting.db", utf8); }
  fs::path Dbase() const { return dir_.path() / "dbase"; }
  static std::string Note(u16 year, u16 month, u16 day) {
    return Cp1251ToUtf8(FastNote(day, month, year));
  }
  void ExpectDays(const std::vector<Day>& days) {
    for (const Day& d : days) {
      SCOPED_TRACE(std::to_string(d.year) + "-" + std::to_string(d.month) + "-" +
                   std::to_string(d.day));
      EXPECT_EQ(Note(d.year, d.month, d.day), d.note);
    }
  }
  testing::TempProgramDir dir_;
  RecordingMessageSink messages_;
};

TEST_F(FastingRulesTest, TheLastMatchingRuleOfTheFileWins) {
  Rules("[01.01-31.12] весь год\n"
        "Ср Пт=Постный день\n"
        "Ср=Среда\n"
        "[10.01-20.01] после\n"
        "Все=Период\n");
  ExpectDays({
      {2024, 1, 3, "Среда"},          // 21 Dec: the later line of the section
      {2024, 1, 5, "Постный день"},   // a Friday
      {2024, 1, 22, ""},              // 9 Jan, a Monday: no rule
      {2024, 1, 23, "Период"},        // 10 Jan: the later section
      {2024, 1, 24, "Период"},        // 11 Jan, a Wednesday
      {2024, 2, 2, "Период"},         // 20 Jan, its last day
      {2024, 2, 3, ""},               // 21 Jan, a Saturday
  });
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(FastingRulesTest, PeriodsFromPaschaToAFixedDateAndOverTheYearEnd) {
  Rules("[+57..28.06] Петров пост\n"
        "Все=Пост\n"
        "[20.12..-70]\n"
        "Все=До мытаря\n");
  ExpectDays({
      // Pascha 5 May 2024: All Saints 30 June, the fast 1..11 July.
      {2024, 6, 30, ""},
      {2024, 7, 1, "Пост"},
      {2024, 7, 11, "Пост"},  // 28 June old style
      {2024, 7, 12, ""},
      // Pascha 4 April 2010: the fast 31 May..11 July.
      {2010, 5, 30, ""},
      {2010, 5, 31, "Пост"},
      {2010, 7, 11, "Пост"},
      {2010, 7, 12, ""},
      // From 20 December (old style) to the Sunday of the Publican, 25 Feb 2024.
      {2024, 1, 1, ""},  // 19 Dec 2023
      {2024, 1, 2, "До мытаря"},
      {2024, 2, 25, "До мытаря"},
      {2024, 2, 26, ""},
  });
}

TEST_F(FastingRulesTest, OneDayPeriodsAndTheTwentyNinthOfFebruary) {
  Rules("[29.02]\nВсе=Високосный день\n"
        "[29.02..05.03]\nПн Вт=Начало марта\n"
        "[+0]\nВсе=Пасха\n"
        "[-0]\nВс=Тоже Пасха\n"
        "[20.02-29.02]\nЧт=Конец февраля\n");
  ExpectDays({
      {2024, 3, 13, "Високосный день"},  // 29 Feb 2024 old style
      {2023, 3, 13, ""},                 // 28 Feb 2023, a Monday
      {2023, 3, 14, "Начало марта"},     // 1 Mar 2023, a Tuesday: the period starts here
      {2024, 5, 5, "Тоже Пасха"},
      {2024, 5, 6, ""},
      {2030, 3, 7, "Конец февраля"},     // 22 Feb 2030 old style, a Thursday
      {2030, 3, 14, ""},                 // 1 Mar 2030, a Thursday: in a common year "29.02" ends on the 28th
  });
}

TEST_F(FastingRulesTest, WeekdaySelectors) {
  Rules("[01.01-31.12]\n"
        "Все=Всякий день\n"
        "пн-ср=Начало\n"
        "Сб-Вс=Конец\n"
        "Вт,Чт=Вторник или четверг\n");
  ExpectDays({
      {2024, 1, 15, "Начало"},
      {2024, 1, 16, "Вторник или четверг"},
      {2024, 1, 17, "Начало"},
      {2024, 1, 18, "Вторник или четверг"},
      {2024, 1, 19, "Всякий день"},
      {2024, 1, 20, "Конец"},
      {2024, 1, 21, "Конец"},
  });
}

TEST_F(FastingRulesTest, CancelledWednesdayAndFriday) {
  Rules("[01.01-31.12]\nСр Пт=Постный день\n"
        "[25.12-04.01] Святки\nСр Пт=\n"
        "[-6..-1]\nСр=Сухоядение\n");
  ExpectDays({
      {2024, 1, 3, "Постный день"},  // 21 Dec
      {2024, 1, 10, ""},             // 28 Dec: the empty rule wins
      {2024, 1, 12, ""},
      {2024, 1, 17, ""},             // 4 Jan, the last day of the period
      {2024, 1, 19, "Постный день"},
      {2024, 5, 1, "Сухоядение"},    // Wednesday of Holy Week 2024
  });
}

// Codes 4..6 among the entries of Easter.db, Epiphany.db and the month file.
TEST_F(FastingRulesTest, TheRankOfTheDayRelaxesTheFast) {
  Rules("[01.01-31.12]\n"
        "Ср Пт=Постный день\n"
        "Ср Пт Код 4=Масло\n"
        "Ср Пт код 5,6=Рыба\n");
  WriteDatabaseFile(Dbase() / "January.db",
                    "[4]\n4=Полиелей\n"
                    "[6]\n0=Память\n6=Праздник\n"
                    "[11]\n1=Без знака\n"
                    "[13]\n5 строка без знака равенства\n");
  WriteDatabaseFile(Dbase() / "Easter.db", "[+10]\n5=Бдение\n");
  // A section of weekday 0 matches no day: its code counts nowhere.
  WriteDatabaseFile(Dbase() / "Epiphany.db",
                    "[4 - 18.01]\n6=Праздник по дню недели\n[0 - 00.00]\n5=Ни в один день\n");
  ExpectDays({
      {2024, 1, 17, "Масло"},         // 4 Jan: code 4 in the month file
      {2024, 1, 19, "Рыба"},          // 6 Jan: codes 0 and 6
      {2024, 1, 24, "Постный день"},  // 11 Jan: code 1
      {2024, 1, 26, "Постный день"},  // 13 Jan: a line without "=" is no entry
      {2024, 5, 15, "Рыба"},          // 10 days after Pascha: Easter.db
      {2024, 1, 31, "Рыба"},          // a Wednesday on 18 Jan: Epiphany.db
  });
  // Only the writers of the entries speak of their files.
  EXPECT_TRUE(messages_.texts.empty());
  fs::remove(Dbase() / "Easter.db");
  EXPECT_EQ(Note(2024, 5, 15), "Постный день");
  EXPECT_TRUE(messages_.texts.empty());
}

// Each header or entry in a file of its own with one sound rule after it.
TEST_F(FastingRulesTest, EachBadLineIsReportedOnceAndPassedOver) {
  struct Row {
    const char* lines;  // UTF-8, before "[01.01-31.12]\nПт=Пятница"
    int bad;
    const char* wednesday;  // note of Wednesday 17 January 2024 (4 Jan old style)
  };
  const Row rows[] = {
      {"[01.01-31.12]\nСр=Да\n", 0, "Да"},
      {"[ 1.1 - 31.12 ] с названием\nСр=Да\n", 0, "Да"},
      {"[01.01..31.12]\nСр=Да\n", 0, "Да"},
      {"[25.12–10.01]\nСр=Да\n", 0, "Да"},  // an en dash
      {"[-365--1]\nСр=Да\n", 0, "Да"},
      {"[+0..+366]\nСр=Да\n", 0, "Да"},
      {"[04.01]\n=Да\n", 0, "Да"},           // an empty selector: every day
      {"[04.01]\nКод0-6 Ср=Да\n", 0, ""},    // no entries here, so no codes at all
      {"Ср=Нет\n", 1, ""},                   // before the first header
      {"[01.01-31.12\nСр=Нет\n", 1, ""},     // no "]": the section's lines go with it
      {"[31.02]\nСр=Нет\n", 1, ""},
      {"[30.13]\nСр=Нет\n", 1, ""},
      {"[0.01]\nСр=Нет\n", 1, ""},
      {"[+367]\nСр=Нет\n", 1, ""},
      {"[48]\nСр=Нет\n", 1, ""},
      {"[-48 -1]\nСр=Нет\n", 1, ""},
      {"[01.01-]\nСр=Нет\n", 1, ""},
      {"[]\nСр=Нет\n", 1, ""},
      {"[1.1.1]\nСр=Нет\n", 1, ""},
      {"[+5..+6..+7]\nСр=Нет\n", 1, ""},
      {"[001.01]\nСр=Нет\n", 1, ""},
      {"[01.01-31.12]\nСр Нет\n", 1, ""},
      {"[01.01-31.12]\nСреда=Нет\n", 1, ""},
      {"[01.01-31.12]\nКод=Нет\n", 1, ""},
      {"[01.01-31.12]\nКод 7=Нет\n", 1, ""},
      {"[01.01-31.12]\nКод 6-4=Нет\n", 1, ""},
      {"[01.01-31.12]\nКод 4 Ср 5=Нет\n", 1, ""},  // a weekday ends the codes
      {"[01.01-31.12]\nСр-=Нет\n", 1, ""},
      {"[01.01-31.12]\n3=Нет\n", 1, ""},
      {"[01.01-31.12]\nСр=Да\nСр Ы=Нет\n[x]\nСр=Нет\n", 2, "Да"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.lines);
    messages_.texts.clear();
    Rules(std::string(row.lines) + "[01.01-31.12]\nПт=Пятница\n");
    EXPECT_EQ(Note(2024, 1, 17), row.wednesday);
    EXPECT_EQ(Note(2024, 1, 19), "Пятница");
    EXPECT_EQ(messages_.texts, std::vector<std::string>(2 * row.bad, kBadLine));
  }
}

TEST_F(FastingRulesTest, LongLinesNulBytesAndLoneCarriageReturns) {
  std::string bytes = "[01.01-31.12]\r\nAll=" + std::string(5000, 'x') + "\r\n";
  bytes += std::string("\0\0[\r\r\n", 6) + "=" + std::string(3000, '[') + "\n\r";
  WriteBytes(Dbase() / "Fasting.db", bytes);
  FastingRules rules;
  ASSERT_TRUE(rules.Read((Dbase() / "Fasting.db").string()));
  EXPECT_GT(rules.BadLines(), 0);
  for (u16 day = 1; day <= 31; ++day) {
    const std::string* note = rules.NoteFor(day, 1, 2024, nullptr);
    if (note != nullptr) {
      EXPECT_LE(note->size(), 2047u);
    }
  }
}

TEST_F(FastingRulesTest, NoFileOrFastingNoShowsNothing) {
  EXPECT_EQ(Note(2024, 1, 17), "");
  EXPECT_TRUE(messages_.texts.empty());
  Rules("[01.01-31.12]\nСр=Да\nплохая строка\n");
  const auto loadIni = [&](const std::string& text) {
    ResetSettings();
    WriteBytes(dir_.path() / "Velmar32.ini", text);
    LoadSettings();
  };
  loadIni("Fasting=no\r\n");  // only "No" switches it off
  EXPECT_EQ(Note(2024, 1, 17), "Да");
  EXPECT_EQ(messages_.texts, std::vector<std::string>{kBadLine});
  messages_.texts.clear();
  loadIni("Fasting=Never\r\n");
  EXPECT_EQ(messages_.texts, std::vector<std::string>{"Error in Velmar32.ini file"});
  EXPECT_TRUE(AppSettings.fasting);
  messages_.texts.clear();
  loadIni("WindowsNT=No\r\nFasting=No\r\n");
  EXPECT_FALSE(AppSettings.fasting);
  EXPECT_EQ(Note(2024, 1, 17), "");
  EXPECT_TRUE(messages_.texts.empty());  // the file isn't even read
}

TEST_F(FastingRulesTest, ReadOncePerSnapshotScope) {
  Rules("[01.01-31.12]\nВсе=Первое\nнеизвестно=\n");
  {
    DatabaseSnapshot scope;
    EXPECT_EQ(Note(2024, 1, 1), "Первое");
    Rules("[01.01-31.12]\nВсе=Второе\n");
    for (u16 day = 2; day <= 31; ++day) EXPECT_EQ(Note(2024, 1, day), "Первое");
    EXPECT_EQ(messages_.texts, std::vector<std::string>{kBadLine});
  }
  EXPECT_EQ(Note(2024, 1, 1), "Второе");
}

// The fast note as the last entry of the documents, and nothing at all
// without the file or with Fasting=No.
class FastNoteDocumentsTest : public ::testing::Test {
 protected:
  FastNoteDocumentsTest() : dir_(testing::Fixture("grammar")) { DayColour = "\\cf0"; }
  void Rules(const std::string& utf8) { WriteDatabaseFile(dir_.path() / "dbase" / "Fasting.db", utf8); }
  testing::TempProgramDir dir_;
  RecordingMessageSink messages_;
};

// Old-style 5 January of the fixture: Thursday 18 January 2001.
const std::string kCalendarPage =
    std::string(testing::kDefaultPrologue) +
    "\n\\cf0\\b1   Четверг, 18 Января 2001 г. (5 Янв ст.ст.)\\par"
    "\n  Седмица 31-я по Пятидесятнице, глас 5\\b0\\par"
    "\n\\par"
    "\n\\f3  · \\f2 Zero five\\par"
    "\n\\f3\\cf1  + \\cf0\\f2 Четыре пять\\par"
    "\n\\cf4\\f3  · \\f2 Class q five\\cf0\\par"
    "\n\\f3\\cf1 (+)\\cf0\\f2 Five again\\par";

TEST_F(FastNoteDocumentsTest, CalendarPageByteForByte) {
  const auto page = [] { return Capture([] { WriteCalendarDayDocument(2001, 1, 18); }); };
  EXPECT_EQ(page(), kCalendarPage + "\n}");
  Rules("[05.01]\nЧт Код 6=\\b Крещенский\\b0  сочельник\n");
  EXPECT_EQ(page(), kCalendarPage + "\n\\f3  · \\f2 \\b Крещенский\\b0  сочельник\\par" + "\n}");
  AppSettings.fasting = false;
  EXPECT_EQ(page(), kCalendarPage + "\n}");
  AppSettings.fasting = true;
  AppSettings.agiosLine = "No";
  EXPECT_TRUE(page().ends_with("Five again\n \\b Крещенский\\b0  сочельник\n}")) << page();
  // An empty text: no entry, not even its separator.
  AppSettings.agiosLine = "Yes";
  Rules("[05.01]\nВсе=\n");
  EXPECT_EQ(page(), kCalendarPage + "\n}");
}

TEST_F(FastNoteDocumentsTest, TodayPageAndPeriodCalendar) {
  Rules("[01.01-31.12]\nЧт=Четверг\n");
  const std::string today = Capture([] { WritePageDayDocument(18, 1, 2001, 5); });
  EXPECT_TRUE(today.ends_with("Five again\\par\n\\f3  · \\f2 Четверг\\par\n}")) << today;
  DayColour = "\\cf0";
  const std::string period = Capture([] { WritePeriodCalendarDocument({{17, 1, 2001}, {19, 1, 2001}}); });
  EXPECT_EQ(testing::Count(period, "Четверг\\par"), 1u);
  EXPECT_NE(period.find("Five again\\par\n\\f3  · \\f2 Четверг\\par\n\\par\\par\n"),
            std::string::npos);
}

}  // namespace
}  // namespace velmar
