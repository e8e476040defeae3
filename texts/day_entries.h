#pragma once
// Rendering a day's commemorations into the open report stream: the
// Easter.db sections for the day's distance from Pascha, the Epiphany.db
// sections for its weekday and old-style date, and the month file's sections
// for its old-style day, each entry with its service-rank sign; the day's
// fast note from the rules file Fasting.db follows them. A fourth
// operation looks the old-style date up in Addition.db for the page's
// additional-information button.
//
// Problems (a file that can't be opened, a used entry without "=") are shown
// as messages; the document goes on.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "texts/day_views.h"

namespace velmar {

// The search highlight: while on, the first occurrence of HighlightText in a
// month-file entry is marked red and bold. The Saints page switches it on for
// the one day it has rendered.
extern bool SearchHighlight;
extern std::string HighlightText;  // Windows-1251, at most 62 characters

// Additional-information slots indexed by view kind 1..3 (index 0 unused).
extern std::array<AdditionalInfoSlot, 4> AdditionalInfo;

// Entries of the Easter.db sections for a new-style date.
void WriteEasterEntries(std::uint16_t day, std::uint16_t month, std::uint16_t year);

// Entries of the Epiphany.db sections for a weekday (1 = Sunday .. 7) falling
// on an old-style day and month.
void WriteEpiphanyEntries(int weekday, std::uint16_t oldDay, std::uint16_t oldMonth);

// Entries of the month file of an old-style month under an old-style day.
void WriteMonthEntries(std::uint16_t oldDay, std::uint16_t oldMonth);

// One commemoration of a day, as the documents show it.
struct DayEntry {
  char code;          // '0'..'6', or an additional class of the month files
  std::string text;   // the text after the first "=", Windows-1251 with its RTF markup
  bool additional;    // a month-file entry of a class listed in AppSettings.menologion
};

// The commemorations of a new-style date that its documents show, in their
// order: Easter.db, Epiphany.db, then the month file's entries that the
// settings admit. Problems are shown as the writers show them.
std::vector<DayEntry> DayEntries(std::uint16_t day, std::uint16_t month, std::uint16_t year);

// The scripture readings of a new-style date (texts/day_readings.h), when the
// readings' tables are there: each reading group as an entry of its own, a
// calendar note (code "0", sign ·), after the commemorations.
void WriteReadingsEntries(std::uint16_t day, std::uint16_t month, std::uint16_t year);

// The fast note of a new-style date (FastNote of texts/fasting_rules.h), when
// there is one, as the day's last entry: a calendar note (code "0", sign ·),
// with the separator and paragraph of every entry.
void WriteFastNoteEntry(std::uint16_t day, std::uint16_t month, std::uint16_t year);

// The entry codes "0".."6" among the entries the three writers show for a
// new-style date (Easter.db, Epiphany.db for its weekday and old-style date,
// the month file for its old-style day), as bits (bit c for code c). Shows no
// messages and writes nothing; a file that can't be opened adds no codes.
unsigned DayEntryCodes(std::uint16_t day, std::uint16_t month, std::uint16_t year);

// Sets the slot of a view kind from Addition.db for an old-style date.
void LoadAdditionalInfo(ViewKind kind, std::uint16_t oldDay, std::uint16_t oldMonth);

}  // namespace velmar
