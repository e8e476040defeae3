// The readings of a day on small tables made here: the forms of a
// reference, the ordinary reading of the weeks after Pentecost, the feasts
// that take its place and the moves «под зачало», the special days, Lent, the
// Matins Gospel, bad lines, and the documents with and without the tables.
#include "texts/day_readings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "day_test_support.h"
#include "platform/messages.h"
#include "reports/period_calendar.h"
#include "texts/database_cache.h"
#include "texts/day_views.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;
using testing::Capture;

// Writes a database file from UTF-8 lines joined by CR LF.
void WriteDatabaseFile(const fs::path& path, const std::string& utf8) {
  std::string crlf;
  for (const char c : Utf8ToCp1251(utf8)) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  std::ofstream(path, std::ios::binary) << crlf;
}

// Tables in which the reading of week N, weekday w after Pentecost is
// zachalo N*10+w (chapter N*10+w, verses 1-5): "Рим." for the Apostol, "Мф."
// for Matthew's weeks, "Лк." for Luke's; Matins Gospel n of the cycle is
// "Ин." 60+n.
class ReadingsFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_.path() / "dbase");
    std::string zachala = "; index\n[Ап.]\n1=Деян. 1:1-8\n";
    for (int n = 11; n <= 337; ++n) zachala += std::to_string(n) + "=Рим. " + std::to_string(n) + ":1-5\n";
    zachala += "[Мф.]\n";
    for (int n = 11; n <= 337; ++n) zachala += std::to_string(n) + "=" + std::to_string(n) + ":1-5\n";
    zachala += "[Лк.]\n4=1:39-56\n54=10:38-42\n";
    for (int n = 180; n <= 337; ++n) zachala += std::to_string(n) + "=" + std::to_string(n) + ":1-5\n";
    zachala += "[Ин.]\n1=1:1-17\n65=20:19-25\n";
    for (int n = 61; n <= 71; ++n) if (n != 65) zachala += std::to_string(n) + "=" + std::to_string(n) + ":1-5\n";
    Write("Zachala.db", zachala);

    std::string moveable = "[+0] Пасха\nАп=Деян. 1\nЕв=Ин. 1\nВеч=Ин. 65\n";
    moveable += "[-48]\n6ч=Ис. 1:1-20\nВеч=Быт. 1:1-13\nВеч=Притч. 1:1-20\n";
    moveable += "[-41]\n6ч=Ис. 4:2-5:7\n";
    moveable += "[-13]\n6ч=Ис. 48:17-49:4\n";
    const char* days[] = {"", "Вс", "Пн", "Вт", "Ср", "Чт", "Пт", "Сб"};
    for (int week = 1; week <= 33; ++week) {
      const std::string n = std::to_string(week);
      std::string ap = "[Ап " + n + "]\n", ev = std::string(week <= 17 ? "[Ев " : "[Лк ") + n + "]\n";
      for (int w = 1; w <= 7; ++w) {
        if (week == 33 && w == 1) continue;
        const std::string z = std::to_string(week * 10 + w);
        ap += std::string(days[w]) + "=Рим. " + z + "\n";
        ev += std::string(days[w]) + (week <= 17 ? "=Мф. " : "=Лк. ") + z + "\n";
      }
      moveable += ap + ev;
    }
    moveable += "[Утр]\n";
    for (int n = 1; n <= 11; ++n) moveable += std::to_string(n) + "=Ин. " + std::to_string(60 + n) + "\n";
    Write("Readings.db", moveable);

    Write("ReadingsSpecial.db",
          "[Сб 07.09-13.09] Суб. пред Воздвижением\nАп=Рим. 11 11:2-4\nЕв=Мф. 11\n"
          "[Вс 11.12-17.12] Праотец\nРяд=нет\nАп=Рим. 12\nЕв=Лк. 200\n"
          "[Вс 01.01-05.01] Пред Богоявлением\nРяд=без отступки\nАп=Рим. 21\n");
    Write("ReadingsMenaion.db",
          "[14.09] Креста\nПраздник=Господский\nСлужба=6\nУтр=Ин. 62\nАп=Рим. 13\nЕв=Мф. 13\n"
          "[06.08] Преображения\nПраздник=Господский\nСлужба=6\nАп=Рим. 14\nЕв=Мф. 14\n"
          "[15.08] Богородицы\nПраздник=Богородичный\nСлужба=6\nУтр=Лк. 4 1:39-49, 1:56\nАп=Рим. 15\n"
          "Ев=Лк. 54 10:38-42, 11:27-28\n"
          "[25.03] Благовещения\nПраздник=Богородичный\nСлужба=6\nАп=Рим. 16\nЕв=Мф. 16\n"
          "[18.02] Прп.\nСлужба=4\nАп=Рим. 17\nЕв=Мф. 17\n"
          "[25.02] Прп.\nСлужба=4\nАп=Рим. 18\nЕв=Мф. 18\n"
          "[20.09] Мч.\nСлужба=3\nАп=Рим. 19\nЕв=Мф. 19\n");
  }

  void Write(const char* name, const std::string& utf8) { WriteDatabaseFile(dir_.path() / "dbase" / name, utf8); }

  // The entry texts of a date (UTF-8), full or short.
  std::vector<std::string> Texts(u16 year, u16 month, u16 day, bool shortForm = true) {
    const ReadingsTables tables = ReadReadingsTables((dir_.path() / "dbase").string() + "/");
    std::vector<std::string> out;
    for (const std::string& t : ReadingEntryTexts(DayReadings(tables, day, month, year), shortForm))
      out.push_back(Cp1251ToUtf8(t));
    return out;
  }

  testing::TempProgramDir dir_;
  RecordingMessageSink messages_;
};

