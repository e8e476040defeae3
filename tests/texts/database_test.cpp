#include "texts/database.h"

#include <gtest/gtest.h>

#include <string>

namespace velmar {
namespace {

TEST(Database, MonthFileNames) {
  const char* const names[] = {"", "January.db", "February.db", "March.db", "April.db",
                               "May.db", "June.db", "July.db", "August.db", "September.db",
                               "October.db", "November.db", "December.db"};
  ASSERT_EQ(MonthFileNames.size(), std::size(names));
  for (std::size_t i = 0; i < MonthFileNames.size(); ++i) EXPECT_EQ(MonthFileNames[i], names[i]) << i;
  EXPECT_EQ(kDayViewLineChars, 2047u);
  EXPECT_EQ(kSearchLineChars, 1023u);
}

// The first character of a line as read decides its kind.
TEST(Database, LineKinds) {
  struct Row { std::string line; LineKind kind; };
  const Row rows[] = {
      {"\n", LineKind::Blank},           {" 1=text\n", LineKind::Blank},
      {" ", LineKind::Blank},            {";1=comment\n", LineKind::Comment},
      {"[5]\n", LineKind::Header},       {"[", LineKind::Header},
      {"1=text\n", LineKind::Entry},     {"\t1=text\n", LineKind::Entry},
      {"\r\n", LineKind::Entry},         {"=\n", LineKind::Entry},
      {std::string(), LineKind::Entry},  // the piece of a line that starts with NUL
  };
  for (const Row& r : rows) EXPECT_EQ(ClassifyLine(r.line), r.kind) << "\"" << r.line << "\"";
}

TEST(Database, SectionKeys) {
  struct Day { const char* header; long day; };
  const Day days[] = {{"[5]\n", 5},       {"[25]\r\n", 25}, {"[07] trailing\n", 7},
                      {"[ 3]\n", 3},      {"[12", 12},      {"[x]\n", 0},
                      {"[]\n", 0},        {"[1]2]\n", 1},   {"[+4]\n", 4}};
  for (const Day& d : days) EXPECT_EQ(MonthSectionDay(d.header), d.day) << d.header;

  struct Easter { const char* header; char sign; long offset; };
  const Easter easter[] = {
      {"[+7]\n", '+', 7},    {"[+07]\n", '+', 7},  {"[-48]\n", '-', 48}, {"[+100]\n", '+', 10},
      {"[-0]\n", '-', 0},    {"[+0]", '+', 0},     {"[+]\n", '+', 0},    {"[+5\n", '+', 5},
      {"[x7]\n", 0, 0},      {"[7]\n", 0, 0},      {"[", 0, 0},          {"[+ 9]\n", '+', 9},
  };
  for (const Easter& e : easter) {
    const EasterKey key = EasterSectionKey(e.header);
    EXPECT_EQ(key.sign, e.sign) << e.header;
    EXPECT_EQ(key.offset, e.offset) << e.header;
  }

  struct Epiphany { const char* header; bool valid; long weekday, day, month; };
  const Epiphany epiphany[] = {
      {"[7 - 24.12]\n", true, 7, 24, 12}, {"[1 - 05.01] text\n", true, 1, 5, 1},
      {"[5 - 05.1 \n", true, 5, 5, 1},    {"[5 - 05.1\n", true, 5, 5, 1},
      {"[5 - 05.1", false, 0, 0, 0},      {"[1 - 2]\n", false, 0, 0, 0},
      {"[9xxx31x13x\n", true, 9, 31, 13}, {"[a - bc.de]\n", true, 0, 0, 0},
  };
  for (const Epiphany& e : epiphany) {
    const EpiphanyKey key = EpiphanySectionKey(e.header);
    EXPECT_EQ(key.valid, e.valid) << e.header;
    if (!e.valid) continue;
    EXPECT_EQ(key.weekday, e.weekday) << e.header;
    EXPECT_EQ(key.day, e.day) << e.header;
    EXPECT_EQ(key.month, e.month) << e.header;
  }

  EXPECT_EQ(AdditionSectionHeader(7, 1), "[07.01]");
  EXPECT_EQ(AdditionSectionHeader(25, 12), "[25.12]");
}

}  // namespace
}  // namespace velmar
