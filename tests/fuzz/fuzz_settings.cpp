// Velmar32.ini and Position.ini readers; the settings then drive a prologue.
// The settings dialog's rewriting of the file: what it wrote reads back.
#include <string_view>

#include "app/settings_writer.h"
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

  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string rewritten =
      RewriteSettingsText(text, {{"RTFSize", "24"}, {"AgiosLine", "No"}, {"ReadingsForm", "Short"}});
  // Where the reader takes every line whole (no NUL, no line over its 1023
  // characters), the new values are what it reads.
  bool plain = text.find('\0') == std::string_view::npos;
  for (std::size_t at = 0; plain && at < rewritten.size();) {
    const std::size_t end = rewritten.find('\n', at);
    plain = (end == std::string::npos ? rewritten.size() : end) - at < 1000;
    at = end == std::string::npos ? rewritten.size() : end + 1;
  }
  fuzz::WriteFile(dir / "Velmar32.ini", reinterpret_cast<const uint8_t*>(rewritten.data()), rewritten.size());
  ResetSettings();
  LoadSettings(window);
  if (plain && (AppSettings.rtfSize != 24 || AppSettings.agiosLine != "No" || !AppSettings.readingsShort))
    __builtin_trap();
  return 0;
}
