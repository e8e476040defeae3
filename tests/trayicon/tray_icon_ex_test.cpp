#include "trayicon/tray_icon_ex.h"

#include <QMenu>
#include <gtest/gtest.h>
#include <memory>

#include "tests/trayicon/fake_tray_shell.h"
#include "tests/trayicon/tray_test_support.h"
#include "trayicon/image_list.h"
#include "trayicon/package.h"
#include "trayicon/tray_window.h"

namespace lumora {
namespace {

class TrayIconEx : public testing::Test {
 protected:
  void SetUp() override {
    app.icon = SolidIcon(0xFF336699);
    SetApplicationObject(&app);
  }
  void TearDown() override { SetApplicationObject(nullptr); }

  std::unique_ptr<TTrayIconEx> MakeTray(bool designMode = false) {
    auto tray = std::make_unique<TTrayIconEx>(nullptr, &shell, designMode);
    tray->OnLButtonUp = Record("OnLButtonUp");
    tray->OnLButtonDblClick = Record("OnLButtonDblClick");
    tray->OnRButtonUp = Record("OnRButtonUp");
    tray->OnRButtonDblClick = Record("OnRButtonDblClick");
    tray->OnRestore = Record("OnRestore");
    tray->OnMinimize = Record("OnMinimize");
    return tray;
  }

  NotifyEvent Record(std::string name) {
    return [this, name](QObject* sender) {
      journal.push_back(name);
      senders.push_back(sender);
    };
  }

  // The icons the tray was told to show by modify commands, as positions in
  // `list` (-1 for an icon not in it).
  std::vector<int> ShownIndexes() const {
    std::vector<int> shown;
    for (const NotifyIconData& data : shell.Calls(NotifyModify)) {
      if (!(data.flags & NotifyFlagIcon)) continue;
      int index = -1;
      for (int i = 0; i < list.Count(); ++i) {
        if (list.GetIcon(i).cacheKey() == data.icon.cacheKey()) index = i;
      }
      shown.push_back(index);
    }
    return shown;
  }

  void FillList(int count) {
    const QRgb colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    for (int i = 0; i < count; ++i) list.Add(SolidIcon(colours[i]));
  }

  std::vector<std::string> journal;
  std::vector<QObject*> senders;
  JournalApplication app{journal};
  FakeTrayShell shell;
  ImageList list;
};

TEST_F(TrayIconEx, CreationAddsTheApplicationIconAndDestructionDeletesIt) {
  auto tray = MakeTray();
  ASSERT_EQ(shell.calls.size(), 1u);
  const NotifyIconData& add = shell.calls[0].data;
  EXPECT_EQ(shell.calls[0].command, NotifyAdd);
  EXPECT_EQ(add.flags, NotifyFlagMessage | NotifyFlagIcon);
  EXPECT_EQ(add.callbackMessage, 1124u);
  EXPECT_EQ(add.icon.cacheKey(), app.icon.cacheKey());
  EXPECT_EQ(add.Tip(), QString());
  EXPECT_EQ(add.identifier, tray->Identifier());
  EXPECT_EQ(add.window, tray->TrayWindow());
  EXPECT_EQ(WindowName(add.window), "Tray Icon Hidden Window");
  EXPECT_EQ(WindowClassName(add.window), "Tray Icon Hidden Window Class");

  EXPECT_EQ(tray->RestoreOn(), arLeftDblClick);
  EXPECT_EQ(tray->PopupMenuOn(), arNone);
  EXPECT_TRUE(tray->FirstIconAnimate());
  EXPECT_EQ(tray->GetInterval(), 500);
  EXPECT_FALSE(tray->GetAnimate());

  const WindowHandle window = tray->TrayWindow();
  const quintptr identifier = tray->Identifier();
  tray.reset();
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[1].command, NotifyDelete);
  EXPECT_EQ(shell.calls[1].data.identifier, identifier);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(IsWindowClassRegistered("Tray Icon Hidden Window Class"));
}

TEST_F(TrayIconEx, EachMouseMessageRaisesItsOwnEventOnly) {
  auto tray = MakeTray();
  tray->SetRestoreOn(arNone);
  const struct {
    qintptr mouse;
    const char* event;
  } rows[] = {{514, "OnLButtonUp"}, {515, "OnLButtonDblClick"}, {517, "OnRButtonUp"}, {518, "OnRButtonDblClick"},
              {512, nullptr},       {513, nullptr},             {516, nullptr}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.mouse);
    journal.clear();
    senders.clear();
    EXPECT_EQ(shell.Click(tray->Identifier(), row.mouse), 0);
    if (row.event == nullptr) {
      EXPECT_TRUE(journal.empty());
    } else {
      EXPECT_EQ(journal, std::vector<std::string>{row.event});
      EXPECT_EQ(senders, std::vector<QObject*>{tray.get()});
    }
  }
}

