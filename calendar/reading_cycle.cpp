#include "calendar/reading_cycle.h"

#include "calendar/paschalion.h"

namespace velmar {
namespace {

constexpr int kTriodionDays = 70;        // the Publican's Sunday is 70 days before Pascha
constexpr int kPentecost = 49;
constexpr int kAllSaints = 56;           // the first Sunday after Pentecost
constexpr int kZacchaeusWeek = 32;       // the tables' week before the Publican's
constexpr int kLastMarkWeekBefore = 16;  // the Gospel's weekday block ends with it
constexpr int kLastLukanWeekdayBlock = 29;  // Luke's weekdays before Mark resumes (week 30)

// Weekday of a serial day: 1 = Sunday .. 7 = Saturday (serial 0 was a Monday).
int WeekdayOfSerial(long serial) { return static_cast<int>((serial + 1) % 7) + 1; }

// The week after Pentecost (1..) of a serial day of it: week 1 starts on the
// Monday of the Holy Spirit, 50 days after Pascha, and ends on All Saints.
int WeekAfterPentecost(long pascha, long serial) {
  return static_cast<int>((serial - pascha - (kPentecost + 1)) / 7) + 1;
}

// The Apostol's table week read in week k after Pentecost (k ≤ publican - 1),
// the Publican's Sunday being the publican-th Sunday.
int ApostolWeek(int k, int publican) {
  const int extra = publican - 1 - kZacchaeusWeek;  // weeks left over, 0..5
  if (k >= publican) return kZacchaeusWeek + 1;
  if (k == publican - 1) return kZacchaeusWeek;
  if (extra > 0 && k >= publican - 1 - extra) return 17 - (publican - 2 - k);
  return k;
}

// The Gospel's table week read in week k after Pentecost, on a Sunday or on
// a weekday; Luke begins in week lukan with the shift 18 - lukan.
int GospelWeek(int k, int weekday, int publican, int lukan) {
  // Weeks after the 17th before Luke begins step back to Matthew's last ones.
  if (k < lukan) return k <= 17 ? k : 17 - (lukan - 1 - k);
  if (k >= publican) return kZacchaeusWeek + 1;
  if (k == publican - 1) return kZacchaeusWeek;
  const int shift = 18 - lukan;
  const int extra = publican + shift - 1 - kZacchaeusWeek;  // may be negative
  const int count = k + shift;                              // Luke's own count
  if (weekday == 1) {
    // Sundays: Luke's up to the 31st, then the Matthew Sundays ending with 17.
    if (extra > 0 && k >= publican - 1 - extra) return 17 - (publican - 2 - k);
    return count;
  }
  // Weekdays: Luke's up to the 29th, then the Mark weeks ending with 16, then
  // Mark's weeks 30.. of the Lukan table.
  if (count <= kLastLukanWeekdayBlock + (extra < 0 ? extra : 0)) return count;
  if (extra > 0 && count <= kLastLukanWeekdayBlock + extra)
    return kLastMarkWeekBefore - (kLastLukanWeekdayBlock + extra - count);
  return count - extra;
}

}  // namespace

long PaschaSerialOf(int year) {
  const DayMonth p = PaschaOldStyle(static_cast<u16>(year));
  return JulianToSerial(year, p.month, p.day);
}

ReadingYear ReadingYearOf(int year) {
  const long pascha = PaschaSerialOf(year);
  ReadingYear y;
  // The Exaltation, 14 September old style, and the Sunday after it.
  const long exaltation = JulianToSerial(year, 9, 14);
  const int w = WeekdayOfSerial(exaltation);
  const long sundayAfter = exaltation + (w == 1 ? 7 : 8 - w);
  y.lukanStartWeek = WeekAfterPentecost(pascha, sundayAfter + 1);
  y.lukanShift = 18 - y.lukanStartWeek;
  const long publican = PaschaSerialOf(year + 1) - kTriodionDays;
  y.publicanSunday = static_cast<int>((publican - (pascha + kAllSaints)) / 7) + 1;
  y.apostolExtraWeeks = y.publicanSunday - 1 - kZacchaeusWeek;
  y.gospelExtraWeeks = y.publicanSunday + y.lukanShift - 1 - kZacchaeusWeek;
  return y;
}

ReadingCycleDay ReadingCycle(u16 day, u16 month, u16 year) {
  ReadingCycleDay r;
  const long date = GregorianToSerial(year, month, day);
  r.weekday = WeekdayOfSerial(date);
  int paschaYear = year;
  long pascha = PaschaSerialOf(year);
  if (date < pascha) {
    if (pascha - date <= kTriodionDays) {
      r.part = CyclePart::Triodion;
      r.offset = static_cast<int>(pascha - date);
    }
    paschaYear = year - 1;
    pascha = PaschaSerialOf(paschaYear);
  }
  const long since = date - pascha;
  if (r.part != CyclePart::Triodion) {
    if (since <= kPentecost) {
      r.part = CyclePart::Pentecostarion;
      r.offset = static_cast<int>(since);
      return r;
    }
    const ReadingYear y = ReadingYearOf(paschaYear);
    r.part = CyclePart::AfterPentecost;
    r.week = WeekAfterPentecost(pascha, date);
    r.apostolWeek = ApostolWeek(r.week, y.publicanSunday);
    r.gospelWeek = GospelWeek(r.week, r.weekday, y.publicanSunday, y.lukanStartWeek);
    r.gospelExtraWeeks = y.gospelExtraWeeks;
  }
  // Sundays from All Saints (the first) to the fifth of Lent, Palm Sunday
  // being a week before Pascha.
  if (r.weekday == 1 && since >= kAllSaints && !(r.part == CyclePart::Triodion && r.offset <= 7))
    r.matinsGospel = static_cast<int>((since - kAllSaints) / 7) % 11 + 1;
  return r;
}

}  // namespace velmar
