#include "texts/day_views.h"

#include <gtest/gtest.h>

#include <vector>

#include "calendar/paschalion.h"
#include "day_test_support.h"
#include "platform/messages.h"
#include "texts/database_cache.h"
#include "texts/day_entries.h"

namespace velmar {
namespace {

using testing::Capture;

// Records what the day views ask of the window, in order.
struct RecordingHost : DayViewHost {
  std::vector<std::string> calls;
  DayCaptions captions[4];
  std::string loaded[4];
  AdditionalInfoSlot slots[4];
  CivilDate reset{};
  std::string title;
  bool terminated = false;

  void ClearTodayAndTomorrowTexts() override { calls.push_back("clear"); }
  void SetCaptions(ViewKind page, const DayCaptions& c) override {
    calls.push_back("captions " + std::to_string(static_cast<int>(page)));
    captions[static_cast<int>(page)] = c;
  }
  void LoadDayText(ViewKind page, const std::string& file) override {
    calls.push_back("load " + std::to_string(static_cast<int>(page)));
    loaded[static_cast<int>(page)] = Cp1251ToUtf8(testing::ReadFileBytes(file));
  }
  void SetAdditionalInfo(ViewKind page, const AdditionalInfoSlot& slot) override {
    calls.push_back("info " + std::to_string(static_cast<int>(page)));
    slots[static_cast<int>(page)] = slot;
  }
  void ResetCalendarControls(const CivilDate& today) override {
    calls.push_back("reset");
    reset = today;
  }
  void SetApplicationTitle(std::string_view t) override {
    calls.push_back("title");
    title = Cp1251ToUtf8(t);
  }
  void Terminate() override {
    calls.push_back("terminate");
    terminated = true;
  }
};

const char* const kPrologue = testing::kDefaultPrologue;

const char* const kFifthOfJanuaryEntries =
    "\n\\f3  · \\f2 Zero five\\par"
    "\n\\f3\\cf1  + \\cf0\\f2 Четыре пять\\par"
    "\n\\cf4\\f3  · \\f2 Class q five\\cf0\\par"
    "\n\\f3\\cf1 (+)\\cf0\\f2 Five again\\par";

class DayViewsTest : public ::testing::Test {
 protected:
  DayViewsTest() : dir_(testing::Fixture("grammar")) {}
  ~DayViewsTest() override { SetFixedToday(std::nullopt); }
  testing::TempProgramDir dir_;
  RecordingMessageSink messages_;
  RecordingHost host_;
};

// 18 January 2001 is old-style 5 January, a Thursday 263 days after Pascha.
TEST_F(DayViewsTest, CalendarDocumentByteForByte) {
  ShowCalendarDay(host_, 2001, 1, 18);
  EXPECT_EQ(host_.loaded[3], std::string(kPrologue) +
                                 "\n\\cf0\\b1   Четверг, 18 Января 2001 г. (5 Янв ст.ст.)\\par"
                                 "\n  Седмица 31-я по Пятидесятнице, глас 5\\b0\\par"
                                 "\n\\par" +
                                 kFifthOfJanuaryEntries + "\n}");
  EXPECT_EQ(host_.calls, (std::vector<std::string>{"load 3", "info 3"}));
  EXPECT_EQ(messages_.texts, std::vector<std::string>{"Error in input file January.db."});
}

TEST_F(DayViewsTest, CalendarTitleLineOfAFeastWithoutTone) {
  ShowCalendarDay(host_, 2001, 1, 7);
  EXPECT_NE(host_.loaded[3].find("\n\\cf3\\b1   Воскресенье, 7 Января 2001 г. (25 Дек ст.ст.)\\par"
                                 "\n  Неделя 29-я по Пятидесятнице, глас 4\\b0\\par\n\\par"),
            std::string::npos);
  ShowCalendarDay(host_, 2000, 4, 29);  // Holy Saturday: no tone
  EXPECT_NE(host_.loaded[3].find("\n\\cf2\\b1   Суббота, 29 Апреля 2000 г. (16 Апр ст.ст.)\\par"
                                 "\n  Великая Суббота\\b0\\par"),
            std::string::npos);
  EXPECT_TRUE(host_.slots[3].enabled == false);
  ShowCalendarDay(host_, 2000, 1, 7);  // old-style 25 December: Addition.db has it
  EXPECT_TRUE(host_.slots[3].enabled);
  EXPECT_EQ(host_.slots[3].reference, "docs/b.html");
}

TEST_F(DayViewsTest, TodayAndTomorrow) {
  SetFixedToday(CivilDate{18, 1, 2001});
  ShowTodayAndTomorrow(host_);
  EXPECT_EQ(host_.calls,
            (std::vector<std::string>{"clear", "captions 1", "captions 2", "load 1", "info 1",
                                      "load 2", "info 2", "reset", "title"}));
  const DayCaptions& today = host_.captions[1];
  EXPECT_EQ(Cp1251ToUtf8(today.groupCaption), "Четверг, 18 Января 2001 года");
  EXPECT_EQ(Cp1251ToUtf8(today.oldStyle), "(5 Января ст.ст.)");
  EXPECT_EQ(Cp1251ToUtf8(today.title), "Седмица 31-я по Пятидесятнице,");
  EXPECT_EQ(Cp1251ToUtf8(today.tone), "Глас пятый");
  EXPECT_EQ(today.groupColour, (Rgb{0, 0, 255}));
  EXPECT_EQ(today.labelColour, (Rgb{0, 0, 128}));
  // Tomorrow, 19 January, is Theophany: red and maroon.
  EXPECT_EQ(Cp1251ToUtf8(host_.captions[2].groupCaption), "Пятница, 19 Января 2001 года");
  EXPECT_EQ(host_.captions[2].groupColour, (Rgb{255, 0, 0}));
  EXPECT_EQ(host_.captions[2].labelColour, (Rgb{128, 0, 0}));
  EXPECT_EQ(host_.loaded[1], std::string(kPrologue) + "\n\\cf0" + kFifthOfJanuaryEntries + "\n}");
  EXPECT_EQ(host_.loaded[2].substr(host_.loaded[2].size() - 7), "\n\\cf3\n}");
  EXPECT_TRUE(host_.slots[2].enabled);  // old-style 6 January
  EXPECT_EQ(host_.slots[2].reference, "docs/theo.html");
  EXPECT_EQ(host_.title, "Днесловник - Четверг, 18 Января");
  EXPECT_EQ(host_.reset, (CivilDate{18, 1, 2001}));
  EXPECT_EQ(shownDay, 18);
  EXPECT_EQ(shownMonth, 1);
  // The report file holds the last document written: tomorrow's.
  EXPECT_EQ(Cp1251ToUtf8(testing::ReadFileBytes(dir_.path() / "velmar32.tmp")), host_.loaded[2]);
}

TEST_F(DayViewsTest, CaptionColoursAndYearEnd) {
  struct Row { CivilDate date; Rgb group; Rgb label; const char* tone; };
  const Row rows[] = {
      {{14, 3, 2000}, {160, 0, 160}, {112, 0, 112}, "Глас осьмый"},  // Lenten weekday
      {{19, 3, 2000}, {255, 0, 0}, {128, 0, 0}, "Глас первый"},          // Lenten Sunday
      {{2, 5, 2000}, {255, 0, 0}, {128, 0, 0}, "Глас отсутствует"},     // Bright Tuesday
      {{25, 4, 2000}, {160, 0, 160}, {112, 0, 112}, "Глас отсутствует"},  // Holy Tuesday
      {{9, 5, 2000}, {0, 0, 255}, {0, 0, 128}, "Глас первый"},          // ordinary weekday
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.date.day) + "." + std::to_string(r.date.month));
    const int w = WeekdayNumber(r.date.day, r.date.month, r.date.year);
    const DayCaptions c = MakeDayCaptions(r.date.day, r.date.month, r.date.year, w);
    EXPECT_EQ(c.groupColour, r.group);
    EXPECT_EQ(c.labelColour, r.label);
    EXPECT_EQ(Cp1251ToUtf8(c.tone), r.tone);
  }
  SetFixedToday(CivilDate{31, 12, 2000});
  ShowTodayAndTomorrow(host_);
  EXPECT_EQ(Cp1251ToUtf8(host_.captions[2].groupCaption), "Понедельник, 1 Января 2001 года");
  EXPECT_EQ(Cp1251ToUtf8(host_.captions[2].title), "Седмица 29-я по Пятидесятнице,");
  SetFixedToday(CivilDate{13, 1, 2000});
  ShowTodayAndTomorrow(host_);
  EXPECT_EQ(Cp1251ToUtf8(host_.captions[1].oldStyle), "(31 Декабря ст.ст.)");
}

