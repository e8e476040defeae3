// Whatever the database holds or the disk does, a view is written, a clear
// message is shown and nothing crashes.
#include <gtest/gtest.h>

#include "day_test_support.h"
#include "platform/messages.h"
#include "reports/menologion_search.h"
#include "reports/period_calendar.h"
#include "texts/database.h"
#include "texts/day_entries.h"
#include "texts/day_views.h"

namespace velmar {
namespace {

using testing::Capture;

class HostileInputTest : public ::testing::Test {
 protected:
  HostileInputTest() : dir_(std::filesystem::path(VELMAR_SOURCE_DIR) / "data") {}
  std::filesystem::path Db(const std::string& name) { return dir_.path() / "dbase" / name; }
  testing::TempProgramDir dir_;
  RecordingMessageSink messages_;
};

TEST_F(HostileInputTest, EachFileMissingInTurn) {
  const std::vector<std::pair<std::string, std::string>> files = {
      {"Easter.db", "Cannot open input Easter.db file."},
      {"Epiphany.db", "Cannot open input Epiphany.db file."},
      {"December.db", "Cannot open input file December.db."},
  };
  const std::string whole = Capture([] { WriteCalendarDayDocument(2001, 1, 7); });
  for (const auto& [name, message] : files) {
    SCOPED_TRACE(name);
    const std::filesystem::path aside = dir_.path() / "aside";
    std::filesystem::rename(Db(name), aside);
    messages_.texts.clear();
    const std::string doc = Capture([] { WriteCalendarDayDocument(2001, 1, 7); });
    EXPECT_EQ(messages_.texts, std::vector<std::string>{message});
    EXPECT_LE(doc.size(), whole.size());
    EXPECT_EQ(doc.substr(doc.size() - 2), "\n}");
    std::filesystem::rename(aside, Db(name));
  }
}

TEST_F(HostileInputTest, AFolderInPlaceOfAFile) {
  std::filesystem::remove(Db("Easter.db"));
  std::filesystem::create_directory(Db("Easter.db"));
  Capture([] { WriteCalendarDayDocument(2001, 1, 7); });
  EXPECT_EQ(messages_.texts, std::vector<std::string>{"Cannot open input Easter.db file."});
}

TEST_F(HostileInputTest, FilesReplacedOrTruncatedBetweenViews) {
  std::filesystem::resize_file(Db("December.db"), 100);  // cut in the middle of a line
  Capture([] { WriteCalendarDayDocument(2001, 1, 7); });
  std::ofstream(Db("December.db"), std::ios::binary | std::ios::trunc) << "[25]\n6=New text\n";
  const std::string doc = Capture([] { WriteCalendarDayDocument(2001, 1, 7); });
  EXPECT_NE(doc.find("New text"), std::string::npos);
}

TEST_F(HostileInputTest, AHundredMegabyteLine) {
  {
    std::ofstream out(Db("December.db"), std::ios::binary | std::ios::app);
    out << "\n[31]\n0=";
    const std::string chunk(1 << 20, 'x');
    for (int i = 0; i < 100; ++i) out << chunk;
    out << "\n";
  }
  const std::string doc = Capture([] { WriteCalendarDayDocument(2001, 1, 7); });
  EXPECT_TRUE(messages_.texts.empty());
  EXPECT_LT(doc.size(), 100000u);  // old-style 25 December isn't the long day
  // The search reads it in pieces too: each piece of x's without "=" counts.
  const SaintsSearchResult found = SearchSaints("xx", 2000);
  EXPECT_EQ(found.items.size(), 1u);
}

TEST_F(HostileInputTest, PeriodCalendarSurvivesABrokenDatabase) {
  std::ofstream(Db("Epiphany.db"), std::ios::binary) << "[1]\n[\n]\nno equals\n\x98\x98\n";
  std::filesystem::remove(Db("March.db"));
  Capture([] { WritePeriodCalendarDocument(YearPeriod(2001)); });
  EXPECT_EQ(messages_.texts, std::vector<std::string>{"Cannot open input file March.db."});
}

}  // namespace
}  // namespace velmar
