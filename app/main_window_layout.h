#pragma once
// The main window's layout rules that depend on its outer width: column 0 of
// the Paschalion grid and the row captions written into it (short ones for a
// narrow window, long ones from 450 pixels on).

#include <string_view>

namespace velmar {

// Width in pixels of the grid's caption column at construction.
inline constexpr int kPaschalionCaptionColumnDesignWidth = 104;

// Width in pixels of the caption column for a window of the given outer width:
// the width minus 265 (106 for the designed 371).
int PaschalionCaptionColumnWidth(int outerWidth);

// Whether a window of the given outer width shows the long captions (450 or more).
bool LongPaschalionCaptions(int outerWidth);

// Caption of grid row 1..10 in Windows-1251 ("Мытаря" or "Неделя о мытаре и
// фарисее", ...); empty for any other row.
std::string_view PaschalionRowCaption(int row, bool longCaption);

}  // namespace velmar
