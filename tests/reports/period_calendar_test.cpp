#include "reports/period_calendar.h"

#include <gtest/gtest.h>

#include "day_test_support.h"
#include "platform/messages.h"
#include "texts/day_entries.h"

namespace velmar {
namespace {

using testing::Capture;

using testing::Count;

TEST(PeriodCalendar, WeeksAndMonths) {
  // Monday 30 December 2002: the week runs over the year end.
  EXPECT_EQ(CurrentWeekPeriod({30, 12, 2002}).start, (Date{29, 12, 2002}));
  EXPECT_EQ(CurrentWeekPeriod({30, 12, 2002}).end, (Date{4, 1, 2003}));
  // A Sunday: this week starts today, the next one seven days later.
  EXPECT_EQ(CurrentWeekPeriod({7, 1, 2001}).start, (Date{7, 1, 2001}));
  EXPECT_EQ(CurrentWeekPeriod({7, 1, 2001}).end, (Date{13, 1, 2001}));
  EXPECT_EQ(NextWeekPeriod({7, 1, 2001}).start, (Date{14, 1, 2001}));
  // A Saturday: the week began six days back; the next starts tomorrow.
  EXPECT_EQ(CurrentWeekPeriod({13, 1, 2001}).start, (Date{7, 1, 2001}));
  EXPECT_EQ(NextWeekPeriod({13, 1, 2001}).start, (Date{14, 1, 2001}));
  EXPECT_EQ(NextWeekPeriod({13, 1, 2001}).end, (Date{20, 1, 2001}));
  for (const auto& [year, days] : {std::pair{2004, 29}, {2000, 29}, {1900, 28}, {2100, 28}, {2001, 28}})
    EXPECT_EQ(MonthPeriod(2, static_cast<u16>(year)).end.day, days) << year;
  EXPECT_TRUE(StartsAfterEnd({{1, 1, 2001}, {31, 12, 2000}}));
  EXPECT_TRUE(StartsAfterEnd({{2, 3, 2001}, {1, 3, 2001}}));
  EXPECT_FALSE(StartsAfterEnd({{1, 3, 2001}, {1, 3, 2001}}));
}

class PeriodReportTest : public ::testing::Test {
 protected:
  PeriodReportTest() : dir_(std::filesystem::path(VELMAR_SOURCE_DIR) / "data") {}
  testing::TempProgramDir dir_;
  RecordingMessageSink messages_;
};

TEST_F(PeriodReportTest, DayBlocksOfAYearAndOfADay) {
  const std::string year = Capture([] { WritePeriodCalendarDocument(YearPeriod(2100)); });
  EXPECT_EQ(Count(year, "\n  ================================================\\par"), 365u);
  EXPECT_NE(year.find("\n\\b1   Днесловник\\b0  с 1 Января 2100 г. по 31 Декабря 2100 г.\\par"),
            std::string::npos);
  EXPECT_EQ(Count(Capture([] { WritePeriodCalendarDocument(MonthPeriod(2, 2004)); }),
                  "================================================"),
            29u);
  const std::string one =
      Capture([] { WritePeriodCalendarDocument({{7, 1, 2001}, {7, 1, 2001}}); });
  EXPECT_EQ(Count(one, "================================================"), 1u);
  EXPECT_NE(one.find("\n\\par\n\\cf3\n\\b   Воскресенье, 7 Января 2001 г. (25 Декабря ст.ст.)\\par"
                     "\n  Неделя 29-я по Пятидесятнице, глас четвертый\\b0\\par"
                     "\n  ================================================\\par"),
            std::string::npos);
  EXPECT_NE(one.find("\n\\par\\par\n\\fs19\\cf0\n  Условные обозначения:"), std::string::npos);
  EXPECT_EQ(one.substr(one.size() - 11), "\\par\n\\par\n}");
  EXPECT_TRUE(messages_.texts.empty());
}

// One day of the grammar fixture, the whole document byte for byte.
TEST(PeriodCalendarDocument, OneDayByteForByte) {
  const std::string legend = Capture(WriteSignLegend);
  testing::TempProgramDir dir(testing::Fixture("grammar"));
  RecordingMessageSink messages;
  WritePeriodCalendar(18, 1, 2001, 18, 1, 2001);
  const std::string file = Cp1251ToUtf8(testing::ReadFileBytes(dir.path() / "velmar32.tmp"));
  EXPECT_EQ(file,
            std::string(testing::kDefaultPrologue) +
                "\n\\b1   Днесловник\\b0  с 18 Января 2001 г. по 18 Января 2001 г.\\par" +
                "\n  Составлено при помощи «Днесловника»\\par"
                "\n  (c) Команда разработчиков Velmar32, "
                "версия 2.0 pre-release 278\\par"
                "\n  ——————————————————————————————\\par"
                "\n\\par"
                "\n\\par"
                "\n\\cf0"
                "\n\\b   Четверг, 18 Января 2001 г. (5 Января ст.ст.)\\par"
                "\n  Седмица 31-я по Пятидесятнице, глас пятый\\b0\\par"
                "\n  ================================================\\par"
                "\n\\f3  · \\f2 Zero five\\par"
                "\n\\f3\\cf1  + \\cf0\\f2 Четыре пять\\par"
                "\n\\cf4\\f3  · \\f2 Class q five\\cf0\\par"
                "\n\\f3\\cf1 (+)\\cf0\\f2 Five again\\par"
                "\n\\par\\par" +
                legend + "\n}");
  EXPECT_EQ(messages.texts, std::vector<std::string>{"Error in input file January.db."});
}

TEST_F(PeriodReportTest, DaysWithoutToneAndColours) {
  const std::string week =
      Capture([] { WritePeriodCalendarDocument({{29, 4, 2000}, {8, 5, 2000}}); });
  EXPECT_NE(week.find("\n\\cf2\n\\b   Суббота, 29 Апреля 2000 г. (16 Апреля ст.ст.)\\par"
                      "\n  Великая Суббота\\b0\\par"),
            std::string::npos);
  EXPECT_NE(week.find("\n\\cf3\n\\b   Понедельник, 1 Мая 2000 г."), std::string::npos);
  EXPECT_NE(week.find("\n\\cf0\n\\b   Понедельник, 8 Мая 2000 г."), std::string::npos);
}

TEST_F(PeriodReportTest, EachMessageOncePerReport) {
  std::filesystem::remove(dir_.path() / "dbase" / "Easter.db");
  Capture([] { WritePeriodCalendarDocument(YearPeriod(2001)); });
  EXPECT_EQ(messages_.texts, std::vector<std::string>{"Cannot open input Easter.db file."});
  // The next report shows it again.
  Capture([] { WritePeriodCalendarDocument(MonthPeriod(1, 2001)); });
  EXPECT_EQ(messages_.texts.size(), 2u);
}

TEST_F(PeriodReportTest, InvalidRangesWriteNothing) {
  EXPECT_EQ(Capture([] { WritePeriodCalendarDocument({{2, 1, 2001}, {1, 1, 2001}}); }), "");
  EXPECT_EQ(Capture([] { WritePeriodCalendarDocument({{30, 2, 2001}, {1, 3, 2001}}); }), "");
}

TEST_F(PeriodReportTest, ReportFileAndOpenFailure) {
  WritePeriodCalendar(1, 1, 2001, 3, 1, 2001);
  const std::string file = testing::ReadFileBytes(dir_.path() / "velmar32.tmp");
  EXPECT_EQ(Count(file, "================================================"), 3u);
  dir_.MakeUnwritable();
  WritePeriodCalendar(1, 1, 2001, 3, 1, 2001);
  EXPECT_EQ(messages_.texts, std::vector<std::string>{"Cannot open temporary output file."});
}

// A report renders each distinct piece of entries once and writes it again
// for the days that have it: the same bytes, and the same messages, as
// rendering every day afresh, with any settings and with broken files.
TEST_F(PeriodReportTest, RenderedOnceTheSameAsEveryDayAfresh) {
  const Period years{{1, 1, 1996}, {31, 12, 2003}};
  const auto both = [&](const char* what) {
    SCOPED_TRACE(what);
    messages_.texts.clear();
    const std::string once = Capture([&] { WritePeriodCalendarDocument(years); });
    const std::vector<std::string> onceMessages = messages_.texts;
    messages_.texts.clear();
    const std::string afresh =
        Capture([&] { WritePeriodCalendarDocument(years, DatabaseReading::EveryDay); });
    EXPECT_EQ(Count(once, "================================================"), 2922u);
    EXPECT_TRUE(once == afresh);
    EXPECT_EQ(onceMessages, messages_.texts);
  };
  both("shipped");
  AppSettings.agiosLine = "No";
  AppSettings.menologion = "i";
  AppSettings.menologGray = false;
  SearchHighlight = true;
  HighlightText = "Василия"_cp;
  both("other settings, a highlight");
  SearchHighlight = false;
  HighlightText.clear();
  ResetSettings();
  // A used entry without "=" in January, and no Epiphany.db.
  std::ofstream(dir_.path() / "dbase" / "January.db", std::ios::app | std::ios::binary) << "[7]\r\n4 no equals\r\n";
  std::filesystem::remove(dir_.path() / "dbase" / "Epiphany.db");
  both("broken files");
  EXPECT_EQ(messages_.texts, (std::vector<std::string>{"Cannot open input Epiphany.db file.",
                                                       "Error in input file January.db."}));
}

}  // namespace
}  // namespace velmar
