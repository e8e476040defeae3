// The rules file that ships with the program, data/dbase/Fasting.db, with the
// shipped month files: known days of the church calendar, and every day of
// 1800..2100.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "calendar/paschalion.h"
#include "day_test_support.h"
#include "platform/messages.h"
#include "texts/database_cache.h"
#include "texts/fasting_rules.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;

fs::path ShippedRules() { return fs::path(VELMAR_SOURCE_DIR) / "data" / "dbase" / "Fasting.db"; }

class ShippedFastingTest : public ::testing::Test {
 protected:
  ShippedFastingTest() : dir_(fs::path(VELMAR_SOURCE_DIR) / "data") {}
  static std::string Note(u16 year, u16 month, u16 day) {
    return Cp1251ToUtf8(FastNote(day, month, year));
  }
  testing::TempProgramDir dir_;
  RecordingMessageSink messages_;
};

TEST(ShippedFastingFile, Windows1251WithCrLfAndNoBadLine) {
  const std::string bytes = testing::ReadFileBytes(ShippedRules());
  ASSERT_FALSE(bytes.empty());
  int line = 1;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    SCOPED_TRACE("line " + std::to_string(line));
    if (b == '\n') {
      EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r');
      ++line;
    } else if (b == '\r') {
      EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n');
    } else {
      EXPECT_TRUE(b >= 0x20 && b != 0x7F && b != 0x98) << "byte " << static_cast<int>(b);
    }
  }
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  RecordingMessageSink messages;
  FastingRules rules;
  ASSERT_TRUE(rules.Read(ShippedRules().string()));
  EXPECT_EQ(rules.BadLines(), 0);
  EXPECT_TRUE(messages.texts.empty());
}

