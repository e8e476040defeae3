#include "trayicon/system_tray_shell.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <gtest/gtest.h>

#include "tests/trayicon/tray_test_support.h"
#include "trayicon/tray_window.h"

namespace lumora {
namespace {

// What each kind of tray's activation stands for. An XEmbed tray sends
// clicks; a StatusNotifierItem host sends its primary action as Trigger,
// which must restore as the XEmbed double click does, and its secondary
// action as MiddleClick, which the component doesn't know.
TEST(SystemTrayShell, MapsActivationsByTheKindOfTray) {
  struct Row {
    TrayKind kind;
    QSystemTrayIcon::ActivationReason reason;
    qintptr mouse;
  };
  const Row rows[] = {
      {TrayKind::XEmbed, QSystemTrayIcon::Trigger, 514},
      {TrayKind::XEmbed, QSystemTrayIcon::DoubleClick, 515},
      {TrayKind::XEmbed, QSystemTrayIcon::Context, 517},
      {TrayKind::XEmbed, QSystemTrayIcon::MiddleClick, 0},
      {TrayKind::XEmbed, QSystemTrayIcon::Unknown, 0},
      {TrayKind::StatusNotifier, QSystemTrayIcon::Trigger, 515},
      {TrayKind::StatusNotifier, QSystemTrayIcon::DoubleClick, 515},
      {TrayKind::StatusNotifier, QSystemTrayIcon::Context, 517},
      {TrayKind::StatusNotifier, QSystemTrayIcon::MiddleClick, 0},
      {TrayKind::StatusNotifier, QSystemTrayIcon::Unknown, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.reason));
    EXPECT_EQ(MouseMessageFor(row.kind, static_cast<int>(row.reason)), row.mouse);
  }
}

qintptr Ignore(WindowHandle, unsigned, quintptr, qintptr) { return 0; }

// The test runs with no session bus and no X server: no tray at all.
class SystemTrayShellWithoutTray : public testing::Test {
 protected:
  void SetUp() override {
    RegisterWindowClass("ShellTestClass", &Ignore);
    window = CreateHiddenWindow("ShellTestClass", "ShellTest");
  }
  void TearDown() override {
    DestroyHiddenWindow(window);
    UnregisterWindowClass("ShellTestClass");
  }

  NotifyIconData Record(quintptr identifier, unsigned flags) const {
    NotifyIconData data;
    data.window = window;
    data.identifier = identifier;
    data.flags = flags;
    data.callbackMessage = 1124;
    data.icon = SolidIcon(0xFF336699);
    return data;
  }

  WindowHandle window = 0;
};

TEST_F(SystemTrayShellWithoutTray, AcceptsIconsThatWaitForATray) {
  EXPECT_EQ(AvailableTrayKind(), TrayKind::None);
  EXPECT_FALSE(TrayIconsReachable());
  SystemTrayShell shell;
  EXPECT_TRUE(shell.Execute(NotifyAdd, Record(7, NotifyFlagMessage | NotifyFlagIcon)));
  EXPECT_FALSE(shell.IsInTray(7));
  NotifyIconData tip = Record(7, NotifyFlagTip);
  tip.SetTip("Днесловник");
  EXPECT_TRUE(shell.Execute(NotifyModify, tip));
  QMenu menu;
  shell.SetMenu(7, &menu);
  EXPECT_FALSE(shell.Execute(NotifyAdd, Record(7, NotifyFlagIcon)));  // known already
  EXPECT_TRUE(shell.Execute(NotifyDelete, Record(7, 0)));
  EXPECT_FALSE(shell.Execute(NotifyDelete, Record(7, 0)));
  EXPECT_FALSE(shell.Execute(NotifyModify, Record(7, NotifyFlagIcon)));
  EXPECT_EQ(ProcessTrayKind(), TrayKind::None);
}

TEST_F(SystemTrayShellWithoutTray, RefusesAnIconWithoutItsWindowAndUnknownCommands) {
  SystemTrayShell shell;
  NotifyIconData lost = Record(8, NotifyFlagIcon);
  lost.window = window + 1000;
  EXPECT_FALSE(shell.Execute(NotifyAdd, lost));
  EXPECT_FALSE(shell.Execute(3, Record(8, NotifyFlagIcon)));
  shell.SetMenu(8, nullptr);  // an unknown icon: nothing happens
  EXPECT_FALSE(shell.IsInTray(8));
}

}  // namespace
}  // namespace lumora
