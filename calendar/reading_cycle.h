#pragma once
// Where a day stands in the yearly cycle of the scripture readings, by the
// practice of the Russian Church. The readings' year runs from Pascha to the
// next Pascha in three parts:
//
//   Pentecostarion  Pascha .. Pentecost, read by the days from Pascha (0..49);
//   after Pentecost the Monday of the Holy Spirit .. the Saturday before the
//                   Sunday of the Publican, read by the weeks after Pentecost
//                   (week N runs from a Monday to the N-th Sunday after
//                   Pentecost; the Sunday of All Saints is the first);
//   Triodion        the Sunday of the Publican .. Holy Saturday, read by the
//                   days before the next Pascha (70..1).
//
// After Pentecost the Apostol and the Gospel have tables of their own, each
// by weeks 1..33 (week 32 ends with the Sunday of Zacchaeus, week 33 is the
// week before the Publican). The Apostol runs by the weeks after Pentecost.
// The Gospel is Matthew's (Mark on the weekdays of weeks 12..17) until the
// Sunday after the Exaltation; from the Monday after it Luke's weeks 18.. are
// read, whatever week after Pentecost that Monday falls in (the Lukan jump:
// a "преступка" when it falls before week 18, an "отступка" after it, when
// the weeks after the 17th before it read Matthew's last weeks again).
//
// Before the Triodion both tables must end with weeks 32 and 33, and the
// weeks from Pentecost to the Publican are 33 to 38 (the Apostol) and, after
// the Lukan jump, 33 to 38 again (the Gospel): the weeks left over are filled
// by stepping back (the winter отступка). The Sundays left over read the
// Sundays before the Canaanite woman's (17), so that the Sundays of the
// Canaanite woman and of Zacchaeus come right before the Triodion; after a
// Lukan преступка these are the very Sundays it passed over. The Gospel's
// weekdays left over read the Mark weeks before week 17 (…, 15, 16) ahead of
// the Mark weeks 30.. of the Lukan table, which continue them (the weekdays
// of week 17 are those of week 32, "read ahead in the Lukan weeks"); the
// Apostol's weekdays go with its Sundays. Should a year have fewer weeks than
// the tables (never in 1800..2100), the last Lukan weeks before week 32 are
// passed over.
//
// The Sunday Matins Gospels run in a cycle of eleven from the Sunday of All
// Saints (the first) to the fifth Sunday of Lent; the Sundays of Pascha to
// Pentecost and Palm Sunday have their own.

#include <cstdint>

#include "calendar/calendar_arithmetic.h"

namespace velmar {

enum class CyclePart { Pentecostarion, AfterPentecost, Triodion };

struct ReadingCycleDay {
  CyclePart part = CyclePart::Pentecostarion;
  int weekday = 0;       // 1 = Sunday .. 7 = Saturday
  // Pentecostarion: days since Pascha, 0..49; Triodion: days before Pascha, 70..1.
  int offset = 0;
  // After Pentecost: the week after Pentecost (1..38), and the weeks of the
  // Apostol's and the Gospel's tables read in it (1..33; 18.. is Luke's).
  int week = 0;
  int apostolWeek = 0;
  int gospelWeek = 0;
  // After Pentecost: the Gospel's weeks left over before the Triodion (the
  // winter отступка when above 0).
  int gospelExtraWeeks = 0;
  // On a Sunday in the cycle of eleven: its Matins Gospel, 1..11; else 0.
  int matinsGospel = 0;
};

// The place of a new-style date of 1800..2100 (argument order day, month,
// year) in the cycle of readings.
ReadingCycleDay ReadingCycle(u16 day, u16 month, u16 year);

// The figures of the readings' year after Pentecost that begins with Pascha
// of the given year: the week after Pentecost in which Luke
// begins (14..20), the Gospel's shift there (18 minus that week: positive
// for a преступка, negative for an отступка), the number of the Sunday of the
// Publican after Pentecost (33..38), and the weeks left over before the
// Triodion for the Apostol and for the Gospel (the winter отступка).
struct ReadingYear {
  int lukanStartWeek = 0;
  int lukanShift = 0;
  int publicanSunday = 0;
  int apostolExtraWeeks = 0;
  int gospelExtraWeeks = 0;
};
ReadingYear ReadingYearOf(int year);

// Serial day (Julian Day Number) of Pascha of a year, any year from 1 on.
long PaschaSerialOf(int year);

}  // namespace velmar
