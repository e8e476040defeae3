#include "calendar/paschalion.h"

namespace velmar {

const std::array<DayMonth, 14> GreatFeastDates = {{
    {6, 1},    // Theophany
    {2, 2},    // Meeting of the Lord
    {25, 3},   // Annunciation
    {6, 8},    // Transfiguration
    {15, 8},   // Dormition
    {8, 9},    // Nativity of the Theotokos
    {14, 9},   // Exaltation of the Cross
    {21, 11},  // Entry of the Theotokos into the Temple
    {25, 12},  // Nativity of Christ
    {24, 6},   // Nativity of John the Baptist
    {29, 6},   // Apostles Peter and Paul
    {29, 8},   // Beheading of John the Baptist
    {1, 10},   // Protection of the Theotokos
    {1, 1},    // Circumcision of the Lord
}};

namespace {

// Serial day of Pascha of a year, taken at its true date (Julian computus, so
// the serial is exact for any year, whatever the style offset then). The last
// two years asked are remembered: reports ask for the same year many times a
// day, and the result depends on the year alone.
long PaschaSerial(int year) {
  struct Entry {
    int year = -1;
    long serial = 0;
  };
  thread_local Entry recent[2];
  for (const Entry& e : recent)
    if (e.year == year) return e.serial;
  const DayMonth p = PaschaOldStyle(static_cast<u16>(year));
  const long serial = JulianToSerial(year, p.month, p.day);
  recent[1] = recent[0];
  recent[0] = {year, serial};
  return serial;
}

}  // namespace

DayMonth PaschaOldStyle(u16 year) {
  const int a = year % 19;               // [0, 18]
  const int b = year % 4;                // [0, 3]
  const int c = year % 7;                // [0, 6]
  const int d = (19 * a + 15) % 30;      // [0, 29]
  const int e = (2 * b + 4 * c + 6 * d + 6) % 7;  // [0, 6]
  if (d + e + 22 <= 31) return {static_cast<u16>(d + e + 22), 3};
  return {static_cast<u16>(d + e - 9), 4};
}

DayMonth PaschaNewStyle(u16 year) {
  const DayMonth p = PaschaOldStyle(year);
  return OldToNewStyle(p.day, p.month, year);
}

int DaysSincePascha(u16 day, u16 month, u16 year) {
  const long date = GregorianToSerial(year, month, day);
  const long pascha = PaschaSerial(year);
  if (date >= pascha) return static_cast<int>(date - pascha);
  return static_cast<int>(date - PaschaSerial(year - 1));
}

int DaysBeforePascha(u16 day, u16 month, u16 year) {
  const long date = GregorianToSerial(year, month, day);
  // Within 1800..2100 the new-style date of Pascha is its true date; outside,
  // it is the old-style date converted with the offsets of the conversion.
  long pascha;
  if (year >= 1800 && year <= 2100) {
    pascha = PaschaSerial(year);
  } else {
    const DayMonth p = PaschaNewStyle(year);
    pascha = GregorianToSerial(year, p.month, p.day);
  }
  if (date > pascha) return -1;
  return static_cast<int>(pascha - date);
}

int ToneOfDay(u16 day, u16 month, u16 year) {
  const int s = DaysSincePascha(day, month, year);
  if (s < 7) return 0;
  const int before = DaysBeforePascha(day, month, year);
  if (before >= 1 && before <= 7) return 0;
  const int t = (s / 7) % 8;
  return t == 0 ? 8 : t;
}

int IsGreatFeast(u16 day, u16 month, u16 year) {
  const DayMonth old = NewToOldStyle(day, month, year);
  for (const DayMonth& feast : GreatFeastDates)
    if (feast == old) return 1;
  const int s = DaysSincePascha(day, month, year);
  return (s < 7 || s == 39) ? 1 : 0;
}

}  // namespace velmar
