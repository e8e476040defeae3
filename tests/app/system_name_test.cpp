#include "app/system_name.h"

#include <gtest/gtest.h>

#include "calendar/cp1251.h"

namespace velmar {
namespace {

TEST(SystemName, OsReleaseGivesThePrettyNameOrNameAndVersion) {
  EXPECT_EQ(OsReleaseName("PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian GNU/Linux\"\n"
                          "VERSION_ID=\"12\"\n"),
            "Debian GNU/Linux 12 (bookworm)");
  EXPECT_EQ(OsReleaseName("NAME=Fedora\r\nVERSION='39 (Workstation Edition)'\r\n"),
            "Fedora 39 (Workstation Edition)");
  EXPECT_EQ(OsReleaseName("NAME=\"Alt \\\"Linux\\\" \\\\ x\"\n"), "Alt \"Linux\" \\ x");
  // A key that only starts like another, a commented line, the last of two.
  EXPECT_EQ(OsReleaseName("PRETTY_NAMES=no\n#PRETTY_NAME=no\nPRETTY_NAME=one\nPRETTY_NAME=two\n"), "two");
  EXPECT_EQ(OsReleaseName("NAME=\"Arch Linux\""), "Arch Linux");  // no line end
  EXPECT_EQ(OsReleaseName(""), "Linux");
  EXPECT_EQ(OsReleaseName("ID=debian\nPRETTY_NAME=\n"), "Linux");
}

TEST(SystemName, SessionFollowsThePlatformPluginAndTheSession) {
  EXPECT_EQ(SessionKind("xcb", "x11"), "X11");
  EXPECT_EQ(SessionKind("xcb", ""), "X11");
  EXPECT_EQ(SessionKind("xcb", "wayland"), "X11 (XWayland)");
  EXPECT_EQ(SessionKind("wayland", "wayland"), "Wayland");
  EXPECT_EQ(SessionKind("wayland-egl", ""), "Wayland");
  EXPECT_EQ(SessionKind("offscreen", "x11"), "");
  EXPECT_EQ(Cp1251ToUtf8(SystemCaption("PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n", "xcb", "x11")),
            "ОС: Debian GNU/Linux 12 (bookworm), сеанс X11");
  EXPECT_EQ(Cp1251ToUtf8(SystemCaption("", "offscreen", "")), "ОС: Linux");
  // Characters Windows-1251 lacks become '?'.
  EXPECT_EQ(Cp1251ToUtf8(SystemCaption("PRETTY_NAME=\"Ωmega\"\n", "wayland", "")), "ОС: ?mega, сеанс Wayland");
}

}  // namespace
}  // namespace velmar