using Lines = std::vector<std::string>;

TEST(ReadingForms, PiecesInTheChurchAndTheShortForm) {
  struct Row {
    const char* reading;  // as the files write it
    const char* church;
    const char* shortForm;
    const char* range;
  };
  const Row rows[] = {
      {"2 Тим. 297 3:16-4:4", "2 Тим., 297 зач., III, 16 – IV, 4", "2 Тим. 3:16–4:4", "3:16-4:4"},
      {"Лк. 54 10:38-42, 11:27-28", "Лк., 54 зач., X, 38–42; XI, 27–28", "Лк. 10:38–42, 11:27–28",
       "10:38-42, 11:27-28"},
      {"Лк. 4 1:39-49, 1:56", "Лк., 4 зач., I, 39–49, 56", "Лк. 1:39–49, 56", "1:39-49, 1:56"},
      {"Ис. 1:1-20", "Ис., I, 1–20", "Ис. 1:1–20", "1:1-20"},
      {"Евр. 330 12:1-10", "Евр., 330 зач., XII, 1–10", "Евр. 12:1–10", "12:1-10"},
      {"Притч. 14:15", "Притч., XIV, 15", "Притч. 14:15", "14:15"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.reading);
    Reading reading;
    ASSERT_TRUE(ParseReading(Utf8ToCp1251(r.reading), reading));
    ASSERT_EQ(reading.size(), 1u);
    EXPECT_EQ(Cp1251ToUtf8(PieceText(reading[0], false)), r.church);
    EXPECT_EQ(Cp1251ToUtf8(PieceText(reading[0], true)), r.shortForm);
    EXPECT_EQ(RangeText(reading[0].spans), r.range);
  }
  for (const char* bad : {"Лк. 4 1:39-49,1:56", "Лк. 1:1-2", "Ис. 5 1:1", "Кни. 1:1", "Лк. 4 3:5-2",
                          "Лк. 4 3:5-3:2", "Лк. 4; ", "Лк.", "Лк. 0", "Лк. 4 1:0", "Мф. 4 1:1-"}) {
    Reading reading;
    EXPECT_FALSE(ParseReading(Utf8ToCp1251(bad), reading)) << bad;
  }
}

