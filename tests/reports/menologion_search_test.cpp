#include "reports/menologion_search.h"

#include <gtest/gtest.h>

#include "day_test_support.h"
#include "platform/messages.h"
#include "texts/database.h"

namespace velmar {
namespace {

using testing::Capture;

using testing::Count;

TEST(MenologionSearch, PluralEndings) {
  struct Row { long count; const char* word; };
  const Row rows[] = {{0, "совпадений"},  {1, "совпадение"},  {3, "совпадения"}, {5, "совпадений"},
                      {11, "совпадений"}, {12, "совпадений"}, {21, "совпадение"}, {22, "совпадения"},
                      {111, "совпадений"}, {104, "совпадения"}, {1000, "совпадений"}};
  for (const Row& r : rows) EXPECT_EQ(Cp1251ToUtf8(PluralMatchesWord(r.count)), r.word) << r.count;
  EXPECT_EQ(Capture([] { PluralMatches(2); }), "совпадения\\par");
}

TEST(MenologionSearch, HeadingsUseTheCalendarYear) {
  EXPECT_EQ(Cp1251ToUtf8(SearchDayHeading(25, 12, 2000)), "7 Января (25 Декабря ст.ст.)");
  EXPECT_EQ(Cp1251ToUtf8(SearchDayHeading(25, 12, 1850)), "6 Января (25 Декабря ст.ст.)");
  EXPECT_EQ(Cp1251ToUtf8(SearchDayHeading(6, 12, 2000)), "19 Декабря (6 Декабря ст.ст.)");
}

class SearchTest : public ::testing::Test {
 protected:
  SearchTest() : dir_(testing::Fixture("grammar")) {
    // The fixture has only January; the other months are empty files.
    for (int m = 2; m <= 12; ++m)
      std::ofstream(dir_.path() / "dbase" / std::string(MonthFileNames[m]));
  }
  testing::TempProgramDir dir_;
  RecordingMessageSink messages_;
};

TEST_F(SearchTest, ReportListsMatchesByDay) {
  const std::string text(Utf8ToCp1251("Авраам"));
  std::string out;
  long count = 0;
  out = Capture([&] { count = WriteSearchDocument(text, 2000); });
  EXPECT_EQ(count, 2);  // two lines of one day
  EXPECT_NE(out.find("\n\\par\n  \\b 25 Января (12 Января ст.ст.)\\b0\\par"
                     "\\f3  • \\f2 Twelve \\cf1 \\b Авраам\\b0 \\cf0  and Авраам\\par"
                     "\\cf4\\f3  · \\f2 Grey \\cf1 \\b Авраам\\b0 \\cf4  here\\cf0 \\par"),
            std::string::npos);
  EXPECT_NE(out.find("\n  Всего: 2 совпадения\\par\n\\par\n\\fs19"), std::string::npos);
  EXPECT_EQ(Count(out, "25 Января"), 1u);
  EXPECT_TRUE(messages_.texts.empty());
}

// The whole report file, byte for byte: title, credits, one day with two
// matches (a rank and a grey additional class), the total and the legend.
TEST_F(SearchTest, ReportFileByteForByte) {
  const std::string legend = Capture(WriteSignLegend);
  WriteSearchReport(Utf8ToCp1251("Авраам"), 2000);
  const std::string file = Cp1251ToUtf8(testing::ReadFileBytes(dir_.path() / "velmar32.tmp"));
  EXPECT_EQ(file,
            std::string(testing::kDefaultPrologue) +
                "\n\\b1   Поиск в святцах по строке \"Авраам\"\\b0\\par" +
                "\n  Составлено при помощи «Днесловника»\\par"
                "\n  (c) Команда разработчиков Velmar32, "
                "версия 2.0 pre-release 278\\par"
                "\n  ——————————————————————————————\\par"
                "\n\\par"
                "\n\\par"
                "\n  \\b 25 Января (12 Января ст.ст.)\\b0\\par"
                "\\f3  • \\f2 Twelve \\cf1 \\b Авраам\\b0 \\cf0  and Авраам\\par"
                "\\cf4\\f3  · \\f2 Grey \\cf1 \\b Авраам\\b0 \\cf4  here\\cf0 \\par"
                "\n\\par"
                "\n\\par"
                "\n  ————————————————————————————————\\par"
                "\n  Всего: 2 совпадения\\par"
                "\n\\par" +
                legend + "\n}");
  EXPECT_TRUE(messages_.texts.empty());
  // A text out of range writes nothing: the file keeps the last report.
  const std::string before = testing::ReadFileBytes(dir_.path() / "velmar32.tmp");
  WriteSearchReport("x", 2000);
  WriteSearchReport(std::string(63, 'x'), 2000);
  EXPECT_EQ(testing::ReadFileBytes(dir_.path() / "velmar32.tmp"), before);
  WriteSearchReport(std::string(62, 'x'), 2000);
  EXPECT_NE(testing::ReadFileBytes(dir_.path() / "velmar32.tmp"), before);
  EXPECT_TRUE(SearchTextLengthOk("ab"));
  EXPECT_FALSE(SearchTextLengthOk("a"));
  EXPECT_TRUE(SearchTextLengthOk(std::string(62, 'a')));
  EXPECT_FALSE(SearchTextLengthOk(std::string(63, 'a')));
  EXPECT_EQ(SearchSaints(std::string(63, 'x'), 2000).count, 0);
  EXPECT_EQ(SearchSaints(std::string(62, 'A'), 2000).count, 1);  // day 9's long line
  dir_.MakeUnwritable();
  WriteSearchReport("Two", 2000);
  EXPECT_EQ(messages_.texts, std::vector<std::string>{"Cannot open temporary output file."});
}

TEST_F(SearchTest, CaseWordsBeforeEqualsAndLinesWithoutIt) {
  EXPECT_EQ(SearchSaints(Utf8ToCp1251("авраам"), 2000).count, 0);  // case-sensitive
  // Seen only before "=": counted and listed, nothing marked.
  std::string out = Capture([] { WriteSearchDocument("search-only", 2000); });
  EXPECT_NE(out.find("\\f3\\cf1  + \\cf0\\f2 Четыре пять\\par"), std::string::npos);
  EXPECT_NE(out.find("Всего: 1 совпадение"), std::string::npos);
  // A matching line without "=" counts but writes nothing.
  out = Capture([] { WriteSearchDocument("no equals", 2000); });
  EXPECT_NE(out.find("Всего: 1 совпадение"), std::string::npos);
  EXPECT_EQ(out.find("no equals sign"), std::string::npos);
}

TEST_F(SearchTest, TitleEscapesRtfCharacters) {
  const std::string out = Capture([] { WriteSearchDocument("a{b}\\c", 2000); });
  EXPECT_NE(out.find("по строке \"a\\{b\\}\\\\c\"\\b0\\par"), std::string::npos);
}

TEST_F(SearchTest, SaintsPageUsesTheSameLineRules) {
  // "[1]" is followed by the header "[2]": "Two" belongs to day 2.
  const SaintsSearchResult two = SearchSaints("Two", 2000);
  ASSERT_EQ(two.items.size(), 1u);
  EXPECT_EQ(Cp1251ToUtf8(two.items[0]), "15 Января (2 Января ст.ст.)");
  EXPECT_EQ(two.months, std::vector<int>{1});
  // A line with a leading blank is never an entry.
  EXPECT_EQ(SearchSaints("leading blank", 2000).count, 0);
  const SaintsSearchResult five = SearchSaints("five", 2000);
  EXPECT_EQ(five.items.size(), 1u);
  EXPECT_EQ(five.count, 2);  // "Zero five", "Class q five"; class "a" isn't searched
  EXPECT_EQ(SearchSaints("x", 2000).count, 0);  // too short
}

// The searches read lines in pieces of 1023 characters; text at character
// 1024 starts a piece that is matched as a line of its own.
TEST_F(SearchTest, LongLinesAreSearchedInPiecesOf1023Characters) {
  std::ofstream(dir_.path() / "dbase" / "February.db", std::ios::binary)
      << "[3]\n1=" << std::string(1021, 'y') << "1=Zebra\n"
      << "[4]\n1=" << std::string(1020, 'y') << "1=Zebra\n"
      << "[5]\n1=" << std::string(1019, 'y') << "Zeb" << "ra\n";
  const SaintsSearchResult found = SearchSaints("Zebra", 2000);
  ASSERT_EQ(found.items.size(), 1u);  // day 4's piece starts "=Zebra": no rank
  EXPECT_EQ(Cp1251ToUtf8(found.items[0]), "16 Февраля (3 Февраля ст.ст.)");
  EXPECT_EQ(found.months, std::vector<int>{2});
  EXPECT_EQ(found.count, 1);
  const std::string out = Capture([] { WriteSearchDocument("Zebra", 2000); });
  EXPECT_NE(out.find("\\b 16 Февраля (3 Февраля ст.ст.)\\b0\\par\\f3  • \\f2 \\cf1 \\b Zebra\\b0 \\cf0 \\par"),
            std::string::npos);
  EXPECT_NE(out.find("Всего: 1 совпадение\\par"), std::string::npos);
  // Exactly 1023 characters: the line feed alone is the next piece.
  std::ofstream(dir_.path() / "dbase" / "February.db", std::ios::binary)
      << "[3]\n1=" << std::string(1016, 'y') << "Zebra\n1=Zebra\n";
  EXPECT_EQ(SearchSaints("Zebra", 2000).count, 2);
}

// The search report doesn't set the day colour: its red signs return to the
// colour the last day view left, while the marked text always returns to
// black (or grey for a grey entry).
TEST_F(SearchTest, ColoursOfTheReport) {
  std::ofstream(dir_.path() / "dbase" / "March.db", std::ios::binary)
      << Utf8ToCp1251("[1]\n4=Святителя Тихона\nq=Памяти Тихона\n");
  DayColour = "\\cf2";
  const std::string out = Capture([] { WriteSearchDocument(Utf8ToCp1251("Тихон"), 2000); });
  EXPECT_NE(out.find("\\b 14 Марта (1 Марта ст.ст.)\\b0\\par"
                     "\\f3\\cf1  + \\cf2\\f2 Святителя \\cf1 \\b Тихон\\b0 \\cf0 а\\par"
                     "\\cf4\\f3  · \\f2 Памяти \\cf1 \\b Тихон\\b0 \\cf4 а\\cf0 \\par"),
            std::string::npos);
  AppSettings.menologGray = false;
  AppSettings.agiosLine = "No";
  DayColour = "\\cf0";
  const std::string plain = Capture([] { WriteSearchDocument(Utf8ToCp1251("Тихон"), 2000); });
  EXPECT_NE(plain.find("\\b0\\par\\f3\\cf1  + \\cf0\\f2 Святителя \\cf1 \\b Тихон\\b0 \\cf0 а\\par"
                       "Памяти \\cf1 \\b Тихон\\b0 \\cf0 а\\par"),
            std::string::npos);
}

// Lines before a month file's first header and lines that start with a NUL
// byte never match.
TEST_F(SearchTest, LinesOutsideSectionsAndNulLines) {
  std::ofstream(dir_.path() / "dbase" / "April.db", std::ios::binary)
      << "1=Orphan before the header\n[2]\n" << std::string(1, '\0') << "1=Orphan hidden\n";
  EXPECT_EQ(SearchSaints("Orphan", 2000).count, 0);
  EXPECT_NE(Capture([] { WriteSearchDocument("Orphan", 2000); }).find("Всего: 0 совпадений\\par"),
            std::string::npos);
}

TEST_F(SearchTest, MissingMonthFileStopsTheScan) {
  std::filesystem::remove(dir_.path() / "dbase" / "March.db");
  const std::string out = Capture([] { WriteSearchDocument("Two", 2000); });
  EXPECT_EQ(messages_.texts, std::vector<std::string>{"Cannot open input db-file."});
  EXPECT_NE(out.find("Всего: 1 совпадение"), std::string::npos);
  EXPECT_EQ(out.substr(out.size() - 2), "\n}");
}

}  // namespace
}  // namespace velmar
