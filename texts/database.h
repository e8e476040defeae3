#pragma once
// The database files: fifteen hand-edited Windows-1251 text files in dbase/
// beside the program. Twelve month files keyed by the old-style day, Easter.db
// keyed by the distance from Pascha, Epiphany.db keyed by a weekday falling on
// an old-style date, Addition.db keyed by an old-style date.
//
// Line grammar, decided by the first character of a line as read: an empty
// line or a leading blank is skipped, ";" starts a comment, "[" a section
// header; anything else is an entry line "C...=text", C being the entry code
// ("0".."6" the service ranks, other characters additional classes). The text
// after the first "=" goes into the RTF unchanged.

#include <array>
#include <string>
#include <string_view>

namespace velmar {

// Month file names indexed 1..12 ("January.db" ...).
extern const std::array<std::string_view, 13> MonthFileNames;

// ProgramDirectory() + "dbase/".
std::string DatabaseDirectory();

// Whether DatabaseDirectory() is there as a folder.
bool DatabaseFolderExists();

// What the program says when the database folder is missing: that it is
// missing, where it was looked for and what the pages lack without it, in
// Russian (Windows-1251).
std::string MissingDatabaseFolderMessage();

// For a reader that could not open its database file: true when the whole
// database folder is missing. The first such call for a folder says so
// (MissingDatabaseFolderMessage, one message) and later ones say nothing,
// until the folder is found again; the caller then leaves out its own
// message about the one file. False when the folder is there: the file
// itself is missing, and the caller says so.
bool MissingDatabaseFolderSaid();

// Pieces of a line the day views take at once (and the searches).
inline constexpr std::size_t kDayViewLineChars = 2047;
inline constexpr std::size_t kSearchLineChars = 1023;

enum class LineKind { Blank, Comment, Header, Entry };

// Kind of a line as read (before trimming). An empty piece is a line that
// starts with a NUL byte: an entry line.
LineKind ClassifyLine(std::string_view line);

// Day number of a month-file header "[N]" (leading blanks and zeros allowed,
// text after "]" ignored); 0 when it has no number.
long MonthSectionDay(std::string_view header);

// Key of an Easter.db header "[-N]" / "[+N]": sign '-' or '+' and the offset
// read from the third and fourth characters (0..99). sign is 0 for a header
// whose second character is neither, which opens no section.
struct EasterKey {
  char sign = 0;
  long offset = 0;
};
EasterKey EasterSectionKey(std::string_view header);

// Key of an Epiphany.db header: weekday digit at position 1, old-style day at
// 5-6 and month at 8-9, read in the line as read (before trimming, its line
// feed included). valid is false for a header shorter than ten characters as
// read, which opens a section that matches no day.
struct EpiphanyKey {
  bool valid = false;
  long weekday = 0, day = 0, month = 0;
};
EpiphanyKey EpiphanySectionKey(std::string_view header);

// The Addition.db header of an old-style date: "[DD.MM]".
std::string AdditionSectionHeader(int day, int month);

}  // namespace velmar