TEST_F(TrayIconEx, RestoreComesFirstThenTheMenuThenTheEvent) {
  QMenu menu;
  menu.addAction("Quit");
  QObject::connect(&menu, &QMenu::aboutToShow, [&] { journal.push_back("menu"); });
  auto tray = MakeTray();
  tray->SetPopupMenu(&menu);
  tray->SetRestoreOn(arRightClick);
  tray->SetPopupMenuOn(arRightClick);

  shell.Click(tray->Identifier(), 517);
  EXPECT_EQ(journal, (std::vector<std::string>{"ShowWindow 5", "ShowWindow 9", "SetForeground", "OnRestore", "menu",
                                               "OnRButtonUp"}));
  EXPECT_TRUE(menu.isVisible());
  EXPECT_EQ(menu.pos(), QPoint(120, 80));
  menu.hide();

  journal.clear();
  shell.Click(tray->Identifier(), 515);  // the default restore gesture is no longer set
  EXPECT_EQ(journal, std::vector<std::string>{"OnLButtonDblClick"});
}

TEST_F(TrayIconEx, DefaultGesturesRestoreOnLeftDoubleClickAndShowNoMenu) {
  QMenu menu;
  auto tray = MakeTray();
  tray->SetPopupMenu(&menu);
  shell.Click(tray->Identifier(), 515);
  EXPECT_EQ(journal, (std::vector<std::string>{"ShowWindow 5", "ShowWindow 9", "SetForeground", "OnRestore",
                                               "OnLButtonDblClick"}));
  journal.clear();
  shell.Click(tray->Identifier(), 517);
  EXPECT_EQ(journal, std::vector<std::string>{"OnRButtonUp"});
  EXPECT_FALSE(menu.isVisible());

  tray->SetRestoreOn(arNone);
  tray->SetPopupMenuOn(arNone);
  journal.clear();
  for (qintptr mouse : {514, 515, 517, 518}) shell.Click(tray->Identifier(), mouse);
  EXPECT_EQ(journal, (std::vector<std::string>{"OnLButtonUp", "OnLButtonDblClick", "OnRButtonUp",
                                               "OnRButtonDblClick"}));
  EXPECT_FALSE(menu.isVisible());
}

TEST_F(TrayIconEx, RightDoubleClickRaisesOnlyItsOwnEvent) {
  auto tray = MakeTray();
  tray->OnRButtonDblClick = nullptr;
  shell.Click(tray->Identifier(), 518);
  EXPECT_TRUE(journal.empty());
}

TEST_F(TrayIconEx, MessagesForAnotherIconAreIgnored) {
  auto tray = MakeTray();
  auto other = MakeTray();
  ASSERT_NE(tray->Identifier(), other->Identifier());

  TMessage foreign{1124, other->Identifier(), 514, 77};
  tray->OnMessage(foreign);
  EXPECT_TRUE(journal.empty());
  EXPECT_EQ(foreign.Result, 77);

  shell.Click(other->Identifier(), 514);
  EXPECT_EQ(senders, std::vector<QObject*>{other.get()});

  // An identifier no component has, and a message other than the callback.
  EXPECT_EQ(TTrayIconEx::TrayWindowProc(tray->TrayWindow(), 1124, 987654, 514), 0);
  EXPECT_EQ(SendWindowMessage(tray->TrayWindow(), 513, tray->Identifier(), 514), 0);
  EXPECT_EQ(senders.size(), 1u);
}