// What the church calendars print for these days, by the rules of the table.
// Pascha: 4 April 2010 (the earliest date of these centuries), 5 May 2024
// (a late one), 20 April 2025.
TEST_F(ShippedFastingTest, KnownDays) {
  struct Row {
    u16 year, month, day;  // new style
    const char* what;
    const char* note;
  };
  const Row rows[] = {
      // Great Lent, Holy Week and Bright Week.
      {2024, 3, 18, "Clean Monday 2024", "Великий пост. Воздержание от пищи"},
      {2010, 2, 15, "Clean Monday 2010 (and the Meeting)", "Великий пост. Воздержание от пищи"},
      {2024, 3, 19, "Tuesday, first week of Lent", "Великий пост. Горячая пища без масла"},
      {2019, 3, 22, "Forty Martyrs on a Friday of the second week", "Великий пост. Горячая пища с растительным маслом"},
      {2023, 4, 6, "forefeast of the Annunciation on a Thursday of Lent", "Великий пост. Горячая пища с растительным маслом"},
      {2025, 4, 7, "Annunciation on a Monday of Lent", "Великий пост. Разрешается рыба"},
      // A polyeleos on a weekday of the first week leaves its fast as it is.
      {2024, 3, 22, "Forty Martyrs on the Friday of the first week", "Великий пост. Сухоядение"},
      {2022, 3, 9, "Finding of the Head on the Wednesday of the first week", "Великий пост. Сухоядение"},
      {2031, 2, 25, "St Alexis of Moscow on the Tuesday of the first week", "Великий пост. Горячая пища без масла"},
      {2006, 3, 9, "Finding of the Head on the Thursday of the first week", "Великий пост. Горячая пища без масла"},
      // The Annunciation before Palm Sunday allows fish, in Holy Week oil, on
      // Great Friday dry food after the Liturgy, on Great Saturday as always.
      {2012, 4, 7, "Annunciation on Lazarus Saturday", "Великий пост. Разрешается рыба"},
      {1996, 4, 7, "Annunciation on Palm Sunday", "Великий пост. Разрешается рыба"},
      {2031, 4, 7, "Annunciation on Great Monday", "Страстная седмица. Горячая пища с растительным маслом"},
      {2015, 4, 7, "Annunciation on Great Tuesday 2015", "Страстная седмица. Горячая пища с растительным маслом"},
      {2026, 4, 7, "Annunciation on Great Tuesday 2026", "Страстная седмица. Горячая пища с растительным маслом"},
      {1999, 4, 7, "Annunciation on Great Wednesday 1999", "Страстная седмица. Горячая пища с растительным маслом"},
      {2004, 4, 7, "Annunciation on Great Wednesday 2004", "Страстная седмица. Горячая пища с растительным маслом"},
      {1988, 4, 7, "Annunciation on Great Thursday", "Великий четверг. Горячая пища с растительным маслом"},
      {2034, 4, 7, "Annunciation on Great Friday", "Великая пятница. Сухоядение"},
      {2018, 4, 7, "Annunciation on Great Saturday", "Великая суббота. Сухоядение"},
      {2015, 4, 8, "Great Wednesday after the Annunciation", "Страстная седмица. Сухоядение"},
      {2024, 4, 27, "Lazarus Saturday", "Разрешается рыбная икра"},
      {2024, 4, 28, "Palm Sunday", "Разрешается рыба"},
      {2024, 5, 3, "Good Friday", "Великая пятница. Воздержание от пищи"},
      {2024, 5, 4, "Holy Saturday 2024, last day of Lent", "Великая суббота. Сухоядение"},
      {2010, 4, 3, "Holy Saturday 2010", "Великая суббота. Сухоядение"},
      {2024, 5, 8, "Wednesday of Bright Week", "Светлая седмица. Поста нет"},
      {2024, 5, 15, "Wednesday after Thomas Sunday", "Постный день. Разрешается рыба"},
      // The weeks without the Wednesday and Friday fast.
      {2025, 1, 10, "Friday in Christmastide", "Святки. Поста нет"},
      {2024, 2, 28, "Wednesday after the Publican and Pharisee", "Сплошная седмица. Поста нет"},
      {2024, 3, 13, "Wednesday of Cheesefare week", "Сырная седмица. Мясо исключается"},
      {2024, 6, 26, "Wednesday after Pentecost", "Сплошная седмица. Поста нет"},
      // The Apostles' fast.
      {2024, 6, 30, "All Saints 2024", ""},
      {2024, 7, 1, "Apostles' fast 2024, first day (Monday)", "Петров пост. Горячая пища без масла"},
      {2024, 7, 11, "Apostles' fast 2024, last day (Thursday)", "Петров пост. Разрешается рыба"},
      {2024, 7, 12, "Peter and Paul on a Friday", "Постный день. Разрешается рыба"},
      {2010, 5, 30, "All Saints 2010", ""},
      {2010, 5, 31, "Apostles' fast 2010, first day (Monday)", "Петров пост. Горячая пища без масла"},
      {2010, 7, 11, "Apostles' fast 2010, last day (Sunday)", "Петров пост. Разрешается рыба"},
      // The Dormition fast.
      {2024, 8, 14, "Dormition fast 2024, first day (Wednesday)", "Успенский пост. Сухоядение"},
      {2024, 8, 19, "Transfiguration", "Успенский пост. Разрешается рыба"},
      {2024, 8, 27, "Dormition fast 2024, last day (Tuesday)", "Успенский пост. Горячая пища без масла"},
      {2024, 8, 28, "Dormition on a Wednesday", "Постный день. Разрешается рыба"},
      {2010, 8, 14, "Dormition fast 2010, first day (Saturday)", "Успенский пост. Пища с растительным маслом"},
      {2010, 8, 27, "Dormition fast 2010, last day (Friday)", "Успенский пост. Сухоядение"},
      {2010, 8, 28, "Dormition on a Saturday", ""},
      // The Nativity fast.
      {2024, 11, 28, "Nativity fast 2024, first day (Thursday)", "Рождественский пост. Разрешается рыба"},
      {2024, 12, 3, "Tuesday before St Nicholas", "Рождественский пост. Разрешается рыба"},
      {2024, 12, 4, "Entry of the Theotokos on a Wednesday", "Рождественский пост. Разрешается рыба"},
      {2024, 12, 19, "St Nicholas", "Рождественский пост. Разрешается рыба"},
      {2024, 12, 24, "Tuesday after St Nicholas", "Рождественский пост. Горячая пища с растительным маслом"},
      {2025, 1, 6, "Nativity fast 2024, last day", "Рождественский сочельник. Строгий пост"},
      {2025, 1, 7, "Nativity of Christ", "Святки. Поста нет"},
      {2010, 11, 28, "Nativity fast 2010, first day (Sunday)", "Рождественский пост. Разрешается рыба"},
      {2011, 1, 6, "Nativity fast 2010, last day", "Рождественский сочельник. Строгий пост"},
      // One-day fasts, the Theophany, ordinary days.
      {2024, 1, 18, "Eve of the Theophany", "Крещенский сочельник. Строгий пост"},
      {2025, 1, 18, "Eve of the Theophany on a Saturday", "Крещенский сочельник. Пища с растительным маслом"},
      {2026, 1, 18, "Eve of the Theophany on a Sunday", "Крещенский сочельник. Пища с растительным маслом"},
      {2025, 1, 17, "the Friday before it, with the Royal Hours, is in Christmastide", "Святки. Поста нет"},
      {2018, 1, 6, "Eve of the Nativity on a Saturday", "Рождественский сочельник. Пища с растительным маслом"},
      {2019, 1, 6, "Eve of the Nativity on a Sunday", "Рождественский сочельник. Пища с растительным маслом"},
      {2024, 1, 19, "Theophany on a Friday", "Поста нет"},
      {2024, 9, 11, "Beheading of the Forerunner", "Постный день. Пища с растительным маслом"},
      {2024, 9, 27, "Exaltation of the Cross on a Friday", "Постный день. Пища с растительным маслом"},
      {2024, 10, 2, "an ordinary Wednesday", "Постный день"},
      {2024, 10, 9, "a Wednesday with a polyeleos (St John the Theologian)",
       "Постный день. Пища с растительным маслом"},
      {2024, 8, 2, "a Friday with a vigil (the Prophet Elijah)", "Постный день. Разрешается рыба"},
      {2024, 10, 7, "an ordinary Monday", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(Note(row.year, row.month, row.day), row.note);
  }
  EXPECT_TRUE(messages_.texts.empty());
}

// Every day of 1800..2100: the reader never fails, every note is one of the
// file's texts, every Wednesday and Friday says something, and so does every
// day of the four fasts.
TEST_F(ShippedFastingTest, EveryDayOf1800To2100) {
  std::set<std::string> texts;
  {
    std::ifstream in(ShippedRules(), std::ios::binary);
    std::string line;
    while (std::getline(in, line))
      if (!line.empty() && line[0] != ';' && line[0] != '[' && line.find('=') != std::string::npos)
        texts.insert(line.substr(line.find('=') + 1, line.size() - line.find('=') - 2));
  }
  DatabaseSnapshot readOnce;
  int days = 0, notes = 0;
  for (Date d{1, 1, 1800};; d = NextDay(d.day, d.month, d.year)) {
    const std::string note = FastNote(d.day, d.month, d.year);
    ++days;
    const int weekday = WeekdayNumber(d.day, d.month, d.year);
    const DayMonth old = NewToOldStyle(d.day, d.month, d.year);
    const int oldDate = old.month * 100 + old.day;
    const int before = DaysBeforePascha(d.day, d.month, d.year);
    const int since = DaysSincePascha(d.day, d.month, d.year);
    const bool fast = (before >= 1 && before <= 48) || (oldDate >= 801 && oldDate <= 814) ||
                      oldDate >= 1115 || (since >= 57 && oldDate <= 628 && before < 0);
    if (!note.empty()) {
      ++notes;
      if (texts.count(note) == 0) ADD_FAILURE() << d.year << "-" << d.month << "-" << d.day;
    } else if (weekday == 4 || weekday == 6 || fast) {
      ADD_FAILURE() << "no note on " << d.year << "-" << d.month << "-" << d.day;
    }
    if (d == Date{31, 12, 2100}) break;
  }
  EXPECT_EQ(days, 109938);
  EXPECT_GT(notes, days / 3);
  EXPECT_TRUE(messages_.texts.empty());
}

// The second custom of the Nativity fast is one edit away: removing the ";"
// of its commented line keeps fish to Saturdays and Sundays.
TEST_F(ShippedFastingTest, SecondCustomOfTheNativityFast) {
  std::string bytes = testing::ReadFileBytes(ShippedRules());
  const std::string commented =
      "\r\n;" + Utf8ToCp1251("Вт Чт=Рождественский пост. Горячая пища с растительным маслом");
  const std::size_t at = bytes.find(commented);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(bytes.find(commented, at + 1), std::string::npos);
  bytes.erase(at + 2, 1);
  std::ofstream(dir_.path() / "dbase" / "Fasting.db", std::ios::binary) << bytes;
  EXPECT_EQ(Note(2024, 12, 3), "Рождественский пост. Горячая пища с растительным маслом");
  EXPECT_EQ(Note(2024, 11, 28), "Рождественский пост. Горячая пища с растительным маслом");
  EXPECT_EQ(Note(2024, 11, 30), "Рождественский пост. Разрешается рыба");  // a Saturday
  EXPECT_EQ(Note(2024, 12, 4), "Рождественский пост. Разрешается рыба");   // the Entry
  EXPECT_TRUE(messages_.texts.empty());
}

}  // namespace
}  // namespace velmar
