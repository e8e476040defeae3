#pragma once
// Pascha and the moveable cycle. Pascha is computed by the Julian computus and
// given in either style; a new-style date is placed in the cycle by the days
// since the latest Pascha and the days still to go before this year's Pascha.
// Thresholds used across the program: DaysBeforePascha 1..48 is Great Lent
// (48 Clean Monday, 1 Holy Saturday), 1..70 the Triodion; DaysSincePascha below
// 7 is Pascha and Bright Week, 39 the Ascension, 49 Pentecost.

#include "calendar/calendar_arithmetic.h"

namespace velmar {

// Old-style day and month of Pascha (22 March .. 25 April), Gauss's rule for
// the Julian calendar; valid for any year.
DayMonth PaschaOldStyle(u16 year);

// New-style day and month of Pascha: the old-style date converted with
// OldToNewStyle in the same year (exact for 1800..2100).
DayMonth PaschaNewStyle(u16 year);

// 0 on Pascha, otherwise the true number of days since the latest Pascha on or
// before the new-style date (up to 384 within 1800..2100). Before this year's
// Pascha the count runs from last year's, taken at its true new-style date.
int DaysSincePascha(u16 day, u16 month, u16 year);

// Days from the new-style date to Pascha of the same year; 0 on Pascha; -1 for
// every date after it.
int DaysBeforePascha(u16 day, u16 month, u16 year);

// Tone of the week 1..8, or 0 from Palm Sunday to Bright Saturday. Each tone
// runs from a Sunday to the following Saturday, tone 1 from Thomas Sunday.
int ToneOfDay(u16 day, u16 month, u16 year);

// 1 on the fourteen fixed great feasts (compared by their old-style date, so
// right in every year of 1800..2100), in Pascha and Bright Week and on the
// Ascension; else 0.
int IsGreatFeast(u16 day, u16 month, u16 year);

// The fourteen fixed great feasts by their old-style day and month.
extern const std::array<DayMonth, 14> GreatFeastDates;

}  // namespace velmar