TEST_F(TrayIconEx, HintKeepsSixtyThreeCharactersAndResendsOnlyWhenItDiffers) {
  auto tray = MakeTray();
  const QString longText(100, QChar(u'ж'));
  tray->SetHint(longText);
  auto modifies = shell.Calls(NotifyModify);
  ASSERT_EQ(modifies.size(), 1u);
  EXPECT_EQ(modifies[0].flags, NotifyFlagTip);
  EXPECT_EQ(modifies[0].Tip(), QString(63, QChar(u'ж')));
  EXPECT_EQ(tray->Hint(), QString(63, QChar(u'ж')));

  tray->SetHint(longText);  // differs from the stored, shortened text
  EXPECT_EQ(shell.Calls(NotifyModify).size(), 2u);
  tray->SetHint(tray->Hint());
  EXPECT_EQ(shell.Calls(NotifyModify).size(), 2u);

  shell.accept = false;
  tray->SetHint("Днесловник");
  EXPECT_EQ(tray->Hint(), QString(63, QChar(u'ж')));
  shell.accept = true;
  tray->SetHint("Днесловник");
  EXPECT_EQ(tray->Hint(), "Днесловник");
}

TEST_F(TrayIconEx, ToolTipOfAnyLengthGoesBesideTheHint) {
  auto tray = MakeTray();
  tray->SetHint("Днесловник");
  const QString day = QStringLiteral("Днесловник\n") + QString(100, QChar(u'ж'));
  tray->SetToolTip(day);
  auto modifies = shell.Calls(NotifyModify);
  ASSERT_EQ(modifies.size(), 2u);
  EXPECT_EQ(modifies[1].flags, NotifyFlagLongTip);
  EXPECT_EQ(modifies[1].longTip, day);  // whole
  EXPECT_EQ(tray->ToolTip(), day);
  EXPECT_EQ(tray->Hint(), "Днесловник");
  tray->SetToolTip(day);  // the same: nothing sent
  EXPECT_EQ(shell.Calls(NotifyModify).size(), 2u);
  shell.accept = false;
  tray->SetToolTip("other");
  EXPECT_EQ(tray->ToolTip(), day);
}

TEST(NotifyIconDataTip, NeverSplitsASurrogatePair) {
  NotifyIconData data;
  const QString text = QString(62, QChar('a')) + QString::fromUtf8("😀") + "b";
  EXPECT_EQ(data.SetTip(text), QString(62, QChar('a')));
  EXPECT_EQ(data.Tip(), QString(62, QChar('a')));
}

TEST_F(TrayIconEx, AnimationCyclesThroughTheList) {
  FillList(3);
  auto tray = MakeTray();
  tray->SetIcons(&list);
  tray->Loaded();
  EXPECT_EQ(ShownIndexes(), std::vector<int>{0});

  tray->SetAnimate(true);
  EXPECT_TRUE(tray->GetAnimate());
  for (int tick = 0; tick < 5; ++tick) tray->OnAnimation(nullptr);
  EXPECT_EQ(ShownIndexes(), (std::vector<int>{0, 0, 1, 2, 0, 1, 2}));

  tray->SetAnimate(false);
  EXPECT_FALSE(tray->GetAnimate());
  EXPECT_EQ(ShownIndexes().back(), 0);

  shell.calls.clear();
  tray->SetFirstIconAnimate(false);
  tray->SetAnimate(true);
  for (int tick = 0; tick < 4; ++tick) tray->OnAnimation(nullptr);
  EXPECT_EQ(ShownIndexes(), (std::vector<int>{1, 2, 1, 2, 1}));
}

TEST_F(TrayIconEx, AnimationOfOneIconOrNoListShowsNothingNew) {
  auto tray = MakeTray();
  tray->Loaded();
  tray->SetAnimate(true);
  tray->OnAnimation(nullptr);
  EXPECT_FALSE(tray->GetAnimate());
  EXPECT_TRUE(shell.Calls(NotifyModify).empty());
  EXPECT_EQ(tray->CurrentIcon().cacheKey(), app.icon.cacheKey());

  FillList(1);
  tray->SetIcons(&list);
  tray->SetAnimate(true);
  shell.calls.clear();
  for (int tick = 0; tick < 3; ++tick) tray->OnAnimation(nullptr);
  EXPECT_TRUE(shell.calls.empty());

  // Without an image 1 the tray keeps what it shows.
  tray->SetFirstIconAnimate(false);
  tray->SetAnimate(true);
  tray->OnAnimation(nullptr);
  EXPECT_EQ(ShownIndexes(), std::vector<int>{0});
}

