#include "trayicon/package.h"

#include <algorithm>

#include "trayicon/tray_icon_ex.h"
#include "trayicon/tray_paint_box.h"
#include "trayicon/tray_window.h"

namespace lumora {

namespace {
std::vector<RegisteredComponent>& Palette() {
  static std::vector<RegisteredComponent> palette;
  return palette;
}
}  // namespace

void RegisterComponent(const QString& className, const QString& page) {
  auto& palette = Palette();
  bool known = std::any_of(palette.begin(), palette.end(),
                           [&](const RegisteredComponent& entry) { return entry.first == className; });
  if (!known) palette.emplace_back(className, page);
}

std::vector<RegisteredComponent> RegisteredComponents() { return Palette(); }

void InitializePackage() {
  trayiconex::Register();
  traypaintbox::Register();
}

void FinalizePackage() {
  Palette().clear();
  UnregisterUnusedWindowClasses();
}

}  // namespace lumora
