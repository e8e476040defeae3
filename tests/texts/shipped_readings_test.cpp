// The readings tables that ship with the program (data/dbase/Zachala.db and
// Readings*.db): the files themselves, known days of the church year as the
// liturgical Gospel and Apostol give them and the Russian Church's calendars
// print them, and every day of 1800..2100.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "calendar/calendar_arithmetic.h"
#include "day_test_support.h"
#include "platform/messages.h"
#include "texts/database_cache.h"
#include "texts/day_readings.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;

fs::path Shipped(const char* name) { return fs::path(VELMAR_SOURCE_DIR) / "data" / "dbase" / name; }

// "slot book range zachalo[ for]" of every piece of a day, in order.
std::vector<std::string> Pieces(const ReadingsTables& tables, u16 year, u16 month, u16 day) {
  std::vector<std::string> out;
  for (const ReadingGroup& g : DayReadings(tables, day, month, year)) {
    for (const SlotReading& r : g.readings) {
      for (const ScripturePiece& p : r.reading) {
        std::string line = std::string(ReadingSlotName(r.slot)) + " " + Cp1251ToUtf8(p.book->name) + " " +
                           RangeText(p.spans);
        if (p.zachalo != 0) line += " " + std::to_string(p.zachalo);
        if (g.source == ReadingGroup::Source::Commemoration || g.source == ReadingGroup::Source::Special)
          line += " [" + Cp1251ToUtf8(g.label) + "]";
        out.push_back(line);
      }
    }
  }
  return out;
}

class ShippedReadingsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RecordingMessageSink messages;
    tables_ = new ReadingsTables(ReadReadingsTables(Shipped("").string()));
    messages_ = messages.texts;
  }
  static void TearDownTestSuite() { delete tables_; }
  static std::vector<std::string> Day(u16 year, u16 month, u16 day) { return Pieces(*tables_, year, month, day); }
  static bool Has(const std::vector<std::string>& pieces, const std::string& piece) {
    for (const std::string& p : pieces)
      if (p.rfind(piece, 0) == 0) return true;
    return false;
  }
  static ReadingsTables* tables_;
  static std::vector<std::string> messages_;
};
ReadingsTables* ShippedReadingsTest::tables_ = nullptr;
std::vector<std::string> ShippedReadingsTest::messages_;

TEST_F(ShippedReadingsTest, FilesAreWindows1251WithCrLfAndReadWithoutAMessage) {
  for (const char* name : {"Zachala.db", "Readings.db", "ReadingsSpecial.db", "ReadingsMenaion.db"}) {
    SCOPED_TRACE(name);
    const std::string bytes = testing::ReadFileBytes(Shipped(name));
    ASSERT_FALSE(bytes.empty());
    int line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const unsigned char b = static_cast<unsigned char>(bytes[i]);
      if (b == '\n') {
        EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "line " << line;
        EXPECT_LE(i - 1 - lineStart, 1022u) << "line " << line;
        lineStart = i + 1;
        ++line;
      } else if (b != '\r') {
        EXPECT_TRUE(b >= 0x20 && b != 0x7F && b != 0x98) << "line " << line << " byte " << static_cast<int>(b);
      }
    }
  }
  ASSERT_TRUE(tables_->available);
  EXPECT_EQ(tables_->badLines, 0);
  std::string shown;
  for (const std::string& m : messages_) shown += Cp1251ToUtf8(m) + "\n";
  EXPECT_TRUE(messages_.empty()) << shown;
}

// The moveable cycle: Pascha; the Sundays of Lent; the Publican, Zacchaeus
// and the Canaanite woman before the Triodion; the Lukan jump.
TEST_F(ShippedReadingsTest, KnownDaysOfTheMoveableCycle) {
  struct Row {
    u16 year, month, day;
    const char* what;
    std::vector<std::string> pieces;
  };
  const std::vector<Row> rows = {
      {2024, 5, 5, "Pascha", {"apostol Деян. 1:1-8 1", "gospel Ин. 1:1-17 1", "vespers Ин. 20:19-25 65"}},
      {2025, 3, 3, "Clean Monday", {"6th-hour Ис. 1:1-20", "vespers Быт. 1:1-13", "vespers Притч. 1:1-20"}},
      {2025, 3, 9, "Sunday of Orthodoxy", {"apostol Евр. 11:24-26, 11:32-12:2 329", "gospel Ин. 1:43-51 5"}},
      {2025, 3, 16, "2nd Sunday of Lent", {"apostol Евр. 1:10-2:3 304", "gospel Мк. 2:1-12 7"}},
      {2025, 3, 23, "the Cross", {"apostol Евр. 4:14-5:6 311", "gospel Мк. 8:34-9:1 37"}},
      {2025, 3, 30, "4th Sunday of Lent", {"apostol Евр. 6:13-20 314", "gospel Мк. 9:17-31 40"}},
      {2025, 4, 6, "5th Sunday of Lent", {"apostol Евр. 9:11-14 321", "gospel Мк. 10:32-45 47"}},
      {2025, 4, 13, "Palm Sunday", {"apostol Флп. 4:4-9 247", "gospel Ин. 12:1-18 41"}},
      {2025, 2, 9, "the Publican", {"apostol 2 Тим. 3:10-15 296", "gospel Лк. 18:10-14 89"}},
      // A late Pascha (5 May 2024): Luke begins on 30 September, in week 15.
      {2024, 9, 30, "Luke's first Monday", {"apostol Гал. 2:11-16 202", "gospel Лк. 3:19-22 10"}},
      {2024, 10, 6, "Luke's first Sunday", {"apostol 2 Кор. 4:6-15 176", "gospel Лк. 5:1-11 17"}},
      // An early Pascha (4 April 2010): Luke begins on 4 October, in week 20.
      {2010, 10, 4, "Luke's first Monday", {"apostol Флп. 2:12-16 241", "gospel Лк. 3:19-22 10"}},
      {2010, 10, 10, "Luke's first Sunday", {"apostol Гал. 1:11-19 200", "gospel Лк. 5:1-11 17"}},
      // A short winter (Pascha 2025 on 20 April): the Sundays before the Triodion.
      // (its Sunday is the Sunday after Theophany, which takes its place in a year of отступка)
      {2025, 1, 26, "the Sunday after Theophany", {"apostol Еф. 4:7-13 224", "gospel Мф. 4:12-17 8"}},
      {2025, 2, 2, "Zacchaeus", {"apostol 1 Тим. 4:9-15 285", "gospel Лк. 19:1-10 94"}},
      // A long winter (Pascha 2024 on 5 May): five weeks left over.
      {2024, 2, 11, "the Canaanite woman", {"apostol 2 Кор. 6:16-7:1 182", "gospel Мф. 15:21-28 62"}},
      {2024, 2, 18, "Zacchaeus", {"apostol 1 Тим. 4:9-15 285", "gospel Лк. 19:1-10 94"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.what) + " " + std::to_string(r.day) + "." + std::to_string(r.month) + "." +
                 std::to_string(r.year));
    const std::vector<std::string> day = Day(r.year, r.month, r.day);
    for (const std::string& piece : r.pieces) EXPECT_TRUE(Has(day, piece)) << piece << " in\n" << ::testing::PrintToString(day);
  }
  // On that Sunday the Sunday Matins Gospel follows the cycle.
  EXPECT_TRUE(Has(Day(2025, 1, 26), "matins Ин. 20:19-31 65"));
  EXPECT_FALSE(Has(Day(2025, 1, 26), "gospel Мф. 15:21-28 62"));
}

