#pragma once
// The tables of the scripture readings, read from four hand-edited files of
// dbase/ in the line grammar of the other database files (Windows-1251; blank
// lines and lines starting with a blank skipped; ";" a comment; "[" a section
// header; other lines entries "key=value"); each file's header explains its
// sections:
//
//   Zachala.db          the zachala of the Gospel ([Мф.] [Мк.] [Лк.] [Ин.]) and
//                       of the Apostol ([Ап.]): "87=17:26-37", "297=2 Тим. 3:16-4:4"
//   Readings.db         the moveable cycle: the days from Pascha [+0]..[+49],
//                       the days before Pascha [-70]..[-1], the weeks after
//                       Pentecost of the Apostol [Ап N], of Matthew [Ев N] and
//                       of Luke [Лк N], the Sunday Matins Gospels [Утр]
//   ReadingsSpecial.db  the special Saturdays and Sundays: "[Сб 07.09-13.09] label"
//                       (a weekday in an old-style window) or "[-57] label"
//   ReadingsMenaion.db  the fixed commemorations: "[08.09] label" (old style)
//
// A reading is one or more pieces "Book [zachalo] [range]" joined by "; ":
// "Лк. 87", "Лк. 54 10:38-42, 11:27-28", "Ис. 1:1-20"; a range is spans
// "C:V", "C:V-V" or "C:V-C:V" joined by ", ". A piece with a zachalo and no
// range reads the zachalo as Zachala.db gives it.
//
// A bad line is reported as "Error in input file NAME." and passed over; a
// reference to a zachalo that Zachala.db lacks is reported with its name and
// passed over. Without Zachala.db there are no readings at all; without one of
// the others, none of its part.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

inline constexpr const char* kZachalaFileName = "Zachala.db";
inline constexpr const char* kReadingsFileName = "Readings.db";
inline constexpr const char* kSpecialReadingsFileName = "ReadingsSpecial.db";
inline constexpr const char* kMenaionReadingsFileName = "ReadingsMenaion.db";

// A run of verses: chapter:verse to chapter:verse.
struct VerseSpan {
  int fromChapter = 0, fromVerse = 0, toChapter = 0, toVerse = 0;
  friend bool operator==(const VerseSpan&, const VerseSpan&) = default;
};

// A book of the Bible as the church calendars abbreviate it.
struct BibleBook {
  std::string_view name;  // "2 Тим." (Windows-1251)
  std::string_view osis;  // "2Tim": the book's name in the SWORD modules
  enum class Part { OldTestament, Gospel, Apostol } part;
};

// The book of an abbreviation such as "2 Тим.", nullptr when it is none.
const BibleBook* FindBibleBook(std::string_view name);

// One piece of a reading: a book, its zachalo (0 for the Old Testament) and
// the verses read.
struct ScripturePiece {
  const BibleBook* book = nullptr;
  int zachalo = 0;
  std::vector<VerseSpan> spans;
  bool fromMiddle = false;  // starts after the zachalo's first verse ("от полу")
};

using Reading = std::vector<ScripturePiece>;

// Where in the services a reading stands.
enum class ReadingSlot { Matins, Hour1, Hour3, Hour6, Hour9, Vespers, Apostol, Gospel };

struct SlotReading {
  ReadingSlot slot;
  Reading reading;
};

// The fixed commemorations' rank of the readings' rules: a feast of the Lord
// (its readings replace the ordinary ones) or a great feast of the Theotokos.
enum class FeastKind { None, Lord, Theotokos };

struct CommemorationReadings {
  std::string label;   // printed before its readings ("Свт.", "Богородицы")
  FeastKind feast = FeastKind::None;
  int service = 0;     // its service rank as the month files' codes: 2..6, 0 unknown
  std::vector<SlotReading> readings;
};

struct SpecialDayReadings {
  std::string label;
  int weekday = 0;              // 1 = Sunday .. 7 = Saturday; 0 with an offset
  int fromDay = 0, fromMonth = 0, toDay = 0, toMonth = 0;  // old-style window
  bool moveable = false;
  int offset = 0;               // days from Pascha: -N before it, +N after
  bool replacesOrdinary = false;  // "Ряд=нет"
  // "Ряд=без отступки": the ordinary reading is read only in a year without
  // the winter отступка; in a year with it, this day's reading replaces it.
  bool ordinaryOnlyWithoutStepBack = false;
  std::vector<SlotReading> readings;
};

// The four tables as read; every reference resolved against the zachala.
struct ReadingsTables {
  bool available = false;  // Zachala.db was read
  // The moveable cycle.
  std::array<std::vector<SlotReading>, 50> sincePascha;   // [+0]..[+49]
  std::array<std::vector<SlotReading>, 71> beforePascha;  // [-1]..[-70] at 1..70
  // Weeks 1..33 of the tables, weekdays 1 (Sunday) .. 7.
  std::array<std::array<Reading, 8>, 34> apostolWeeks;
  std::array<std::array<Reading, 8>, 34> gospelWeeks;  // 1..17 Matthew, 18..33 Luke
  std::array<Reading, 12> sundayMatins;                 // 1..11
  std::vector<SpecialDayReadings> special;
  // Old-style month * 32 + day -> the commemorations of that date in file order.
  std::map<int, std::vector<CommemorationReadings>> menaion;
  int badLines = 0;
};

// Reads the four files of a database directory (ending with "/"); problems
// are shown as messages.
ReadingsTables ReadReadingsTables(const std::string& directory);

// The tables of the program's database directory: read afresh outside a
// DatabaseSnapshot scope, once for the whole of one inside it. Empty (not
// available) when Readings=No.
const ReadingsTables& CurrentReadingsTables();

// Parses a reading as the files write it, without resolving zachala ranges;
// false when it is malformed.
bool ParseReading(std::string_view text, Reading& reading);

}  // namespace velmar
