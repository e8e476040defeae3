#pragma once
// The Paschalion: the dates of Pascha and of the days that hang on it, year by
// year, in either style, for the page's four-year grid and for the report of a
// range of years (old style as far as 326..2326).

#include <array>
#include <string>
#include <string_view>

#include "calendar/calendar_arithmetic.h"

namespace velmar {

// Offsets from Pascha of the grid rows 1..9: the Publican and the Pharisee,
// Meatfare, Forgiveness Sunday, Palm Sunday, Pascha, Mid-Pentecost, Ascension,
// Pentecost, All Saints.
inline constexpr std::array<int, 9> kPaschalionOffsets = {-70, -56, -49, -7, 0, 24, 39, 49, 56};

// Month abbreviations of the Paschalion ("Ян", "Фв", ...), indexed 1..12.
extern const std::array<std::string_view, 13> PaschalionMonthAbbreviations;

struct PaschalionYear {
  std::array<DayMonth, 9> dates;  // in the table's style, by kPaschalionOffsets
  int fastLength = 0;             // days of the Apostles' fast
};

// The dates of one year in the new style or the old style. The fast runs from
// the Monday after All Saints up to and including 28 June old style.
PaschalionYear PaschalionDates(u16 year, bool oldStyle);

// "20 Фв": the day number, a blank and the abbreviation.
std::string PaschalionDateText(const DayMonth& date);

// The eleven rows of one grid column: "2000 г.", nine dates, "16 дн.".
std::array<std::string, 11> PaschalionGridColumn(u16 year, bool oldStyle);

// First year of the page's grid, limited to 1800..2097 so that the four
// columns stay within 1800..2100.
int ClampGridYear(int year);

// Limits of the report: new style first year 1800..2100, old style 326..2326;
// the last year at least the first and at most the style's end.
void ClampPaschalionYears(int& first, int& last, bool oldStyle);

// Writes the report of the years first..last into the open report stream.
void WritePaschalionDocument(u16 first, u16 last, bool oldStyle);

// Writes the report into the report file ("Cannot open temporary output
// file." when it can't be opened).
void WritePaschalionReport(u16 first, u16 last, bool oldStyle);

}  // namespace velmar