// The fixed cycle and the special days: great feasts on weekdays and on a
// Sunday, the Annunciation in Lent and on Pascha (1991), a feast's ordinary
// reading moved «под зачало», a special Sunday in place of the ordinary.
TEST_F(ShippedReadingsTest, KnownDaysOfTheFeastsAndTheSpecialDays) {
  struct Row {
    u16 year, month, day;
    const char* what;
    std::vector<std::string> pieces;
    std::vector<std::string> absent;
  };
  const std::vector<Row> rows = {
      {2025, 1, 7, "the Nativity", {"matins Мф. 1:18-25 2", "apostol Гал. 4:4-7 209", "gospel Мф. 2:1-12 3"}, {}},
      {2025, 1, 19, "Theophany on a Sunday",
       {"matins Мк. 1:9-11 2", "apostol Тит. 2:11-14, 3:4-7 302", "gospel Мф. 3:13-17 6"},
       {"gospel Лк.", "gospel Мф. 15"}},
      {2024, 9, 21, "the Nativity of the Theotokos on a Saturday",
       {"matins Лк. 1:39-49, 1:56 4", "apostol Флп. 2:5-11 240", "gospel Лк. 10:38-42, 11:27-28 54"}, {}},
      {2024, 9, 27, "the Exaltation",
       {"matins Ин. 12:28-36 42", "apostol 1 Кор. 1:18-24 125",
        "gospel Ин. 19:6-11, 19:13-20, 19:25-28, 19:30-35 60"},
       {}},
      {2024, 9, 26, "the eve of the Exaltation takes Friday's ordinary reading", {"apostol Гал. 2:6-10 201"}, {}},
      {2025, 4, 7, "the Annunciation on a Lenten weekday",
       {"6th-hour Ис. 48:17-49:4", "apostol Евр. 2:11-18 306", "gospel Лк. 1:24-38 3"}, {}},
      {1991, 4, 7, "the Annunciation on Pascha",
       {"apostol Деян. 1:1-8 1", "gospel Ин. 1:1-17 1", "apostol Евр. 2:11-18 306", "gospel Лк. 1:24-38 3"},
       {"matins"}},
      {2022, 8, 28, "the Dormition on a Sunday",
       {"apostol 1 Кор. 9:2-12 141", "apostol Флп. 2:5-11 240", "gospel Лк. 10:38-42, 11:27-28 54"}, {}},
      {2024, 12, 29, "the Forefathers", {"apostol Кол. 3:4-11 257", "gospel Лк. 14:16-24 76"}, {"gospel Лк. 8"}},
      {2025, 2, 22, "the memorial Saturday of Meatfare week", {"apostol 1 Сол. 4:13-17 270", "gospel Ин. 5:24-30 16"}, {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.what) + " " + std::to_string(r.day) + "." + std::to_string(r.month) + "." +
                 std::to_string(r.year));
    const std::vector<std::string> day = Day(r.year, r.month, r.day);
    for (const std::string& piece : r.pieces) EXPECT_TRUE(Has(day, piece)) << piece << " in\n" << ::testing::PrintToString(day);
    for (const std::string& piece : r.absent) EXPECT_FALSE(Has(day, piece)) << piece << " in\n" << ::testing::PrintToString(day);
  }
}

// Every day of 1800..2100 has readings.
TEST_F(ShippedReadingsTest, EveryDayOf1800To2100HasItsReadings) {
  Date d{1, 1, 1800};
  int days = 0;
  for (;; ++days) {
    const std::vector<ReadingGroup> groups = DayReadings(*tables_, d.day, d.month, d.year);
    ASSERT_FALSE(groups.empty()) << d.day << "." << d.month << "." << d.year;
    if (d == Date{31, 12, 2100}) break;
    d = NextDay(d.day, d.month, d.year);
  }
  EXPECT_EQ(days + 1, GregorianToSerial(2100, 12, 31) - GregorianToSerial(1800, 1, 1) + 1);
}

}  // namespace
}  // namespace velmar