// Tomorrow's weekday follows today's: after a Saturday comes a Sunday.
TEST_F(DayViewsTest, TomorrowAfterASaturdayIsASunday) {
  SetFixedToday(CivilDate{13, 1, 2001});  // a Saturday
  ShowTodayAndTomorrow(host_);
  EXPECT_EQ(Cp1251ToUtf8(host_.captions[1].groupCaption), "Суббота, 13 Января 2001 года");
  EXPECT_EQ(Cp1251ToUtf8(host_.captions[2].groupCaption), "Воскресенье, 14 Января 2001 года");
  EXPECT_EQ(host_.captions[1].groupColour, (Rgb{0, 0, 255}));
  EXPECT_EQ(host_.captions[2].groupColour, (Rgb{255, 0, 0}));
  EXPECT_EQ(Cp1251ToUtf8(host_.captions[2].title), "Неделя 30-я по Пятидесятнице,");
  EXPECT_EQ(Cp1251ToUtf8(host_.captions[2].tone), "Глас пятый");
  EXPECT_NE(host_.loaded[2].find(std::string(kPrologue) + "\n\\cf3"), std::string::npos);
  EXPECT_EQ(host_.title, "Днесловник - Суббота, 13 Января");
  // And a Sunday follows a Friday's Saturday.
  SetFixedToday(CivilDate{12, 1, 2001});
  ShowTodayAndTomorrow(host_);
  EXPECT_EQ(Cp1251ToUtf8(host_.captions[2].groupCaption), "Суббота, 13 Января 2001 года");
  EXPECT_EQ(host_.title, "Днесловник - Пятница, 12 Января");
}