TEST_F(ReadingsFixture, OrdinaryReadingsOfTheWeeksAfterPentecost) {
  // 1 October 2024: Tuesday of week 15, Luke's 18th.
  EXPECT_EQ(Texts(2024, 10, 1), (Lines{"Рим. 153:1–5; Лк. 183:1–5"}));
  EXPECT_EQ(Texts(2024, 10, 1, false),
            (Lines{"Ап.: Рим., 153 зач., CLIII, 1–5. Ев.: Лк., 183 зач., CLXXXIII, 1–5."}));
  // Sunday 6 October: the Matins Gospel 4 of the cycle, then the Liturgy.
  EXPECT_EQ(Texts(2024, 10, 6, false),
            (Lines{"Утр.: Ев. 4-е, Ин., 64 зач., LXIV, 1–5.",
                   "Ап.: Рим., 151 зач., CLI, 1–5. Ев.: Лк., 181 зач., CLXXXI, 1–5."}));
  // Pascha: the Vespers Gospel of the evening after the Liturgy.
  EXPECT_EQ(Texts(2024, 5, 5), (Lines{"Деян. 1:1–8; Ин. 1:1–17", "На веч.: Ин. 20:19–25"}));
}

TEST_F(ReadingsFixture, FeastsTakeTheOrdinaryReadingsPlaceAndMoveIt) {
  // The Exaltation on Friday 27 September 2024 (week 14): the ordinary reading
  // of Friday is read on Thursday «под зачало».
  EXPECT_EQ(Texts(2024, 9, 27, false),
            (Lines{"Утр.: Ин., 62 зач., LXII, 1–5.", "Ап.: Рим., 13 зач., XIII, 1–5. Ев.: Мф., 13 зач., XIII, 1–5."}));
  EXPECT_EQ(Texts(2024, 9, 26),
            (Lines{"Рим. 145:1–5; Мф. 145:1–5", "Ряд. за пятницу: Рим. 146:1–5; Мф. 146:1–5"}));
  EXPECT_EQ(Texts(2024, 9, 26, false)[1],
            "Ряд. за пятницу (под зачало): Рим., 146 зач., CXLVI, 1–5. Мф., 146 зач., CXLVI, 1–5.");
  EXPECT_EQ(Texts(2024, 9, 28), (Lines{"Рим. 147:1–5; Мф. 147:1–5"}));  // Saturday keeps its own
  // The Transfiguration on Monday 19 August 2024 (week 9): the day before is
  // a Sunday, so Monday's reading goes to Tuesday.
  EXPECT_EQ(Texts(2024, 8, 19), (Lines{"Рим. 14:1–5; Мф. 14:1–5"}));
  EXPECT_EQ(Texts(2024, 8, 20),
            (Lines{"Рим. 93:1–5; Мф. 93:1–5", "Ряд. за понедельник: Рим. 92:1–5; Мф. 92:1–5"}));
  // The Dormition on Wednesday 28 August 2024 replaces the ordinary reading;
  // on Sunday 28 August 2022 it is read after the Sunday's, and its Matins
  // Gospel is the day's.
  EXPECT_EQ(Texts(2024, 8, 28), (Lines{"Утр.: Лк. 1:39–49, 56", "Рим. 15:1–5; Лк. 10:38–42, 11:27–28"}));
  const Lines sunday = Texts(2022, 8, 28);
  ASSERT_EQ(sunday.size(), 3u);
  EXPECT_EQ(sunday[0], "Утр.: Лк. 1:39–49, 56");
  EXPECT_EQ(sunday[2], "Богородицы: Рим. 15:1–5; Лк. 10:38–42, 11:27–28");
  // A saint without polyeleos is read on a weekday, not on a Sunday.
  EXPECT_EQ(Texts(2024, 10, 3), (Lines{"Рим. 155:1–5; Лк. 185:1–5", "Мч.: Рим. 19:1–5; Мф. 19:1–5"}));
  EXPECT_EQ(Texts(2025, 10, 3).size(), 2u);  // a Friday
  EXPECT_EQ(Texts(2021, 10, 3).size(), 2u);  // a Sunday: Matins and the Sunday's
}

