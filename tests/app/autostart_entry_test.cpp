#include "app/autostart_entry.h"

#include <gtest/gtest.h>

#include <string>

#include "app/about_links.h"
#include "calendar/cp1251.h"

namespace velmar {
namespace {

TEST(AutostartEntry, PathFollowsXdgConfigHomeOrHome) {
  EXPECT_EQ(AutostartEntryPath("/tmp/cfg", "/home/u"), "/tmp/cfg/autostart/velmar32.desktop");
  EXPECT_EQ(AutostartEntryPath("/tmp/cfg/", "/home/u"), "/tmp/cfg/autostart/velmar32.desktop");
  EXPECT_EQ(AutostartEntryPath(nullptr, "/home/u"), "/home/u/.config/autostart/velmar32.desktop");
  EXPECT_EQ(AutostartEntryPath("", "/home/u"), "/home/u/.config/autostart/velmar32.desktop");
  // A relative XDG_CONFIG_HOME is invalid and ignored.
  EXPECT_EQ(AutostartEntryPath("cfg", "/home/u"), "/home/u/.config/autostart/velmar32.desktop");
  EXPECT_EQ(AutostartEntryPath(nullptr, nullptr), "");
}

TEST(AutostartEntry, ExecArgumentIsQuotedOnlyWhenItMustBe) {
  struct Row { const char* path; const char* exec; };
  const Row rows[] = {
      {"/usr/local/bin/Velmar32", "/usr/local/bin/Velmar32"},
      {"/opt/Velmar 32/Velmar32", "\"/opt/Velmar 32/Velmar32\""},
      {"/opt/a$b/Velmar32", "\"/opt/a\\\\$b/Velmar32\""},
      {"/opt/a\"b/Velmar32", "\"/opt/a\\\\\"b/Velmar32\""},
      {"/opt/a\\b/Velmar32", "\"/opt/a\\\\\\\\b/Velmar32\""},
      {"/opt/100%/Velmar32", "/opt/100%%/Velmar32"},
      {"/opt/(x)/Velmar32", "\"/opt/(x)/Velmar32\""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.path);
    EXPECT_EQ(DesktopExecArgument(r.path), r.exec);
  }
}

TEST(AutostartEntry, EntryNamesTheProgramAndItsPath) {
  EXPECT_EQ(AutostartEntryText("/opt/Velmar 32/Velmar32"),
            "[Desktop Entry]\nType=Application\nName=Днесловник\n"
            "Exec=\"/opt/Velmar 32/Velmar32\"\nTerminal=false\n");
}

TEST(AboutLinks, VersionLineAndMailSubjectCarryTheRelease) {
  EXPECT_EQ(Cp1251ToUtf8(VersionCaption()), "Версия: 2.0 pre-release сборка 278");
  EXPECT_EQ(Cp1251ToUtf8(MailSubject()), "Днесловник_(2.0 pre-release b.278)");
  EXPECT_EQ(MailLink(), "");  // the project has no contact address yet
  EXPECT_EQ(MailLink("velmar32@example.org"),
            "mailto:velmar32@example.org?subject="
            "%D0%94%D0%BD%D0%B5%D1%81%D0%BB%D0%BE%D0%B2%D0%BD%D0%B8%D0%BA"
            "_(2.0%20pre-release%20b.278)");
  EXPECT_EQ(PercentEncode("a+b&c=d?"), "a%2Bb%26c%3Dd%3F");
}

}  // namespace
}  // namespace velmar