TEST_F(DayViewsTest, UnwritableReportFileLeavesThePagesAlone) {
  dir_.MakeUnwritable();
  SetFixedToday(CivilDate{18, 1, 2001});
  shownDay = 17;
  ShowTodayAndTomorrow(host_);
  EXPECT_EQ(host_.calls, (std::vector<std::string>{"clear", "captions 1", "captions 2"}));
  EXPECT_EQ(shownDay, 17);  // so the next timer tick tries again
  host_.calls.clear();
  ShowCalendarDay(host_, 2001, 1, 18);
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_EQ(messages_.texts, (std::vector<std::string>{"Cannot open temporary output file.",
                                                       "Cannot open temporary output file."}));
}

TEST_F(DayViewsTest, SystemDateOutsideTheRangeEndsTheProgram) {
  SetFixedToday(CivilDate{1, 1, 2150});
  ShowTodayAndTomorrow(host_);
  ASSERT_FALSE(messages_.texts.empty());
  EXPECT_EQ(Cp1251ToUtf8(messages_.texts[0]), "Неверно выставлена системная дата!!!");
  EXPECT_TRUE(host_.terminated);
  EXPECT_EQ(host_.calls.back(), "title");  // the remaining steps still run
}

TEST(DayColour, RuleOverYearsAndKnownDays) {
  struct Row { u16 d, m, y; const char* code; };
  const Row rows[] = {
      {14, 3, 2000, "\\cf2"}, {13, 3, 2000, "\\cf2"}, {29, 4, 2000, "\\cf2"},  // Lent weekdays
      {12, 3, 2000, "\\cf3"},                        // Forgiveness Sunday
      {7, 4, 2000, "\\cf3"},                         // Annunciation on a Lenten Friday
      {30, 4, 2000, "\\cf3"}, {1, 5, 2000, "\\cf3"}, {6, 5, 2000, "\\cf3"},  // Bright Week
      {8, 5, 2000, "\\cf0"},                         // the Monday eight days after Pascha
      {7, 1, 2003, "\\cf3"},                         // Nativity on a Tuesday
      {6, 1, 1850, "\\cf3"}, {7, 1, 1850, "\\cf0"},  // Nativity in 1850 is 6 January
      {9, 5, 2000, "\\cf0"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.d) + "." + std::to_string(r.m) + "." + std::to_string(r.y));
    EXPECT_EQ(DayColourCode(r.d, r.m, r.y, WeekdayNumber(r.d, r.m, r.y)), r.code);
  }
  // Each year: Lent has 48 days less six Sundays and any great feast on a weekday.
  for (u16 year = 1800; year <= 2100; ++year) {
    int purple = 0, sundaysRed = 0, sundays = 0;
    for (Date d{1, 1, year}; d.year == year; d = NextDay(d.day, d.month, d.year)) {
      const int w = WeekdayNumber(d.day, d.month, d.year);
      const std::string_view code = DayColourCode(d.day, d.month, d.year, w);
      purple += code == "\\cf2";
      if (w == 1) {
        ++sundays;
        sundaysRed += code == "\\cf3";
      }
    }
    const DayMonth p = PaschaNewStyle(year);
    const long ps = GregorianToSerial(year, p.month, p.day);
    int feastsInLent = 0;  // fixed great feasts on Lenten weekdays (Meeting, Annunciation)
    for (const DayMonth& feast : GreatFeastDates) {
      const DayMonth f = OldToNewStyle(feast.day, feast.month, year);
      const long fs = GregorianToSerial(year, f.month, f.day);
      if (fs >= ps - 48 && fs <= ps - 1 && WeekdayNumber(f.day, f.month, year) != 1)
        ++feastsInLent;
    }
    ASSERT_EQ(purple, 42 - feastsInLent) << year;
    ASSERT_EQ(sundaysRed, sundays) << year;
  }
}

