#include "texts/database_cache.h"

#include <gtest/gtest.h>

#include "day_test_support.h"
#include "platform/messages.h"
#include "calendar/calendar_arithmetic.h"
#include "texts/day_entries.h"
#include "texts/day_views.h"

namespace velmar {
namespace {

using testing::Capture;

// Reading through a snapshot gives the same bytes and the same messages as
// reading the files, day by day.
void ExpectSameAsFiles(const std::filesystem::path& fixture, Date from, int days) {
  testing::TempProgramDir dir(fixture);
  for (Date d = from; days-- > 0; d = NextDay(d.day, d.month, d.year)) {
    RecordingMessageSink direct;
    const std::string plain = Capture([&] { WriteCalendarDayDocument(d.year, d.month, d.day); });
    const auto plainMessages = direct.texts;
    direct.texts.clear();
    std::string cached;
    {
      DatabaseSnapshot snapshot;
      cached = Capture([&] { WriteCalendarDayDocument(d.year, d.month, d.day); });
    }
    ASSERT_EQ(cached, plain) << d.day << "." << d.month << "." << d.year;
    ASSERT_EQ(direct.texts, plainMessages) << d.day << "." << d.month << "." << d.year;
  }
}

TEST(DatabaseSnapshot, SameDocumentsAsReadingTheFiles) {
  ExpectSameAsFiles(testing::Fixture("grammar"), {1, 1, 2000}, 732);
  ExpectSameAsFiles(std::filesystem::path(VELMAR_SOURCE_DIR) / "data", {1, 1, 1899}, 800);
}

TEST(DatabaseSnapshot, MissingFilesAndEditsBetweenScopes) {
  testing::TempProgramDir dir(testing::Fixture("grammar"));
  RecordingMessageSink messages;
  {
    DatabaseSnapshot snapshot;
    const std::string before = Capture([] { WriteMonthEntries(2, 1); });
    EXPECT_EQ(before, "\n\\f3  • \\f2 Two\\par");
    // An edit during the scope isn't seen: the file was read once.
    std::ofstream(dir.path() / "dbase" / "January.db", std::ios::binary) << "[2]\n1=Edited\n";
    EXPECT_EQ(Capture([] { WriteMonthEntries(2, 1); }), before);
    EXPECT_EQ(Capture([] { WriteMonthEntries(2, 2); }), "");
  }
  EXPECT_EQ(messages.texts, std::vector<std::string>{"Cannot open input file February.db."});
  // The next report sees the edit.
  DatabaseSnapshot next;
  EXPECT_EQ(Capture([] { WriteMonthEntries(2, 1); }), "\n\\f3  • \\f2 Edited\\par");
}

}  // namespace
}  // namespace velmar