TEST_F(ReadingsFixture, SpecialDaysAreReadWithOrInsteadOfTheOrdinary) {
  // Saturday 21 September 2024: before the Exaltation, with the ordinary.
  EXPECT_EQ(Texts(2024, 9, 21),
            (Lines{"Рим. 137:1–5; Мф. 137:1–5", "Суб. пред Воздвижением: Рим. 11:2–4; Мф. 11:1–5"}));
  EXPECT_EQ(Texts(2024, 9, 21, false)[1],
            "Суб. пред Воздвижением: Рим., 11 зач. (от полу), XI, 2–4. Мф., 11 зач., XI, 1–5.");
  // Sunday 29 December 2024, the Forefathers: instead of the ordinary.
  const Lines forefathers = Texts(2024, 12, 29);
  ASSERT_EQ(forefathers.size(), 2u);
  EXPECT_EQ(forefathers[1], "Праотец: Рим. 12:1–5; Лк. 200:1–5");
  // The Sunday before Theophany: with the ordinary reading (Zacchaeus') in a
  // year without the winter отступка (Pascha 2009, 19 April, and 2010, 4
  // April: 17 January 2010), instead of it in another (14 January 2024).
  EXPECT_EQ(Texts(2010, 1, 17).size(), 3u);
  const Lines stepBack = Texts(2024, 1, 14);
  ASSERT_EQ(stepBack.size(), 2u);
  EXPECT_EQ(stepBack[1], "Пред Богоявлением: Рим. 21:1–5");
}

TEST_F(ReadingsFixture, LentWeekdaysHaveNoLiturgyButTheAnnunciation) {
  // Clean Monday, 3 March 2025 (18 February o.s., a polyeleos saint of the
  // first week: not read), and Monday of the second week (25 February o.s.:
  // read at the Presanctified Liturgy).
  EXPECT_EQ(Texts(2025, 3, 3, false),
            (Lines{"На 6-м часе: Ис., I, 1–20.", "На веч.: Быт., I, 1–13. Притч., I, 1–20."}));
  EXPECT_EQ(Texts(2025, 3, 10), (Lines{"На 6-м часе: Ис. 4:2–5:7", "Прп.: Рим. 18:1–5; Мф. 18:1–5"}));
  // The Annunciation on Monday 7 April 2025 of the sixth week.
  EXPECT_EQ(Texts(2025, 4, 7), (Lines{"На 6-м часе: Ис. 48:17–49:4", "Рим. 16:1–5; Мф. 16:1–5"}));
}

// Each entry names its readings in the order of its text, for the reading
// window: the Matins Gospel, the Liturgy's Apostol before its Gospel, the
// moved reading, the Hours and Vespers.
TEST_F(ReadingsFixture, EntriesNameTheirReadingsInTheOrderOfTheirText) {
  const ReadingsTables tables = ReadReadingsTables((dir_.path() / "dbase").string() + "/");
  const auto pieces = [&](u16 year, u16 month, u16 day) {
    std::vector<std::string> out;
    for (const ReadingEntry& e : ReadingEntries(DayReadings(tables, day, month, year), true)) {
      std::string line = Cp1251ToUtf8(e.text) + " =";
      for (const SlotReading& r : e.readings)
        for (const ScripturePiece& p : r.reading) line += " " + Cp1251ToUtf8(PieceText(p, true));
      out.push_back(line);
    }
    return out;
  };
  EXPECT_EQ(pieces(2024, 8, 28), (Lines{"Утр.: Лк. 1:39–49, 56 = Лк. 1:39–49, 56",
                                        "Рим. 15:1–5; Лк. 10:38–42, 11:27–28 = Рим. 15:1–5 Лк. 10:38–42, 11:27–28"}));
  EXPECT_EQ(pieces(2024, 9, 26)[1], "Ряд. за пятницу: Рим. 146:1–5; Мф. 146:1–5 = Рим. 146:1–5 Мф. 146:1–5");
  EXPECT_EQ(pieces(2025, 3, 3), (Lines{"На 6-м часе: Ис. 1:1–20 = Ис. 1:1–20",
                                       "На веч.: Быт. 1:1–13; Притч. 1:1–20 = Быт. 1:1–13 Притч. 1:1–20"}));
  // The same texts as ReadingEntryTexts, in both forms.
  for (const bool shortForm : {true, false}) {
    const auto groups = DayReadings(tables, 21, 9, 2024);
    std::vector<std::string> texts;
    for (const ReadingEntry& e : ReadingEntries(groups, shortForm)) texts.push_back(e.text);
    EXPECT_EQ(texts, ReadingEntryTexts(groups, shortForm));
  }
}