// The shipped sample database renders every day of 1800..2100 without a
// message (every file present, every used line well formed). The whole range
// goes through one snapshot of the files, as a period report reads them; the
// days of a few years read the files afresh, as the day pages do (the two
// ways give the same documents: database_cache_test).
TEST(SampleDatabase, EveryDayRendersWithoutAMessage) {
  testing::TempProgramDir dir(std::filesystem::path(VELMAR_SOURCE_DIR) / "data");
  RecordingMessageSink messages;
  const auto renderYears = [&](u16 first, u16 last) {
    std::size_t bytes = 0;
    for (Date d{1, 1, first}; d.year <= last; d = NextDay(d.day, d.month, d.year)) {
      bytes += Capture([&] { WriteCalendarDayDocument(d.year, d.month, d.day); }).size();
      EXPECT_TRUE(messages.texts.empty())
          << d.day << "." << d.month << "." << d.year << ": " << messages.texts[0];
      if (!messages.texts.empty() || d == Date{31, 12, 2100}) break;
    }
    return bytes;
  };
  {
    DatabaseSnapshot snapshot;
    EXPECT_GT(renderYears(1800, 2100), 109938u * 600);
  }
  for (const u16 year : {1800, 1900, 2026, 2100})
    EXPECT_GT(renderYears(year, year), 365u * 600) << year;
  for (int m = 1; m <= 12; ++m)
    for (int day = 1; day <= 31; ++day)
      LoadAdditionalInfo(ViewKind::Calendar, static_cast<u16>(day), static_cast<u16>(m));
  EXPECT_TRUE(messages.texts.empty());
}

}  // namespace
}  // namespace velmar
