#include "texts/day_entries.h"

#include <gtest/gtest.h>

#include "day_test_support.h"
#include "platform/messages.h"
#include "texts/database_cache.h"
#include "texts/day_views.h"

namespace velmar {
namespace {

using testing::Capture;

class DayEntriesTest : public ::testing::Test {
 protected:
  DayEntriesTest() : dir_(testing::Fixture("grammar")) { DayColour = "\\cf0"; }
  ~DayEntriesTest() override {
    SearchHighlight = false;
    HighlightText.clear();
  }
  testing::TempProgramDir dir_;
  RecordingMessageSink messages_;
};

const char* const kFifthOfJanuary =
    "\n\\f3  · \\f2 Zero five\\par"
    "\n\\f3\\cf1  + \\cf0\\f2 Четыре пять\\par"
    "\n\\cf4\\f3  · \\f2 Class q five\\cf0\\par"
    "\n\\f3\\cf1 (+)\\cf0\\f2 Five again\\par";

TEST_F(DayEntriesTest, MonthFileGrammar) {
  EXPECT_EQ(Capture([] { WriteMonthEntries(5, 1); }), kFifthOfJanuary);
  EXPECT_EQ(messages_.texts, std::vector<std::string>{"Error in input file January.db."});
  messages_.texts.clear();
  // [07] with trailing text keys day 7; LF-only line ends read like CRLF.
  EXPECT_EQ(Capture([] { WriteMonthEntries(7, 1); }), "\n\\f3  ш \\f2 Seven\\par");
  // A header right after a header leaves the first day empty.
  EXPECT_EQ(Capture([] { WriteMonthEntries(1, 1); }), "");
  EXPECT_EQ(Capture([] { WriteMonthEntries(2, 1); }), "\n\\f3  • \\f2 Two\\par");
  EXPECT_EQ(Capture([] { WriteMonthEntries(3, 1); }), "");
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(DayEntriesTest, LongLinesArriveAsSeveralEntries) {
  const std::string out = Capture([] { WriteMonthEntries(9, 1); });
  EXPECT_EQ(out, "\n\\f3  • \\f2 " + std::string(2045, 'A') +
                     "\\par\n\\f3\\cf1\\b  c \\b0\\cf0\\f2 tail\\par");
}

TEST_F(DayEntriesTest, SignsOffRunsEntriesTogether) {
  AppSettings.agiosLine = "No";
  EXPECT_EQ(Capture([] { WriteMonthEntries(5, 1); }),
            "\n Zero five"
            "\n \\f3\\cf1  + \\cf0\\f2 Четыре пять"
            "\n \\cf4Class q five\\cf0"
            "\n \\f3\\cf1 (+)\\cf0\\f2 Five again");
}

TEST_F(DayEntriesTest, AdditionalClassesFollowTheSettings) {
  AppSettings.menologion = "a";
  EXPECT_EQ(Capture([] { WriteMonthEntries(5, 1); }),
            "\n\\f3  · \\f2 Zero five\\par"
            "\n\\f3\\cf1  + \\cf0\\f2 Четыре пять\\par"
            "\n\\cf4\\f3  · \\f2 Class a five\\cf0\\par"
            "\n\\f3\\cf1 (+)\\cf0\\f2 Five again\\par");
  AppSettings.menologGray = false;
  AppSettings.menologion = "q0";
  DayColour = "\\cf3";
  // "0" is both a rank and listed: it gets both signs.
  EXPECT_EQ(Capture([] { WriteMonthEntries(5, 1); }),
            "\n\\f3  · \\f2 \\f3  · \\f2 Zero five\\par"
            "\n\\f3\\cf1  + \\cf3\\f2 Четыре пять\\par"
            "\n\\f3  · \\f2 Class q five\\par"
            "\n\\f3\\cf1 (+)\\cf3\\f2 Five again\\par");
}

TEST_F(DayEntriesTest, HighlightMarksTheFirstOccurrenceOnly) {
  SearchHighlight = true;
  HighlightText = std::string("Авраам"_cp);
  EXPECT_EQ(Capture([] { WriteMonthEntries(12, 1); }),
            "\n\\f3  • \\f2 Twelve \\cf1 \\b Авраам\\b0 \\cf0  and Авраам\\par"
            "\n\\cf4\\f3  · \\f2 Grey \\cf1 \\b Авраам\\b0 \\cf4  here\\cf0\\par");
  // Text seen only before "=" is not marked.
  HighlightText = "search-only";
  EXPECT_EQ(Capture([] { WriteMonthEntries(5, 1); }), kFifthOfJanuary);
  SearchHighlight = false;
  HighlightText = std::string("Авраам"_cp);
  EXPECT_EQ(Capture([] { WriteMonthEntries(12, 1); }),
            "\n\\f3  • \\f2 Twelve Авраам and Авраам\\par"
            "\n\\cf4\\f3  · \\f2 Grey Авраам here\\cf0\\par");
}

TEST_F(DayEntriesTest, EasterSectionsByDistanceFromPascha) {
  // Pascha 2000: 30 April. 13 March is Clean Monday (48 days before).
  EXPECT_EQ(Capture([] { WriteEasterEntries(13, 3, 2000); }),
            "\n\\f3\\cf1\\b  c \\b0\\cf0\\f2 Clean Monday\\par");
  // [+7] and [+07] both key Thomas Sunday; a header with another sign keeps
  // the section before it.
  EXPECT_EQ(Capture([] { WriteEasterEntries(7, 5, 2000); }),
            "\n\\f3  • \\f2 Thomas a\\par\n\\f3  • \\f2 Thomas b\\par\n\\f3  • \\f2 Thomas c\\par");
  // [+100] is read as 10.
  EXPECT_EQ(Capture([] { WriteEasterEntries(10, 5, 2000); }), "\n\\f3  · \\f2 Ten days\\par");
  EXPECT_TRUE(messages_.texts.empty());
  // A line without "=" is reported only where its section matches.
  EXPECT_EQ(Capture([] { WriteEasterEntries(29, 4, 2000); }), "");
  EXPECT_EQ(messages_.texts, std::vector<std::string>{"Error in input file Easter.db."});
}

// Found by fuzzing: line ends and blanks after "[+" let the offset's digits
// run on past the fourth character, up to a number beyond any long.
TEST_F(DayEntriesTest, EasterHeaderWithAHugeOffset) {
  std::ofstream(dir_.path() / "dbase" / "Easter.db", std::ios::binary)
      << "[+\r\r\x1d\r\r\r" << std::string(130, '7') << "\r\n1=never\r\n[-" << std::string(40, '9')
      << "\n1=never\n[+7]\n1=Thomas\n";
  EXPECT_EQ(Capture([] { WriteEasterEntries(7, 5, 2000); }), "\n\\f3  • \\f2 Thomas\\par");
  DatabaseSnapshot snapshot;
  EXPECT_EQ(Capture([] { WriteEasterEntries(7, 5, 2000); }), "\n\\f3  • \\f2 Thomas\\par");
}

TEST_F(DayEntriesTest, EpiphanySectionsByWeekdayAndDate) {
  EXPECT_EQ(Capture([] { WriteEpiphanyEntries(7, 24, 12); }),
            "\n\\f3  · \\f2 Saturday on 24 Dec\\par");
  EXPECT_EQ(Capture([] { WriteEpiphanyEntries(1, 24, 12); }),
            "\n\\f3  · \\f2 Sunday on 24 Dec\\par");
  EXPECT_EQ(Capture([] { WriteEpiphanyEntries(2, 24, 12); }), "");
  EXPECT_EQ(Capture([] { WriteEpiphanyEntries(1, 2, 0); }), "");  // short header
}

TEST_F(DayEntriesTest, AdditionalInformation) {
  LoadAdditionalInfo(ViewKind::Tomorrow, 25, 12);
  EXPECT_TRUE(AdditionalInfo[2].enabled);
  EXPECT_EQ(AdditionalInfo[2].reference, "docs/b.html");  // the later line wins
  EXPECT_EQ(AdditionalInfo[2].hint, "Hint B");
  LoadAdditionalInfo(ViewKind::Tomorrow, 7, 1);  // "[7.01]" never matches
  EXPECT_FALSE(AdditionalInfo[2].enabled);
  EXPECT_EQ(AdditionalInfo[2].reference, "");
  EXPECT_EQ(Cp1251ToUtf8(AdditionalInfo[2].hint), "Дополнительные сведения");
  LoadAdditionalInfo(ViewKind::Calendar, 6, 1);
  EXPECT_TRUE(AdditionalInfo[3].enabled);
  EXPECT_EQ(AdditionalInfo[3].reference, "docs/theo.html");
  EXPECT_EQ(Cp1251ToUtf8(AdditionalInfo[3].hint), "Дополнительные сведения");
  EXPECT_TRUE(messages_.texts.empty());
  // "reference=" with nothing after it: the hint is empty, not the default.
  std::ofstream(dir_.path() / "dbase" / "Addition.db", std::ios::binary)
      << "[25.12]\r\ndocs/x.html=\r\n";
  LoadAdditionalInfo(ViewKind::Calendar, 25, 12);
  EXPECT_TRUE(AdditionalInfo[3].enabled);
  EXPECT_EQ(AdditionalInfo[3].reference, "docs/x.html");
  EXPECT_EQ(AdditionalInfo[3].hint, "");
}

// A NUL byte ends a line's text, but the line stays what its first
// character makes it: with the NUL first, an entry line without text (so
// without "="), never a blank line.
TEST_F(DayEntriesTest, LineStartingWithANulByteIsAnEntryLine) {
  const std::string nul(1, '\0');
  std::ofstream(dir_.path() / "dbase" / "January.db", std::ios::binary)
      << "[5]\r\n" << nul << "0=hidden\r\n0=After\r\n[6]\r\n" << nul << "\r\n";
  std::ofstream(dir_.path() / "dbase" / "Easter.db", std::ios::binary)
      << "[+7]\n" << nul << "1=x\n1=Thomas\n";
  std::ofstream(dir_.path() / "dbase" / "Epiphany.db", std::ios::binary)
      << "[7 - 24.12]\n" << nul << "\n0=Eve\n";
  std::ofstream(dir_.path() / "dbase" / "Addition.db", std::ios::binary)
      << "[25.12]\n" << nul << "docs/a.html=Hint\n";
  EXPECT_EQ(Capture([] { WriteMonthEntries(5, 1); }), "\n\\f3  · \\f2 After\\par");
  EXPECT_EQ(Capture([] { WriteMonthEntries(6, 1); }), "");
  EXPECT_EQ(Capture([] { WriteEasterEntries(7, 5, 2000); }), "\n\\f3  • \\f2 Thomas\\par");
  EXPECT_EQ(Capture([] { WriteEpiphanyEntries(7, 24, 12); }), "\n\\f3  · \\f2 Eve\\par");
  EXPECT_EQ(messages_.texts,
            (std::vector<std::string>{"Error in input file January.db.",
                                      "Error in input file January.db.",
                                      "Error in input file Easter.db.",
                                      "Error in input file Epiphany.db."}));
  // Sections that don't match never look at the line.
  messages_.texts.clear();
  EXPECT_EQ(Capture([] { WriteMonthEntries(7, 1); }), "");
  EXPECT_TRUE(messages_.texts.empty());
  // In Addition.db the line is a reference with no text: it enables the button.
  LoadAdditionalInfo(ViewKind::Today, 25, 12);
  EXPECT_TRUE(AdditionalInfo[1].enabled);
  EXPECT_EQ(AdditionalInfo[1].reference, "");
  EXPECT_EQ(Cp1251ToUtf8(AdditionalInfo[1].hint), "Дополнительные сведения");
  // A report reads the files once and sees the same lines.
  DatabaseSnapshot snapshot;
  EXPECT_EQ(Capture([] { WriteMonthEntries(5, 1); }), "\n\\f3  · \\f2 After\\par");
  EXPECT_EQ(messages_.texts, std::vector<std::string>{"Error in input file January.db."});
}

// The three numbers of an Epiphany.db header stand at fixed positions of the
// line as read: blanks or the line feed after a one-digit month still leave
// the month readable; a header shorter than ten characters matches no day.
TEST_F(DayEntriesTest, EpiphanyHeaderIsReadBeforeTrimming) {
  std::ofstream(dir_.path() / "dbase" / "Epiphany.db", std::ios::binary)
      << "[5 - 05.1 \r\n1=Trailing blank\r\n"
         "[7 - 06.1\n1=Line feed at nine\n"
         "[4 - 07.1]\n1=Bracket\n"
         "[2 - 8.1\n1=Too short\n"
         "[3 - 09.1";
  struct Row { int weekday; std::uint16_t day, month; const char* out; };
  const Row rows[] = {
      {5, 5, 1, "\n\\f3  • \\f2 Trailing blank\\par"},
      {7, 6, 1, "\n\\f3  • \\f2 Line feed at nine\\par"},
      {4, 7, 1, "\n\\f3  • \\f2 Bracket\\par"},
      {2, 8, 1, ""},
      {3, 9, 1, ""},
      {5, 5, 10, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.weekday) + " " + std::to_string(r.day));
    EXPECT_EQ(Capture([&] { WriteEpiphanyEntries(r.weekday, r.day, r.month); }), r.out);
    DatabaseSnapshot snapshot;
    EXPECT_EQ(Capture([&] { WriteEpiphanyEntries(r.weekday, r.day, r.month); }), r.out);
  }
  EXPECT_TRUE(messages_.texts.empty());
}

// Every section whose header equals the key is taken, wherever it stands;
// each later line overrides the reference, and a line with "=" the hint.
TEST_F(DayEntriesTest, AdditionSectionsThatMatchMoreThanOnce) {
  std::ofstream(dir_.path() / "dbase" / "Addition.db", std::ios::binary)
      << "docs/before.html=Before any header\r\n"
         "[25.12]  \r\n"
         "docs/first.html=First hint\r\n"
         "\r\n"
         " docs/blank.html=never\r\n"
         ";docs/comment.html=never\r\n"
         "[01.01]\r\n"
         "docs/other.html=Other day\r\n"
         "[25.12] x\r\n"
         "docs/never.html=Never\r\n"
         "[25.12]\r\n"
         "docs/second.html\r\n"
         "[26.12]\r\n"
         "docs/later.html=Later day\r\n";
  LoadAdditionalInfo(ViewKind::Today, 25, 12);
  EXPECT_TRUE(AdditionalInfo[1].enabled);
  EXPECT_EQ(AdditionalInfo[1].reference, "docs/second.html");
  EXPECT_EQ(AdditionalInfo[1].hint, "First hint");  // a line without "=" keeps the hint
  LoadAdditionalInfo(ViewKind::Tomorrow, 1, 1);
  EXPECT_EQ(AdditionalInfo[2].reference, "docs/other.html");
  EXPECT_EQ(AdditionalInfo[2].hint, "Other day");
  LoadAdditionalInfo(ViewKind::Calendar, 26, 12);
  EXPECT_EQ(AdditionalInfo[3].reference, "docs/later.html");
  EXPECT_EQ(AdditionalInfo[3].hint, "Later day");
  // The other slots keep theirs.
  EXPECT_EQ(AdditionalInfo[1].reference, "docs/second.html");
  // A later "=" line overrides both, "=" inside the hint included.
  std::ofstream(dir_.path() / "dbase" / "Addition.db", std::ios::binary)
      << "[25.12]\ndocs/a.html\ndocs/b.html=Hint=with equals\n";
  LoadAdditionalInfo(ViewKind::Today, 25, 12);
  EXPECT_EQ(AdditionalInfo[1].reference, "docs/b.html");
  EXPECT_EQ(AdditionalInfo[1].hint, "Hint=with equals");
  // No matching section: the slot is reset.
  LoadAdditionalInfo(ViewKind::Today, 24, 12);
  EXPECT_FALSE(AdditionalInfo[1].enabled);
  EXPECT_EQ(AdditionalInfo[1].reference, "");
  EXPECT_EQ(Cp1251ToUtf8(AdditionalInfo[1].hint), "Дополнительные сведения");
  EXPECT_TRUE(messages_.texts.empty());
}

// A tab at the start makes an entry line whose code is the tab: never a
// rank, so a month file passes it over unless the menologion setting lists
// it; Easter.db and Epiphany.db show every code. Without "=" it is reported.
TEST_F(DayEntriesTest, ATabAtTheStartOfALine) {
  std::ofstream(dir_.path() / "dbase" / "January.db", std::ios::binary)
      << "[5]\n\t4=Tabbed\n\tno equals\n0=Plain\n";
  std::ofstream(dir_.path() / "dbase" / "Easter.db", std::ios::binary) << "[+7]\n\t=Tab in Easter\n";
  EXPECT_EQ(Capture([] { WriteMonthEntries(5, 1); }), "\n\\f3  · \\f2 Plain\\par");
  EXPECT_EQ(messages_.texts, std::vector<std::string>{"Error in input file January.db."});
  AppSettings.menologion = "\t";
  AppSettings.menologGray = false;
  EXPECT_EQ(Capture([] { WriteMonthEntries(5, 1); }),
            "\n\\f3  · \\f2 Tabbed\\par\n\\f3  · \\f2 Plain\\par");
  EXPECT_EQ(Capture([] { WriteEasterEntries(7, 5, 2000); }), "\nTab in Easter\\par");
}

// Lines before the first section header belong to no section, whatever
// key a header would give them (day 0, Pascha, ...).
TEST_F(DayEntriesTest, LinesBeforeTheFirstHeader) {
  std::ofstream(dir_.path() / "dbase" / "January.db", std::ios::binary) << "0=Before\n[0]\n0=Day nought\n";
  std::ofstream(dir_.path() / "dbase" / "Easter.db", std::ios::binary)
      << "1=Before\nno equals before\n[+1]\n1=Bright Monday\n";
  std::ofstream(dir_.path() / "dbase" / "Epiphany.db", std::ios::binary)
      << "1=Before\nno equals before\n[7 - 24.12]\n1=Eve\n";
  EXPECT_EQ(Capture([] { WriteEasterEntries(30, 4, 2000); }), "");  // Pascha: offset 0
  EXPECT_EQ(Capture([] { WriteEasterEntries(1, 5, 2000); }), "\n\\f3  • \\f2 Bright Monday\\par");
  EXPECT_EQ(Capture([] { WriteEpiphanyEntries(0, 0, 0); }), "");
  EXPECT_EQ(Capture([] { WriteMonthEntries(0, 1); }), "\n\\f3  · \\f2 Day nought\\par");
  EXPECT_TRUE(messages_.texts.empty());
  DatabaseSnapshot snapshot;
  EXPECT_EQ(Capture([] { WriteEasterEntries(30, 4, 2000); }), "");
  EXPECT_EQ(Capture([] { WriteEpiphanyEntries(0, 0, 0); }), "");
  EXPECT_EQ(Capture([] { WriteMonthEntries(0, 1); }), "\n\\f3  · \\f2 Day nought\\par");
  EXPECT_TRUE(messages_.texts.empty());
}

// In a month file the "=" is looked for first: a used line without it is
// reported whatever its code, listed or not.
TEST_F(DayEntriesTest, UnlistedCodeWithoutEquals) {
  std::ofstream(dir_.path() / "dbase" / "March.db", std::ios::binary)
      << "[8]\nz without equals\n7 without equals\nz=never shown\n[9]\nz other day\n";
  EXPECT_EQ(Capture([] { WriteMonthEntries(8, 3); }), "");
  EXPECT_EQ(messages_.texts, (std::vector<std::string>{"Error in input file March.db.",
                                                       "Error in input file March.db."}));
}

// A grey entry, a red sign and a marked text return to the day colour:
// purple on a weekday of Great Lent, dark red on a Sunday.
TEST_F(DayEntriesTest, ColoursReturnToTheDayColour) {
  SearchHighlight = true;
  HighlightText = std::string("Авраам"_cp);
  for (const char* colour : {"\\cf2", "\\cf3"}) {
    SCOPED_TRACE(colour);
    DayColour = colour;
    const std::string c = colour;
    EXPECT_EQ(Capture([] { WriteMonthEntries(12, 1); }),
              "\n\\f3  • \\f2 Twelve \\cf1 \\b Авраам\\b0 " + c + "  and Авраам\\par"
              "\n\\cf4\\f3  · \\f2 Grey \\cf1 \\b Авраам\\b0 \\cf4  here" + c + "\\par");
    EXPECT_EQ(Capture([] { WriteMonthEntries(5, 1); }),
              "\n\\f3  · \\f2 Zero five\\par"
              "\n\\f3\\cf1  + " + c + "\\f2 Четыре пять\\par"
              "\n\\cf4\\f3  · \\f2 Class q five" + c + "\\par"
              "\n\\f3\\cf1 (+)" + c + "\\f2 Five again\\par");
    EXPECT_EQ(Capture([] { WriteEasterEntries(13, 3, 2000); }),
              "\n\\f3\\cf1\\b  c \\b0" + c + "\\f2 Clean Monday\\par");
  }
}

TEST_F(DayEntriesTest, MissingFilesAreReportedAndTheDocumentGoesOn) {
  std::filesystem::remove_all(dir_.path() / "dbase");
  std::filesystem::create_directory(dir_.path() / "dbase");  // the folder without its files
  EXPECT_EQ(Capture([] {
              WriteEasterEntries(1, 1, 2001);
              WriteEpiphanyEntries(1, 19, 12);
              WriteMonthEntries(19, 12);
            }),
            "");
  LoadAdditionalInfo(ViewKind::Today, 19, 12);
  EXPECT_FALSE(AdditionalInfo[1].enabled);
  EXPECT_EQ(messages_.texts,
            (std::vector<std::string>{"Cannot open input Easter.db file.",
                                      "Cannot open input Epiphany.db file.",
                                      "Cannot open input file December.db.",
                                      "Cannot open input Addition.db file."}));
}

TEST_F(DayEntriesTest, AMissingFolderIsSaidOnceWithWhereItWasLookedFor) {
  std::filesystem::remove_all(dir_.path() / "dbase");
  const auto day = [] {
    return Capture([] {
      WriteEasterEntries(1, 1, 2001);
      WriteEpiphanyEntries(1, 19, 12);
      WriteMonthEntries(19, 12);
      LoadAdditionalInfo(ViewKind::Today, 19, 12);
    });
  };
  EXPECT_EQ(day(), "");
  EXPECT_EQ(day(), "");  // the next day, the next click: nothing more
  ASSERT_EQ(messages_.texts.size(), 1u);
  const std::string said = Cp1251ToUtf8(messages_.texts[0]);
  EXPECT_EQ(said.rfind("Не найдена папка базы данных:\n" + (dir_.path() / "dbase").string() + "/\n", 0), 0u)
      << said;
  EXPECT_FALSE(AdditionalInfo[1].enabled);
  // Found again but empty: each file is missing on its own, as before.
  std::filesystem::create_directory(dir_.path() / "dbase");
  day();
  EXPECT_EQ(messages_.texts.size(), 5u);
  EXPECT_EQ(messages_.texts.back(), "Cannot open input Addition.db file.");
  // Gone again: said again, once.
  std::filesystem::remove_all(dir_.path() / "dbase");
  day();
  day();
  ASSERT_EQ(messages_.texts.size(), 6u);
  EXPECT_EQ(messages_.texts.back(), messages_.texts[0]);
}

TEST_F(DayEntriesTest, HostileBytesNeverBreakTheReaders) {
  std::string hostile = "[5]\n0=a";
  hostile += '\0';
  hostile += "b\n\x98=x\n[\n[+\n[-\n" + std::string(100000, '=') + "\n" +
             std::string(5000, '[') + "\n";
  for (const char* name : {"January.db", "Easter.db", "Epiphany.db", "Addition.db"})
    std::ofstream(dir_.path() / "dbase" / name, std::ios::binary) << hostile;
  // The NUL byte ends its line's text; 0x98 is an additional class not shown.
  EXPECT_EQ(Capture([] { WriteMonthEntries(5, 1); }), "\n\\f3  · \\f2 a\\par");
  // "[+" and "[-" key offset 0: on Pascha the 100 000 "=" arrive in pieces.
  const std::string easter = Capture([] { WriteEasterEntries(30, 4, 2000); });
  EXPECT_GT(easter.size(), 100000u);
  EXPECT_EQ(Capture([] { WriteEpiphanyEntries(1, 5, 1); }), "");
  LoadAdditionalInfo(ViewKind::Today, 5, 1);
}

}  // namespace
}  // namespace velmar