TEST_F(TrayIconEx, DesignModeCallsNoShellAndLeavesTheApplicationAlone) {
  bool marker = false;
  app.OnMinimize = [&](QObject*) { marker = true; };
  FillList(2);
  {
    auto tray = MakeTray(true);
    tray->SetIcons(&list);
    tray->Loaded();
    tray->SetHint("Днесловник");
    EXPECT_EQ(tray->Hint(), "Днесловник");
    tray->SetAnimate(true);
    tray->OnAnimation(nullptr);
    EXPECT_FALSE(app.OnRestore);
  }
  EXPECT_TRUE(shell.calls.empty());
  app.OnMinimize(nullptr);
  EXPECT_TRUE(marker);
}

TEST_F(TrayIconEx, ApplicationEventsMinimiseAndRestoreUntilTheComponentGoes) {
  auto tray = MakeTray();
  ASSERT_TRUE(app.OnMinimize);
  // The application raises its event again while the window is minimised.
  app.onShowWindow = [&](int command) {
    if (command == SwMinimize) app.OnMinimize(nullptr);
  };
  app.OnMinimize(nullptr);
  EXPECT_EQ(journal, (std::vector<std::string>{"ShowWindow 6", "ShowWindow 0", "OnMinimize"}));
  journal.clear();
  app.OnRestore(nullptr);
  EXPECT_EQ(journal, (std::vector<std::string>{"ShowWindow 5", "ShowWindow 9", "SetForeground", "OnRestore"}));

  tray.reset();
  EXPECT_FALSE(app.OnMinimize);
  EXPECT_FALSE(app.OnRestore);

  // A component leaves alone the handlers of the one created after it.
  auto first = MakeTray();
  auto second = MakeTray();
  first.reset();
  EXPECT_TRUE(app.OnMinimize);
  EXPECT_TRUE(app.OnRestore);
}

TEST_F(TrayIconEx, AComponentMayBeDeletedByItsOwnHandlers) {
  auto tray = MakeTray().release();
  const quintptr identifier = tray->Identifier();
  tray->OnRestore = [&](QObject*) { delete tray; };
  tray->OnLButtonDblClick = Record("OnLButtonDblClick");
  shell.Click(identifier, 515);
  EXPECT_EQ(journal, (std::vector<std::string>{"ShowWindow 5", "ShowWindow 9", "SetForeground"}));
  EXPECT_EQ(shell.calls.back().command, NotifyDelete);
  EXPECT_EQ(shell.Click(identifier, 514), 0);  // its window is gone
}

// The offscreen platform has no system tray: the real shell refuses, and the
// component carries on without an icon.
// With the desktop's tray (the test bus has none): the icon waits for a tray
// with the hint it was given, and the gestures still work.
TEST_F(TrayIconEx, WithoutASystemTrayTheIconWaitsWithItsHint) {
  TTrayIconEx tray(nullptr);
  tray.OnLButtonUp = Record("OnLButtonUp");
  tray.SetHint("Днесловник");
  EXPECT_EQ(tray.Hint(), QString("Днесловник"));
  TMessage click{1124, tray.Identifier(), 514, 0};
  tray.OnMessage(click);
  EXPECT_EQ(journal, std::vector<std::string>{"OnLButtonUp"});
}

TEST_F(TrayIconEx, HandsItsMenuToTheShellForTraysThatShowMenus) {
  QMenu menu;
  auto tray = MakeTray();
  tray->SetPopupMenu(&menu);
  tray->SetPopupMenu(nullptr);
  ASSERT_EQ(shell.menus.size(), 2u);
  EXPECT_EQ(shell.menus[0], std::make_pair(tray->Identifier(), &menu));
  EXPECT_EQ(shell.menus[1], std::make_pair(tray->Identifier(), static_cast<QMenu*>(nullptr)));
  // A menu is no shell command: the commands stay as they were.
  EXPECT_EQ(shell.calls.size(), 1u);

  auto designed = MakeTray(true);
  designed->SetPopupMenu(&menu);
  EXPECT_EQ(shell.menus.size(), 2u);
}

TEST(Package, RegistersBothComponentsOnTheSystemPage) {
  InitializePackage();
  InitializePackage();
  const std::vector<RegisteredComponent> expected = {{"TTrayIconEx", "System"}, {"TTrayPaintBox", "System"}};
  EXPECT_EQ(RegisteredComponents(), expected);
  FinalizePackage();
  EXPECT_TRUE(RegisteredComponents().empty());
}

}  // namespace
}  // namespace lumora
