#include "trayicon/tray_paint_box.h"

#include <gtest/gtest.h>
#include <memory>

#include "tests/trayicon/fake_tray_shell.h"
#include "tests/trayicon/tray_test_support.h"

namespace lumora {
namespace {

class TrayPaintBox : public testing::Test {
 protected:
  FakeTrayShell shell;
  std::unique_ptr<TTrayPaintBox> box = std::make_unique<TTrayPaintBox>(nullptr, &shell);
};

TEST_F(TrayPaintBox, TicksWithoutOnTimerDoNothing) {
  box->SetAnimate(true);
  shell.calls.clear();
  box->OnAnimation(nullptr);
  box->OnAnimation(nullptr);
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_TRUE(box->GetAnimate());
}

TEST_F(TrayPaintBox, AnimatesWithoutAnImageList) {
  EXPECT_EQ(box->Icons(), nullptr);
  box->SetAnimate(true);
  EXPECT_TRUE(box->GetAnimate());
  box->SetAnimate(false);
  EXPECT_FALSE(box->GetAnimate());
  EXPECT_EQ(shell.calls.size(), 1u);  // only the add: no icon changes
}

TEST_F(TrayPaintBox, TheTimerIsHeldOffWhileOnTimerPaints) {
  std::vector<bool> runningInside;
  int depth = 0;
  box->SetInterval(2);
  box->OnTimer = [&](QObject* sender) {
    EXPECT_EQ(sender, box.get());
    ++depth;
    runningInside.push_back(box->GetAnimate() || depth > 1);
    box->GetPaintIcon()->GetCanvas().SetPixel(0, 0, 0xFF0000);
    RunEventLoop(30);  // far longer than the interval
    --depth;
  };

  box->SetAnimate(true);
  box->OnAnimation(nullptr);
  EXPECT_EQ(runningInside, std::vector<bool>{false});
  EXPECT_TRUE(box->GetAnimate());
  ASSERT_FALSE(shell.Calls(NotifyModify).empty());
  EXPECT_EQ(shell.Calls(NotifyModify).back().icon.cacheKey(), box->GetPaintIcon()->Handle().cacheKey());

  box->SetAnimate(false);
  box->OnAnimation(nullptr);
  EXPECT_FALSE(box->GetAnimate());
}

TEST_F(TrayPaintBox, TheRunningTimerRaisesOnTimerAndOnTimerMayStopIt) {
  int ticks = 0;
  box->SetInterval(5);
  box->OnTimer = [&](QObject*) {
    if (++ticks == 2) box->SetAnimate(false);
  };
  box->SetAnimate(true);
  RunEventLoop(1000, [&] { return ticks >= 2; });
  EXPECT_EQ(ticks, 2);
  EXPECT_FALSE(box->GetAnimate());
  RunEventLoop(30);
  EXPECT_EQ(ticks, 2);
}

TEST_F(TrayPaintBox, AfterClearShowsThePaintIcon) {
  TIconEx* icon = box->GetPaintIcon();
  icon->GetCanvas().FillRect(QRect(0, 0, 8, 8), 0x0000FF);
  icon->Clear();
  box->AfterClear();
  const auto modifies = shell.Calls(NotifyModify);
  ASSERT_EQ(modifies.size(), 1u);
  EXPECT_EQ(modifies[0].flags, NotifyFlagIcon);
  EXPECT_EQ(modifies[0].icon.cacheKey(), icon->Handle().cacheKey());
}

TEST_F(TrayPaintBox, OnTimerMayDeleteTheComponent) {
  TTrayPaintBox* raw = box.release();
  raw->OnTimer = [&](QObject*) { delete raw; };
  raw->SetAnimate(true);
  raw->OnAnimation(nullptr);
  EXPECT_EQ(shell.calls.back().command, NotifyDelete);
}

}  // namespace
}  // namespace lumora
