#pragma once
// Moveable-day titles: the name of a new-style date in the moveable cycle (a
// day of the Triodion, Holy Week, Pascha, the Pentecostarion or a week after
// Pentecost), one line of Windows-1251 text of at most 48 characters.

#include <cstddef>
#include <string>

#include "calendar/calendar_arithmetic.h"

namespace velmar {

inline constexpr std::size_t kTitleBufferSize = 64;

// Writes the zero-terminated title of a new-style date of 1800..2100 into the
// caller's 64-character buffer; every date has a title, so the buffer is
// always overwritten.
void MoveableDayTitle(u16 day, u16 month, u16 year, char (&buffer)[kTitleBufferSize]);

// The same title as a string.
std::string MoveableDayTitle(u16 day, u16 month, u16 year);

}  // namespace velmar