TEST_F(ReadingsFixture, BadLinesAndUnknownZachalaAreReportedAndPassedOver) {
  Write("ReadingsSpecial.db",
        "[Сб 07.09-13.09] Суб. пред Воздвижением\nАп=Рим. 1x\nЕв=Мф. 999\nЕв=Мф. 11\nЧто-то\n"
        "[Пн 31.02-01.03]\nАп=Рим. 12\n[Сб 07.09-13.09] Ещё\nРяд=может быть\n");
  EXPECT_EQ(Texts(2024, 9, 21), (Lines{"Рим. 137:1–5; Мф. 137:1–5", "Суб. пред Воздвижением: Мф. 11:1–5"}));
  std::vector<std::string> shown;
  for (const std::string& m : messages_.texts) shown.push_back(Cp1251ToUtf8(m));
  EXPECT_EQ(shown, (std::vector<std::string>{"Error in input file ReadingsSpecial.db.",
                                             "Зачало Мф. 999 из ReadingsSpecial.db не найдено в Zachala.db.",
                                             "Error in input file ReadingsSpecial.db.",
                                             "Error in input file ReadingsSpecial.db.",
                                             "Error in input file ReadingsSpecial.db."}));
  // An Apostol zachalo named with another book than the index's.
  messages_.texts.clear();
  Write("ReadingsSpecial.db", "[Сб 07.09-13.09] Суб.\nАп=Евр. 11\n");
  EXPECT_EQ(Texts(2024, 9, 21).size(), 1u);
  EXPECT_EQ(messages_.texts.size(), 1u);
}

TEST_F(ReadingsFixture, WithoutTheIndexThereAreNoReadings) {
  fs::remove(dir_.path() / "dbase" / "Zachala.db");
  EXPECT_TRUE(Texts(2024, 10, 1).empty());
  EXPECT_TRUE(messages_.texts.empty());
}

// The documents: the readings after the commemorations, before the fast note,
// each a calendar note; Readings=No or no tables leave the documents as they
// were.
TEST_F(ReadingsFixture, DocumentsCarryTheReadingsAsCalendarNotes) {
  const auto day = [] { return Capture([] { WriteCalendarDayDocument(2024, 10, 1); }); };
  const std::string with = day();
  EXPECT_NE(with.find("\n\\f3  · \\f2 Ап.: Рим., 153 зач., CLIII, 1–5. Ев.: Лк., 183 зач., CLXXXIII, 1–5.\\par"),
            std::string::npos)
      << with;
  AppSettings.readings = false;
  const std::string off = day();
  AppSettings.readings = true;
  for (const char* name : {"Zachala.db", "Readings.db", "ReadingsSpecial.db", "ReadingsMenaion.db"})
    fs::remove(dir_.path() / "dbase" / name);
  EXPECT_EQ(day(), off);
  EXPECT_EQ(off.find("Рим."), std::string::npos);
  // The period calendar reads the tables once and shows the same.
  const std::string period = Capture([] { WritePeriodCalendarDocument({{1, 10, 2024}, {2, 10, 2024}}); });
  EXPECT_EQ(period.find("Рим."), std::string::npos);
}

}  // namespace
}  // namespace velmar
