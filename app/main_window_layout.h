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

// How the grid fits the font (PaschalionGridFit): the four year columns
// grow from their designed 60 pixels when their texts need more, and the
// caption column gives up what they gained; the long captions show from 450
// pixels on, or from the width where they fit.
struct PaschalionGridFit {
  int yearColumnsGrowth = 0;  // pixels beyond 4 x 60
  int longCaptionsFrom = 450;  // outer width
};
int PaschalionCaptionColumnWidth(int outerWidth, const PaschalionGridFit& fit);
bool LongPaschalionCaptions(int outerWidth, const PaschalionGridFit& fit);

// Caption of grid row 1..10 in Windows-1251 ("Мытаря" or "Неделя о мытаре и
// фарисее", ...); empty for any other row.
std::string_view PaschalionRowCaption(int row, bool longCaption);

}  // namespace velmar
