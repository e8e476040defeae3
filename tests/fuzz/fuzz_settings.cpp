// Velmar32.ini and Position.ini readers; the settings then drive a prologue.
#include "fuzz_support.h"

namespace {
struct Window : velmar::SettingsWindow {
  int w = 0, h = 0, l = 0, t = 0;
  int OuterWidth() const override { return w; }
  int OuterHeight() const override { return h; }
  int Left() const override { return l; }
  int Top() const override { return t; }
  void SetOuterWidth(int v) override { w = v; }
  void SetOuterHeight(int v) override { h = v; }
  void SetLeft(int v) override { l = v; }
  void SetTop(int v) override { t = v; }
  void SelectPage(velmar::Page) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velmar;
  const auto& dir = fuzz::ProgramDir();
  fuzz::WriteFile(dir / "Velmar32.ini", data, size);
  fuzz::WriteFile(dir / "Position.ini", data, size);
  ResetSettings();
  Window window;
  LoadWindowPosition(window);
  LoadSettings(window);
  fuzz::IntoMemory([] {
    WriteReportHeader();
    WriteSignLegend();
  });
  return 0;
}
