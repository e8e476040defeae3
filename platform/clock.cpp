#include "platform/clock.h"

#include <ctime>

namespace velmar {
namespace {
std::optional<CivilDate> g_fixed;
}  // namespace

CivilDate Today() {
  if (g_fixed) return *g_fixed;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  CivilDate d;
  d.day = static_cast<std::uint16_t>(local.tm_mday);
  d.month = static_cast<std::uint16_t>(local.tm_mon + 1);
  d.year = static_cast<std::uint16_t>(local.tm_year + 1900);
  return d;
}

void SetFixedToday(std::optional<CivilDate> date) { g_fixed = date; }

}  // namespace velmar
