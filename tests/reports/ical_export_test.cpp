#include "reports/ical_export.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/settings.h"
#include "calendar/cp1251.h"
#include "day_test_support.h"
#include "platform/messages.h"
#include "texts/database.h"
#include "texts/rtf_text.h"

namespace velmar {
namespace {

// A small database written by the test, Windows-1251 with CRLF.
class IcalFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir.path() / "dbase");
    for (int m = 1; m <= 12; ++m) Write(std::string(MonthFileNames[static_cast<std::size_t>(m)]), "");
    Write("Easter.db", "[-3]\n0=Великий Четверг\n[+0]\n6=\\b Пасха\\b0\n");
    Write("Epiphany.db", "");
    // 25 March: the Annunciation; 17 April old style: a saint with a vigil;
    // 24 March: two saints, the second with the higher sign, and an icon.
    Write("March.db",
          "[24]\n0=Предпразднство Благовещения\n1=Прп. Захарии\n4=Свт. Артемона {\\b полиелей}\n"
          "i=Иконы Божией Матери\n[25]\n6=\\b Благовещение\\b0\n");
    // 2 April old style: 15 April 2023, Great Saturday.
    Write("April.db", "[2]\n1=Прп. Тита\n[17]\n5=Свт. Иоанна\n[20]\n1=Прп. Феодора\n");
    // 24 July old style: 6 August 2023, the 9th Sunday after Pentecost.
    Write("July.db", "[24]\n1=Мц. Христины\n");
    AppSettings.menologion = "i";
  }

  void Write(const std::string& name, const std::string& utf8) {
    std::string bytes;
    for (const char c : Utf8ToCp1251(utf8)) {
      if (c == '\n') bytes += '\r';
      bytes += c;
    }
    std::ofstream(dir.path() / "dbase" / name, std::ios::binary) << bytes;
  }

  testing::TempProgramDir dir;
  RecordingMessageSink messages;
};

// Which text becomes the SUMMARY, by known days of 2023 (Pascha 16 April new
// style) and 2024 (Pascha 5 May).
TEST_F(IcalFixture, SummaryIsTheChiefCommemorationUnlessTheDayOutranksIt) {
  struct Row {
    Date date;
    const char* summary;
  };
  const Row rows[] = {
      {{16, 4, 2023}, "Пасха. Светлое Христово Воскресение"},  // Pascha: the title over its own entry
      {{13, 4, 2023}, "Великий Четверг, воспоминание Тайной Вечери"},  // the title outranks every saint
      {{15, 4, 2023}, "Великая Суббота"},            // the last day of Holy Week too
      {{7, 4, 2023}, "Благовещение"},                // the feast on a Friday of Lent
      {{6, 4, 2023}, "Свт. Артемона полиелей"},      // the higher sign, RTF markup gone
      {{30, 4, 2023}, "Неделя 3-я по Пасхе, св.жен-мироносиц"},  // a named Sunday over a vigil
      {{7, 4, 2024}, "Благовещение"},                 // a great feast over a named Sunday of Lent
      {{3, 5, 2023}, "Прп. Феодора"},                 // a weekday of the Pentecostarion: the saint
      {{6, 8, 2023}, "Мц. Христины"},                 // a numbered Sunday (9-я) gives way to the saint
      {{12, 1, 2023}, "Седмица 31-я по Пятидесятнице"},  // no entries at all: the title
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.date.day) + "." + std::to_string(row.date.month) + "." +
                 std::to_string(row.date.year));
    EXPECT_EQ(MakeDayEvent(row.date).summary, row.summary);
  }
  EXPECT_TRUE(messages.texts.empty());
}

