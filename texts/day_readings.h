#pragma once
// The scripture readings of a day, by the tables of texts/readings_tables.h
// and the rules of the Russian Church:
//
// - the ordinary reading is that of the moveable cycle (calendar/reading_cycle.h):
//   the day of the Pentecostarion or the Triodion, or the day of the weeks
//   after Pentecost in the Apostol's and the Gospel's tables;
// - a special Saturday or Sunday is read after it, or instead of it where its
//   table says so;
// - a feast of the Lord replaces the ordinary reading, and so does a great
//   feast of the Theotokos on a weekday; other commemorations are read after
//   it. The ordinary weekday reading a feast displaces is read on the day
//   before «под зачало», or on the day after when the day before is a Sunday
//   or can't take it (no Liturgy, or itself displaced); else it is left out;
// - in Great Lent there is no Liturgy from Monday to Friday: the weekdays
//   keep the readings of the Hours and Vespers; a commemoration with
//   polyeleos or vigil (from the second week) is read at the Presanctified
//   Liturgy, and the Annunciation at its Liturgy. In Holy Week and Bright Week
//   only the great feasts are read beside the days' own readings; on Sundays
//   only commemorations with polyeleos or vigil and the great feasts; on
//   Wednesday and Friday of Cheesefare week (no Liturgy) only the great feasts;
// - one Matins Gospel: the day's own, else a great feast's, else the
//   Sunday's of the cycle of eleven, else a commemoration's (the highest
//   rank); in Bright Week only the day's own (the Paschal Matins reads none).

#include <cstdint>
#include <string>
#include <vector>

#include "calendar/calendar_arithmetic.h"
#include "texts/readings_tables.h"

namespace velmar {

// The readings of one source, in the order of the day's readings.
struct ReadingGroup {
  enum class Source { Ordinary, Moved, Special, Commemoration };
  Source source = Source::Ordinary;
  bool inPlaceOfOrdinary = false;  // a feast's readings that replace the ordinary ones
  std::string label;               // a special day's or commemoration's (Windows-1251)
  Date movedFrom;                  // Moved: the day whose ordinary reading it is
  int matinsGospel = 0;            // the Sunday cycle's number of its Matins Gospel
  FeastKind feast = FeastKind::None;  // Commemoration: its feast kind and service rank
  int service = 0;
  std::vector<SlotReading> readings;
};

// The readings of a new-style date of 1800..2100 (argument order day, month,
// year) from the given tables; empty when they are not available.
std::vector<ReadingGroup> DayReadings(const ReadingsTables& tables, u16 day, u16 month, u16 year);

// The day's readings as the documents write them, one Windows-1251 entry text
// each, in order: the Matins Gospel («Утр.: …»), the Hours («На 6-м часе: …»),
// Vespers («На веч.: …»; after the Liturgy on Pascha), the Liturgy: the
// ordinary («Ап.: … Ев.: …»), a moved reading («Ряд. за пятницу (под зачало):
// …»), special days and commemorations («Свт.: … .»). The full form is that of
// the Russian Church's printed calendars («2 Тим., 297 зач., III, 16 – IV, 4»);
// the short one («2 Тим. 3:16–4:4») is taken when shortForm.
std::vector<std::string> ReadingEntryTexts(const std::vector<ReadingGroup>& groups, bool shortForm);

// One entry of the day's readings: its text, as ReadingEntryTexts gives it,
// and the readings it names, in the order of the text.
struct ReadingEntry {
  std::string text;
  std::vector<SlotReading> readings;
};
std::vector<ReadingEntry> ReadingEntries(const std::vector<ReadingGroup>& groups, bool shortForm);

// The entry texts of a date from the program's tables and settings
// (Readings=, ReadingsForm=); empty without the tables.
std::vector<std::string> DayReadingTexts(u16 day, u16 month, u16 year);

// The entries of a date from the program's tables and settings, as
// DayReadingTexts; empty without the tables.
std::vector<ReadingEntry> DayReadingEntries(u16 day, u16 month, u16 year);

// One piece in the forms of the documents: "2 Тим., 297 зач., III, 16 – IV, 4"
// or, short, "2 Тим. 3:16–4:4"; and its range in the command-line tool's form
// "3:16-4:4", "10:38-42, 11:27-28".
std::string PieceText(const ScripturePiece& piece, bool shortForm);
std::string RangeText(const std::vector<VerseSpan>& spans);

// The command-line names of a kind of reading and of a slot.
enum class ReadingKind { Daily, Special, Feast, Hours, Vespers, Matins };
ReadingKind KindOf(const ReadingGroup& group, ReadingSlot slot);
const char* ReadingKindName(ReadingKind kind);
const char* ReadingSlotName(ReadingSlot slot);

}  // namespace velmar
