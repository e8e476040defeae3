#pragma once
// The tray icon's tooltip: what the day is, at a glance, without opening the
// window.

#include <cstdint>
#include <string>
#include <string_view>

namespace velmar {

// Longest line of the day's commemoration in the tooltip, in characters; a
// longer one is cut at a word and ends with "…".
inline constexpr std::size_t kToolTipLineChars = 100;

// The tooltip of a new-style date of 1800..2100 (argument order day, month,
// year), UTF-8, one part a line: "Днесловник"; the weekday and the date in
// both styles ("Вторник, 7 января 2025 г. (25 декабря ст.ст.)"); the day's
// chief commemoration; its fast note. chief and fast are plain UTF-8 text,
// either may be empty (its line is left out); blanks and line breaks in them
// are run together.
std::string TrayToolTip(std::uint16_t day, std::uint16_t month, std::uint16_t year,
                        std::string_view chief, std::string_view fast);

}  // namespace velmar