// The days a calendar calls by their names, and the moveable commemoration
// before the saint of the same rank.
TEST_F(IcalFixture, NamedDaysAndMoveableCommemorationsComeFirst) {
  // Pascha 2023: 16 April new style. Radonitsa: 25 April (12 April old style).
  Write("Easter.db", "[+8]\n1=Собор святых\n[+9]\n0=Радоница. Поминовение усопших\n");
  Write("April.db", "[11]\n1=Сщмч. Антипы\n[12]\n1=Свт. Василия\n");
  Write("December.db", "[24]\n0=Навечерие Рождества Христова (Рождественский сочельник)\n1=Прмц. Евгении\n");
  Write("January.db", "[5]\n0=Предпразднство Богоявления. Навечерие Богоявления\n1=Сщмч. Феопемпта\n");
  struct Row {
    Date date;
    const char* summary;
  };
  const Row rows[] = {
      {{25, 4, 2023}, "Радоница, поминовение усопших"},  // over a saint without a sign
      {{24, 4, 2023}, "Собор святых"},                  // Easter.db before the month file
      {{6, 1, 2024}, "Навечерие Рождества Христова"},   // over Прмц. Евгении
      {{18, 1, 2024}, "Навечерие Богоявления"},
      {{17, 1, 1890}, "Навечерие Богоявления"},         // the old-style date, in another century
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.date.day) + "." + std::to_string(row.date.month) + "." +
                 std::to_string(row.date.year));
    EXPECT_EQ(MakeDayEvent(row.date).summary, row.summary);
  }
  // A vigil outranks the named day.
  Write("April.db", "[12]\n5=Вмч. Георгия\n");
  EXPECT_EQ(MakeDayEvent({25, 4, 2023}).summary, "Вмч. Георгия");
  Write("December.db", "[24]\n0=Навечерие\n5=Свт. Спиридона\n");
  EXPECT_EQ(MakeDayEvent({6, 1, 2024}).summary, "Свт. Спиридона");
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(IcalFixture, DescriptionAndCategoriesSayTheWholeDay) {
  const DayEvent feast = MakeDayEvent({7, 4, 2023});
  EXPECT_EQ(feast.uid, "velmar32-20230407@velmar32.example.org");
  EXPECT_EQ(feast.description.rfind("25 Марта ст.ст.\n6-я седмица Великого поста (ваий), глас ", 0), 0u)
      << feast.description;
  EXPECT_NE(feast.description.find("\n\n(+) Благовещение"), std::string::npos);
  EXPECT_EQ(feast.categories, (std::vector<std::string>{"Великий праздник", "Великий пост"}));

  const DayEvent before = MakeDayEvent({6, 4, 2023});
  EXPECT_NE(before.description.find("\n\n· Предпразднство Благовещения\n• Прп. Захарии\n"
                                    "+ Свт. Артемона полиелей\n· Иконы Божией Матери"),
            std::string::npos)
      << before.description;
  EXPECT_EQ(before.categories, std::vector<std::string>{"Великий пост"});

  // Holy Thursday has no tone; Pascha is a great feast by its own entry.
  EXPECT_EQ(MakeDayEvent({13, 4, 2023}).description.rfind("31 Марта ст.ст.\nВеликий Четверг, воспоминание Тайной Вечери\n", 0), 0u);
  EXPECT_EQ(MakeDayEvent({16, 4, 2023}).categories, std::vector<std::string>{"Великий праздник"});
  EXPECT_NE(MakeDayEvent({16, 4, 2023}).description.find("\n\n(+) Пасха"), std::string::npos);  // Easter.db
  EXPECT_TRUE(MakeDayEvent({3, 5, 2023}).categories.empty());
}

TEST(FragmentPlainText, TurnsRtfMarkupIntoText) {
  EXPECT_EQ(FragmentPlainText(Utf8ToCp1251("\\b Обрезание\\b0. Свт. Василия")), "Обрезание. Свт. Василия");
  EXPECT_EQ(FragmentPlainText(Utf8ToCp1251("Мч. {\\i Иоанна}")), "Мч. Иоанна");
  EXPECT_EQ(FragmentPlainText("\\'c8\\'e2\\'e0\\'ed\\{1\\}"), "Иван{1}");
  EXPECT_EQ(FragmentPlainText(Utf8ToCp1251("Прп. Сергия")), "Прп. Сергия");
}

TEST_F(IcalFixture, CalendarFileHasOneEventADayAcrossTheYearEnd) {
  std::string ics;
  const auto collect = [&](std::string_view piece) {
    ics += piece;
    return true;
  };
  ASSERT_TRUE(WriteICalendar({{30, 12, 2023}, {2, 1, 2024}}, 0, collect));
  EXPECT_EQ(ics.rfind("BEGIN:VCALENDAR\r\n", 0), 0u);
  EXPECT_TRUE(ics.ends_with("END:VEVENT\r\nEND:VCALENDAR\r\n"));
  EXPECT_EQ(testing::Count(ics, "BEGIN:VEVENT\r\n"), 4u);
  for (const char* uid : {"20231230", "20231231", "20240101", "20240102"})
    EXPECT_NE(ics.find(std::string("UID:velmar32-") + uid + "@velmar32.example.org\r\n"), std::string::npos) << uid;
  EXPECT_NE(ics.find("DTSTART;VALUE=DATE:20231231\r\nDTEND;VALUE=DATE:20240101\r\n"), std::string::npos);
  EXPECT_EQ(testing::Count(ics, "DTSTAMP:19700101T000000Z\r\n"), 4u);
  std::size_t start = 0;
  for (std::size_t end = ics.find("\r\n"); end != std::string::npos; end = ics.find("\r\n", start)) {
    EXPECT_LE(end - start, 75u) << ics.substr(start, end - start);
    start = end + 2;
  }
  EXPECT_EQ(start, ics.size());
  EXPECT_EQ(testing::Count(ics, "\n"), testing::Count(ics, "\r\n"));

  // An invalid period writes nothing; a failed write stops the export.
  std::string nothing;
  EXPECT_FALSE(WriteICalendar({{2, 1, 2024}, {1, 1, 2024}}, 0, [&](std::string_view p) {
    nothing += p;
    return true;
  }));
  EXPECT_TRUE(nothing.empty());
  int pieces = 0;
  EXPECT_FALSE(WriteICalendar({{1, 1, 2024}, {31, 1, 2024}}, 0, [&](std::string_view) { return ++pieces < 3; }));
  EXPECT_EQ(pieces, 3);
}

}  // namespace
}  // namespace velmar
