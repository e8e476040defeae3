#pragma once
// The system clock seam: the local date. The window reads the real clock;
// tests and the CLI's --date fix it.

#include <cstdint>
#include <optional>

namespace velmar {

struct CivilDate {
  std::uint16_t day = 1;    // 1..31
  std::uint16_t month = 1;  // 1..12
  std::uint16_t year = 2000;
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// Today's local date (new style): the fixed date when one is set.
CivilDate Today();

// Fixes the date Today() returns; std::nullopt returns to the system clock.
void SetFixedToday(std::optional<CivilDate> date);

}  // namespace velmar
